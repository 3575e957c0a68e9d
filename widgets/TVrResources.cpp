#include "TVrResources.h"

// The resources live in this static library; make sure they are registered before first use.
static void InitWidgetResources() {
    Q_INIT_RESOURCE(tkm_widgets);
}

QImage TVrResources::Bitmap(const QString& Name) {
    static const bool initialised = (InitWidgetResources(), true);
    (void)initialised;
    QImage image(QStringLiteral(":/tkm_widgets/") + Name, "XPM");
    return image;
}
