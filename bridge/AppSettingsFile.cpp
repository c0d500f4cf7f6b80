#include "bridge/AppSettingsFile.h"

#include <QDir>
#include <QSettings>

QVariantList AppSettingsFile::load(const QSettings& settings)
{
    QVariantList entries;
    const int total = qBound(0, settings.value("common/total", 0).toInt(), maxEntries);
    for (int i = 0; i < total; ++i)
        entries.append(settings.value(QString("common/%1").arg(i), 0));
    return entries;
}

void AppSettingsFile::save(QSettings& settings, const QVariantList& entries)
{
    settings.setValue("common/total", entries.size());
    for (int i = 0; i < entries.size(); ++i)
        settings.setValue(QString("common/%1").arg(i), entries.at(i));
}

bool AppSettingsFile::hasSkinChoice(const QString& imageFolder)
{
    return QDir(imageFolder).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size() > 1;
}
