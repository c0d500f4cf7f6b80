#include "bridge/ProfileStore.h"

#include "storage/DataFileCheck.h"
#include "storage/FileReplace.h"
#include "storage/SettingsCommit.h"

#include <QFileInfo>
#include <QSettings>

#include <utility>

ProfileStore::~ProfileStore()
{
    qDeleteAll(profileSettings);
}

void ProfileStore::open(int count, const QString& folder)
{
    for (int i = 1; i <= count; ++i) {
        const QString file = QString("%1/p%2.bin").arg(folder).arg(i);
        // A profile file that exists but cannot be read would be written
        // over by the first change of the profile: it is moved aside first,
        // and the profile starts empty.
        const QString problem = QFileInfo::exists(file) ? DataFileCheck::unreadable(file) : QString();
        if (!problem.isEmpty()) {
            const QString kept = DataFileCheck::setAside(file);
            DataFileCheck::report("profile file", file, problem,
                                  kept.isEmpty() ? QString("The profile is used as it is.")
                                                 : QString("It is kept as \"%1\" and the profile starts "
                                                           "from the keyboard's and the program's defaults.").arg(kept));
        }
        profileSettings.append(new QSettings(DataFileCheck::parsable(file), QSettings::IniFormat));
    }
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

bool ProfileStore::setValue(const QString& key, const QVariant& value)
{
    return setValues({{key, value}});
}

bool ProfileStore::setValues(const QList<QPair<QString, QVariant>>& values)
{
    QSettings* s = current();
    if (!s)
        return false;
    for (const auto& v : values)
        s->setValue(v.first, v.second);
    if (holds > 0) {
        if (!heldChanges.contains(s))
            heldChanges.append(s);
        return true;
    }
    return SettingsCommit::commit(*s);
}

void ProfileStore::holdWrites()
{
    ++holds;
}

bool ProfileStore::releaseWrites()
{
    if (holds == 0 || --holds > 0)
        return true;
    bool written = true;
    for (QSettings* s : std::exchange(heldChanges, {}))
        written = SettingsCommit::commit(*s) && written;
    return written;
}

QVariant ProfileStore::value(const QString& key, const QVariant& defaultValue) const
{
    const QSettings* s = current();
    return s ? s->value(key, defaultValue) : defaultValue;
}

bool ProfileStore::replaceWith(int profile, const QString& source, QString* problem)
{
    if (profile < 0 || profile >= profileSettings.size())
        return false;
    // What cannot be read would make the profile unreadable too.
    const QString unreadable = DataFileCheck::unreadable(source);
    if (!unreadable.isEmpty()) {
        if (problem)
            *problem = unreadable;
        return false;
    }
    QSettings* old = profileSettings.at(profile);
    const QString file = old->fileName();
    SettingsCommit::commit(*old);
    heldChanges.removeAll(old);
    if (!FileReplace::copyOverOrReport(source, file))
        return false;
    // The old object has nothing left to write back; it goes at once so that
    // no later write-back of it can reach the new file.
    delete old;
    profileSettings[profile] = new QSettings(file, QSettings::IniFormat);
    return true;
}

bool ProfileStore::flush(int profile)
{
    return profile >= 0 && profile < profileSettings.size()
           && SettingsCommit::commit(*profileSettings.at(profile));
}
