#pragma once

#include <QString>
#include <QStringList>
#include <QVariantList>

// The macro files of a folder: one INI file "<name>.bin" per macro, with
// group "config" (index = bound device slot or -1, total, repeat, did) and
// the actions under "macro/0" … Names come from the user; a name that would
// reach outside the folder is refused by every operation.
class MacroLibrary
{
public:
    explicit MacroLibrary(const QString& folder);

    // Bound on "config/total".
    static constexpr int maxActions = 4096;

    static bool isSafeName(const QString& name);
    // False when the name is refused.
    bool pathOf(const QString& name, QString* path) const;
    bool exists(const QString& name) const;

    // "*.bin" entries sorted by name, case-insensitive, with extension.
    QStringList fileNames() const;
    // First free "Macro. NNN" name; the file is created unbound.
    QString create();
    // A new unbound file named base, or "base (2)", "base (3)" … when that is
    // taken; empty when base is refused or the file could not be written.
    QString createNamed(const QString& base);
    bool remove(const QString& name);
    bool rename(const QString& oldName, const QString& newName);

    QStringList load(const QString& name) const;
    // What save() returns when nothing was saved.
    static constexpr int notSaved = -2;
    // Replaces the actions; returns the bound slot (or -1), or notSaved when
    // the file does not exist or could not be written whole (it then stays
    // as it was).
    int save(const QString& name, const QStringList& actions);
    QVariantList loadConfig(const QString& name) const;
    // The macro bound to slot (its name without ".bin"), the first by name
    // when several claim it; empty when none does.
    QString nameBoundTo(int slot) const;
    // False when the file is refused, missing or could not be written.
    bool setConfig(const QString& name, const QVariantList& config, uint deviceIndex);

    // Makes the folder hold one file per device slot 0 … maxMacro-1: blank
    // files that are unbound (a missing index counts as unbound), out of
    // range or a second file of a slot go; such files that hold actions are
    // kept, unbound, with one line on standard error naming each that lost
    // its claim; free slots get a new file. Does nothing for a maxMacro
    // below 1. Returns the removed paths.
    // Files that cannot be read as macro files are listed in `unreadable`.
    QStringList reconcile(int maxMacro, QStringList* unreadable = nullptr);

    static QString generatedName(int n);

private:
    bool writeNewFile(const QString& path, int index) const;

    QString folder;
};
