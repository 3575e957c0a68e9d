#include "app/PortPath.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace PortPath {

QString problem(const QString& path) {
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) == -1)
        return QString::fromLocal8Bit(std::strerror(errno));
    if (!S_ISCHR(info.st_mode))
        return QStringLiteral("not a serial device");
    return {};
}

} // namespace PortPath
