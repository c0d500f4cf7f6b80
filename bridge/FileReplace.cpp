#include "bridge/FileReplace.h"

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
    return out.commit();
}
