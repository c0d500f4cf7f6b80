#include "storage/FileReplace.h"

#include "storage/StorageReport.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

bool FileReplace::copyOver(const QString& source, const QString& target)
{
    if (QFileInfo(source).canonicalFilePath() == QFileInfo(target).canonicalFilePath()
        && QFileInfo::exists(target)) {
        return true;
    }
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    const QFileInfo replaced(target);
    const QDateTime replacedTime = replaced.exists() ? replaced.lastModified() : QDateTime();
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    while (!in.atEnd()) {
        const QByteArray chunk = in.read(64 * 1024);
        if (chunk.isEmpty() && in.error() != QFile::NoError) {
            out.cancelWriting();
            return false;
        }
        if (out.write(chunk) != chunk.size()) {
            out.cancelWriting();
            return false;
        }
    }
    // The save file's commit renames the copy into place even when its last
    // buffered write fails (a full disk): the buffer is written out here,
    // where a failure is seen, and the copy is dropped.
    if (!out.flush()) {
        out.cancelWriting();
        return false;
    }
    if (!out.commit())
        return false;

    // Settings objects cache a file by name, size and modification time: a
    // replacement of the same size written within the same clock tick as the
    // file it replaces would look unchanged to them. It is always made newer.
    if (replacedTime.isValid() && QFileInfo(target).lastModified() <= replacedTime) {
        QFile written(target);
        if (written.open(QIODevice::ReadWrite))
            written.setFileTime(replacedTime.addSecs(1), QFileDevice::FileModificationTime);
    }
    return true;
}

bool FileReplace::copyOverOrReport(const QString& source, const QString& target)
{
    if (copyOver(source, target))
        return true;
    StorageReport::instance().writeFailed(target, "the copy could not be written (disk full or read-only)");
    return false;
}
