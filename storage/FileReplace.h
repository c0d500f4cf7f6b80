#pragma once

#include <QString>

// Replaces a file with a copy of another without ever leaving the target
// half-written or deleted: the copy is written beside the target and renamed
// over it. On any failure the target stays as it was. The replacement is
// always newer than the file it replaced.
namespace FileReplace {
bool copyOver(const QString& source, const QString& target);
// copyOver, with a failure told to the storage report (the target's folder
// could not keep it).
bool copyOverOrReport(const QString& source, const QString& target);
}
