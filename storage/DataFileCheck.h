#pragma once

#include <QString>

// Whether a data file can be read as a settings file at all, and the one
// line on standard error that tells the user when one cannot be used.
namespace DataFileCheck {

// Empty when the file can be read as a settings file; otherwise why not:
// missing, not a file, not readable, not in the settings format, or holding
// a value the settings reader must not be given (see StreamedValueScan).
QString unreadable(const QString& path);

// Whether the file holds a value the settings reader must not be given.
bool holdsStreamedValue(const QString& path);

// The path to hand to the settings reader: `path` itself, or an empty path
// (which reads as an empty file) when the file holds such a value.
QString parsable(const QString& path);

// "The <what> "<path>" cannot be used: <problem>. <consequence>"
void report(const QString& what, const QString& path, const QString& problem,
            const QString& consequence);

// Moves an unreadable file out of the way as "<path>.unreadable" (or
// ".unreadable-2", … when that is taken), so that nothing writes over what
// it holds. Returns the new path, or an empty string when it could not move.
QString setAside(const QString& path);

}
