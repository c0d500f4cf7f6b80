#pragma once

#include <QObject>
#include <QSet>
#include <QString>

// Where the program's own files could not be written: a folder that is
// read-only or missing, a full disk, a write cut short. Each folder is told
// once per run on standard error ("which folder, that changes will not be
// kept"); the window listens to changesNotKept to say it on screen.
class StorageReport : public QObject
{
    Q_OBJECT
public:
    static StorageReport& instance();

    // A file could not be written (whole); the change it carried is lost.
    void writeFailed(const QString& path, const QString& problem);

    // Looks at the folders the program writes (settings and macros under
    // modulesFolder) and reports the first one that cannot be written.
    // True when all of them can.
    bool checkWritable(const QString& modulesFolder);

    // The folder of the last report, empty when nothing failed.
    QString lastFolder() const { return folder; }
    int reports() const { return told.size(); }
    // Forgets what was told (tests).
    void reset();

signals:
    // Queued to the window: `folder` cannot keep the program's changes.
    void changesNotKept(const QString& folder, const QString& problem);

private:
    StorageReport() = default;
    void tell(const QString& folder, const QString& problem);

    QSet<QString> told;
    QString folder;
};
