#pragma once

#include <QString>

class QSettings;

// Writes what a settings object holds to its file so that afterwards the
// file holds all of it or is exactly what it was before.
//
// The settings class replaces its file through a save file whose last
// buffered write is not checked: on a full disk it renames an empty or cut
// copy into place and reports success. So the file is first kept under a
// second name (a hard link where the file system has them, else a copy),
// the settings are written, the result is checked against what the object
// holds, and a short or failed write is undone by putting the kept file back.
namespace SettingsCommit {

// True when the object's file now holds every key the object holds (or the
// object has no file). False, with the file as it was and why in `problem`,
// when it could not be written whole. Every failure is also told to the
// storage report.
bool commit(QSettings& settings, QString* problem = nullptr);

// Whether the file at path reads as a whole write of `keys` keys by the
// settings class: it ends with a line end and has one entry line per key.
bool isWholeWrite(const QString& path, int keys);

}
