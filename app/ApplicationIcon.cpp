#include "app/ApplicationIcon.h"

#include <QSize>
#include <QString>

QIcon ApplicationIcon() {
    // The resources of a static library are registered by hand.
    Q_INIT_RESOURCE(tkm_app_icons);
    QIcon builtIn;
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256})
        builtIn.addFile(QStringLiteral(":/tkm_app/icons/%1.png").arg(size), QSize(size, size));
    return QIcon::fromTheme(QStringLiteral("tkm9214-utility"), builtIn);
}
