#pragma once

#include <QStringList>

// Lock files that a killed process left beside the program's data files
// ("p1.bin.lock", …). A lock that no running process holds would make the
// next write of its file wait for the toolkit's stale-lock time-out; the
// program owns its data folders, so such locks are removed before any file
// there is opened. A lock held by a live process is left alone.
namespace StaleLockFiles {
// Removes the unheld "*.lock" and "*.rmlock" files of the folders; returns
// the removed paths.
QStringList removeUnheld(const QStringList& folders);
}
