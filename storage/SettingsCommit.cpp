#include "storage/SettingsCommit.h"

#include "storage/FileReplace.h"
#include "storage/StorageReport.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QSettings>

#include <atomic>

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
// Only its ASCII counts: a string the settings class read from a file in one
// encoding it may write back in another (bytes that were not UTF-8, say),
// while a write cut short loses whole characters, keys and lines.
QString flat(const QVariant& value)
{
    QString text;
    if (value.type() == QVariant::List || value.type() == QVariant::StringList) {
        QStringList parts;
        for (const QVariant& v : value.toList())
            parts << v.toString();
        text = parts.join(QChar(0x1F));
    } else {
        text = value.toString();
    }
    static const QRegularExpression beyondAscii("[^\\x00-\\x7e]");
    text.remove(beyondAscii);
    return text;
}

// The keys a reader of the file can reach. A key read from a file keeps its
// own spelling ("g/10/", "g\\10"), but every lookup goes by the key without
// empty parts and with '/' between them: a key spelt otherwise either is
// the same as a well-spelt one or cannot be reached at all (and the settings
// class cannot even write it back as it was).
QSet<QString> reachableKeys(const QSettings& settings)
{
    QSet<QString> keys;
    for (QString key : settings.allKeys()) {
        key.replace('\\', '/');
        key = key.split('/', Qt::SkipEmptyParts).join('/');
        if (settings.contains(key))
            keys.insert(key);
    }
    return keys;
}

// Whether the file holds exactly what the object holds, read by a reader of
// its own. The settings class shares one parse per file name and takes it
// again when the file's size and time look unchanged, which two writes in
// the same millisecond can give: each check reads under a name of its own.
bool fileHolds(const QString& path, const QSettings& settings)
{
    if (!QFileInfo::exists(path))
        return settings.allKeys().isEmpty();
    // Nothing can have been written in a folder that cannot be written.
    if (!QFileInfo(QFileInfo(path).absolutePath()).isWritable())
        return false;
    static std::atomic<unsigned> checks{0};
    const QString check = QString("%1.check%2").arg(path).arg(++checks);
    if (!keepUnderSecondName(path, check))
        return SettingsCommit::isWholeWrite(path, settings.allKeys().size());
    bool same = true;
    {
        QSettings written(check, QSettings::IniFormat);
        // Every key a reader of the object reaches is in the file with the
        // same value. The file may have more: a key the object holds under
        // a spelling no lookup reaches ("/a") is written under one it does;
        // a write cut short never adds keys. Nor does a format error count
        // by itself: such a key may leave the settings class a line it
        // wrote but cannot parse again.
        const QSet<QString> keys = reachableKeys(settings);
        same = written.status() != QSettings::AccessError;
        for (auto key = keys.cbegin(); same && key != keys.cend(); ++key)
            same = written.contains(*key) && flat(written.value(*key)) == flat(settings.value(*key));
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
