#include "storage/SettingsCommit.h"

#include "storage/FileReplace.h"
#include "storage/StorageReport.h"

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

namespace {

// A value as text, lists flattened, so that what the object holds (numbers,
// lists of numbers) compares with what a reader of the file gets (text).
QString flat(const QVariant& value)
{
    if (value.type() == QVariant::List || value.type() == QVariant::StringList) {
        QStringList parts;
        for (const QVariant& v : value.toList())
            parts << v.toString();
        return parts.join(QChar(0x1F));
    }
    return value.toString();
}

// Whether the file holds exactly what the object holds, read by a reader of
// its own: the settings class shares one cache per file name, so the file is
// read under a second name.
bool fileHolds(const QString& path, const QSettings& settings)
{
    if (!QFileInfo::exists(path))
        return settings.allKeys().isEmpty();
    // Nothing can have been written in a folder that cannot be written.
    if (!QFileInfo(QFileInfo(path).absolutePath()).isWritable())
        return false;
    const QString check = path + ".check";
    if (!keepUnderSecondName(path, check))
        return SettingsCommit::isWholeWrite(path, settings.allKeys().size());
    bool same = true;
    {
        QSettings written(check, QSettings::IniFormat);
        const QStringList keys = settings.allKeys();
        same = written.status() == QSettings::NoError && written.allKeys().size() == keys.size();
        for (int i = 0; same && i < keys.size(); ++i)
            same = flat(written.value(keys.at(i))) == flat(settings.value(keys.at(i)));
    }
    QFile::remove(check);
    return same;
}

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
    if (!fileHolds(path, settings)) {
        const QFileInfo file(path);
        why = (file.exists() && !file.isWritable()) || !QFileInfo(file.absolutePath()).isWritable()
                  ? "the file or its folder is read-only"
                  : "the disk is full or the write was cut short";
    }
    if (why.isEmpty()) {
        if (haveKept)
            QFile::remove(kept);
        return true;
    }
    if (haveKept) {
        if (!putBack(kept, path))
            why += "; the file could not be put back as it was";
        // Nothing was written: both names were still the same file.
        QFile::remove(kept);
    } else if (!existed) {
        // A new file that is not whole is no file at all.
        QFile::remove(path);
    } else {
        why += "; no copy of the file could be kept";
    }
    if (problem)
        *problem = why;
    StorageReport::instance().writeFailed(path, why);
    return false;
}
