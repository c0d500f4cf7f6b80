#pragma once

#include <QList>
#include <QPair>
#include <QVariant>

class QSettings;

// One settings file per on-board profile (p1.bin, p2.bin, …) and the current
// profile. Every profile-scoped read and write goes to the current profile;
// a profile number outside the opened files is never used as an index.
class ProfileStore
{
public:
    ProfileStore() = default;
    ~ProfileStore();
    ProfileStore(const ProfileStore&) = delete;
    ProfileStore& operator=(const ProfileStore&) = delete;

    // Opens <folder>/p1.bin … p<count>.bin.
    void open(int count, const QString& folder);

    int count() const { return profileSettings.size(); }
    // False, changing nothing, when the profile does not exist.
    bool select(int profile);
    QSettings* current() const;

    // Replaces the file of a profile with a copy of source, then reopens it.
    // False, with the profile as it was, when the profile does not exist,
    // the source cannot be read as a settings file (why goes to `problem`)
    // or the copy fails.
    bool replaceWith(int profile, const QString& source, QString* problem = nullptr);
    // Writes pending changes of an open profile to its file; false when it
    // could not be written whole.
    bool flush(int profile);

    // Each write goes to the current profile's file at once; false when the
    // file could not be written whole (it then stays as it was). Between
    // holdWrites() and the matching releaseWrites() the writes are kept in
    // memory (reads see them) and go to the files once, at the release.
    bool setValue(const QString& key, const QVariant& value);
    bool setValues(const QList<QPair<QString, QVariant>>& values);
    QVariant value(const QString& key, const QVariant& defaultValue = QVariant()) const;

    // Holds nest; the outermost release writes every profile changed while
    // held. False when a file could not be written whole.
    void holdWrites();
    bool releaseWrites();

    quint8 curProfile = 0;

private:
    QList<QSettings*> profileSettings;
    int holds = 0;
    QList<QSettings*> heldChanges;
};
