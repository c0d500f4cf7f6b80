#include "bridge/ProfileStore.h"

#include <QSettings>

ProfileStore::~ProfileStore()
{
    qDeleteAll(profileSettings);
}

void ProfileStore::open(int count, const QString& folder)
{
    for (int i = 1; i <= count; ++i)
        profileSettings.append(new QSettings(QString("%1/p%2.bin").arg(folder).arg(i),
                                             QSettings::IniFormat));
}

bool ProfileStore::select(int profile)
{
    if (profile < 0 || profile >= profileSettings.size())
        return false;
    curProfile = quint8(profile);
    return true;
}

QSettings* ProfileStore::current() const
{
    return curProfile < profileSettings.size() ? profileSettings.at(curProfile) : nullptr;
}

void ProfileStore::setValue(const QString& key, const QVariant& value)
{
    if (QSettings* s = current())
        s->setValue(key, value);
}

QVariant ProfileStore::value(const QString& key, const QVariant& defaultValue) const
{
    const QSettings* s = current();
    return s ? s->value(key, defaultValue) : defaultValue;
}
