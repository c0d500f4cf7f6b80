#include "bridge/AppSettingsFile.h"

#include "storage/DataFileCheck.h"
#include "storage/SettingsCommit.h"

#include <QDir>
#include <QSettings>

QSettings* AppSettingsFile::open(const QString& path, QObject* parent)
{
    return new QSettings(DataFileCheck::parsable(path), QSettings::IniFormat, parent);
}

QVariantList AppSettingsFile::load(const QSettings& settings)
{
    QVariantList entries;
    const int total = qBound(0, settings.value("common/total", 0).toInt(), maxEntries);
    for (int i = 0; i < total; ++i)
        entries.append(settings.value(QString("common/%1").arg(i), 0));
    return entries;
}

QString AppSettingsFile::problem(const QString& path)
{
    const QString unreadable = DataFileCheck::unreadable(path);
    if (!unreadable.isEmpty())
        return unreadable;
    bool ok = false;
    const int total = QSettings(path, QSettings::IniFormat).value("common/total").toInt(&ok);
    if (!ok || total < 1)
        return "common/total is missing, not a number or below 1";
    return {};
}

bool AppSettingsFile::save(QSettings& settings, const QVariantList& entries)
{
    settings.setValue("common/total", entries.size());
    for (int i = 0; i < entries.size(); ++i)
        settings.setValue(QString("common/%1").arg(i), entries.at(i));
    return SettingsCommit::commit(settings);
}

bool AppSettingsFile::hasSkinChoice(const QString& imageFolder)
{
    return QDir(imageFolder).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size() > 1;
}
