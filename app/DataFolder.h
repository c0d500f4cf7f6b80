#pragma once

#include <QString>
#include <QStringList>

// Where the program keeps everything it reads and writes: a folder whose
// modules/ subfolder holds settings, profiles, macros, languages, sounds and
// skins, made the working directory at start.
//
// Run from a build tree or an unpacked copy, that is the executable's own
// folder, as long as modules/ beside the executable is writable. An installed
// copy (executable in a system folder, shipped data read-only in
// <prefix>/share/q3config/modules) keeps a per-user folder instead,
// $XDG_DATA_HOME/q3config (~/.local/share/q3config by default), laid out from
// the shipped data at every start.
namespace DataFolder {

struct Choice
{
    QString workingDirectory; // the folder holding the modules/ in use
    QString shippedModules;   // the installed copy's read-only data; empty when not per-user
    bool perUser = false;
};

// Shipped data of an installed copy whose executable lies in executableDir.
QString installedDataOf(const QString& executableDir);

// The per-user folder: userDataHome/q3config. userDataHome is
// $XDG_DATA_HOME (when absolute) or ~/.local/share.
QString userDataHome();

Choice choose(const QString& executableDir, const QString& userDataHome);

// Files the program writes itself: its settings, the profile files and the
// macros. The layout adds them when missing or empty (left so by a write
// that failed) and never overwrites one that holds anything.
bool isWrittenByProgram(const QString& relativePath);

// Copies the shipped data folder into targetModules: what is missing is
// added, shipped files the program never writes are refreshed when their
// content differs, the program's own files are left alone. Every profile of
// the hardware definition gets a copy of the factory profile when it has no
// file yet. Returns false, with one line per problem in errors, when some
// file could not be written; everything else is still laid out.
bool layOut(const QString& shippedModules, const QString& targetModules, QStringList* errors);

// At start: chooses the folder, lays out the per-user data when installed
// and makes the folder current. Problems go to standard error; the program
// then runs with what it has.
Choice prepare(const QString& applicationFilePath);

}
