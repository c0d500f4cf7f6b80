#include "storage/StaleLockFiles.h"

#include <QDir>
#include <QFile>

#ifdef Q_OS_WIN
namespace {
// A lock file that its owner holds open cannot be deleted.
bool removeIfUnheld(const QString& path)
{
    return QFile::remove(path);
}
}
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {
// The owner of a live lock holds an exclusive native lock on the file for
// as long as it holds the lock; taking that lock proves there is none.
bool removeIfUnheld(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_RDWR | O_CLOEXEC);
    if (fd < 0)
        return false;
    bool removed = false;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
        struct flock region = {};
        region.l_type = F_WRLCK;
        region.l_whence = SEEK_SET;
        if (::fcntl(fd, F_SETLK, &region) == 0)
            removed = ::unlink(name.constData()) == 0;
    }
    ::close(fd);
    return removed;
}
}
#endif

QStringList StaleLockFiles::removeUnheld(const QStringList& folders)
{
    QStringList removed;
    for (const QString& folder : folders) {
        const QDir dir(folder);
        for (const QString& file : dir.entryList({"*.lock", "*.rmlock"}, QDir::Files | QDir::Hidden)) {
            const QString path = dir.filePath(file);
            if (removeIfUnheld(path))
                removed << path;
        }
    }
    return removed;
}
