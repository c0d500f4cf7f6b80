#include "storage/DataFileCheck.h"
#include "storage/StorageLog.h"

#include "storage/StreamedValueScan.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

QString DataFileCheck::unreadable(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return "the file is missing";
    if (!info.isFile())
        return "it is not a file";
    QFile probe(path);
    if (!probe.open(QIODevice::ReadOnly))
        return "the file cannot be read";
    // Every data file is text; the settings reader would make keys of
    // whatever lines binary bytes happen to form.
    QByteArray text = probe.read(64 * 1024);
    for (const char c : text) {
        const uchar u = uchar(c);
        if (u == 0 || (u < 0x20 && u != '\t' && u != '\n' && u != '\r') || u == 0x7F)
            return "the file is not text";
    }
    text.append(probe.readAll());
    probe.close();
    if (StreamedValueScan::found(text))
        return "it holds a value in Qt's binary form, which this program never writes";
    QSettings ini(path, QSettings::IniFormat);
    if (ini.status() != QSettings::NoError)
        return "the file is not in the settings format";
    return {};
}

bool DataFileCheck::holdsStreamedValue(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && StreamedValueScan::found(file.readAll());
}

QString DataFileCheck::parsable(const QString& path)
{
    return holdsStreamedValue(path) ? QString() : path;
}

void DataFileCheck::report(const QString& what, const QString& path, const QString& problem,
                           const QString& consequence)
{
    qCWarning(q3data).noquote() << QString("The %1 \"%2\" cannot be used: %3. %4")
                                .arg(what, path, problem, consequence);
}

QString DataFileCheck::setAside(const QString& path)
{
    QString target = path + ".unreadable";
    for (int n = 2; QFileInfo::exists(target) && n < 1000; ++n)
        target = QString("%1.unreadable-%2").arg(path).arg(n);
    return QFile::rename(path, target) ? target : QString();
}
