#include "bridge/SettingsCommit.h"

#include "bridge/FileReplace.h"
#include "bridge/StorageReport.h"

#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include <cstdio>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace {

// A second name for the file's present content, taking no space where the
// file system can link.
bool keepUnderSecondName(const QString& path, const QString& kept)
{
    QFile::remove(kept);
#ifdef _WIN32
    if (CreateHardLinkW(reinterpret_cast<LPCWSTR>(QFileInfo(kept).absoluteFilePath().utf16()),
                        reinterpret_cast<LPCWSTR>(QFileInfo(path).absoluteFilePath().utf16()), nullptr))
        return true;
#else
    if (::link(QFile::encodeName(path).constData(), QFile::encodeName(kept).constData()) == 0)
        return true;
#endif
    return FileReplace::copyOver(path, kept);
}

bool putBack(const QString& kept, const QString& path)
{
    // rename() replaces the target in one step where the platform can.
    if (std::rename(QFile::encodeName(kept).constData(), QFile::encodeName(path).constData()) == 0)
        return true;
    return QFile::remove(path) && QFile::rename(kept, path);
}

}

bool SettingsCommit::isWholeWrite(const QString& path, int keys)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray text = file.readAll();
    if (text.isEmpty())
        return keys == 0;
    if (!text.endsWith('\n'))
        return false;
    int entries = 0;
    for (const QByteArray& raw : text.split('\n')) {
        const QByteArray line = raw.trimmed();
        if (!line.isEmpty() && !line.startsWith('[') && !line.startsWith(';') && line.contains('='))
            ++entries;
    }
    return entries == keys;
}

bool SettingsCommit::commit(QSettings& settings, QString* problem)
{
    const QString path = settings.fileName();
    if (path.isEmpty())
        return true;
    const QString kept = path + ".kept";
    const bool existed = QFileInfo::exists(path);
    const bool haveKept = existed && keepUnderSecondName(path, kept);

    settings.sync();
    QString why;
    if (settings.status() == QSettings::AccessError)
        why = QFileInfo(path).exists() && !QFileInfo(path).isWritable()
                  ? "the file is read-only"
                  : "the file or its folder cannot be written";
    else if (settings.status() == QSettings::FormatError)
        why = "the file is not in the settings format";
    else if (!isWholeWrite(path, settings.allKeys().size()))
        why = "the disk is full or the write was cut short";

    if (why.isEmpty()) {
        if (haveKept)
            QFile::remove(kept);
        return true;
    }
    if (haveKept) {
        if (!putBack(kept, path))
            why += "; the file could not be put back as it was";
    } else if (!existed) {
        // A new file that is not whole is no file at all.
        QFile::remove(path);
    } else if (!isWholeWrite(path, settings.allKeys().size())) {
        why += "; no copy of the file could be kept";
    }
    if (problem)
        *problem = why;
    StorageReport::instance().writeFailed(path, why);
    return false;
}
