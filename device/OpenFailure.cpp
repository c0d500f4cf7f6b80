#include "device/OpenFailure.h"

#include <cerrno>
#include <cstring>

#ifndef _WIN32
#include <unistd.h>
#endif

OpenFailure::Reason OpenFailure::classify(int savedErrno, const QString& path)
{
    if (savedErrno == EACCES || savedErrno == EPERM)
        return Reason::PermissionDenied;
#ifndef _WIN32
    if (path.startsWith("/dev/")) {
        const QByteArray node = path.toLocal8Bit();
        errno = 0;
        if (::access(node.constData(), R_OK | W_OK) != 0 && (errno == EACCES || errno == EPERM))
            return Reason::PermissionDenied;
    }
#else
    Q_UNUSED(path);
#endif
    return Reason::Other;
}

QString OpenFailure::describe(Reason reason, int savedErrno)
{
    switch (reason) {
    case Reason::None:
        return QStringLiteral("opens");
    case Reason::PermissionDenied:
        return QStringLiteral("permission denied");
    case Reason::Other:
        break;
    }
    if (savedErrno != 0)
        return QString::fromLocal8Bit(std::strerror(savedErrno));
    return QStringLiteral("cannot be opened");
}
