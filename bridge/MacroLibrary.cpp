#include "bridge/MacroLibrary.h"

#include "storage/DataFileCheck.h"
#include "storage/SettingsCommit.h"
#include "storage/StorageLog.h"

#include <QDir>
#include <QFile>
#include <QSettings>

#include <vector>

MacroLibrary::MacroLibrary(const QString& folder)
    : folder(folder)
{
}

bool MacroLibrary::isSafeName(const QString& name)
{
    // A leading "." would make a hidden file, which the listing never shows.
    if (name.isEmpty() || name.startsWith('.') || name.contains("..") || name.contains('/')
        || name.contains('\\') || name.contains(':')) {
        return false;
    }
    for (const QChar c : name) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            return false;
    }
    return true;
}

bool MacroLibrary::pathOf(const QString& name, QString* path) const
{
    if (!isSafeName(name))
        return false;
    *path = folder + "/" + name + ".bin";
    return true;
}

bool MacroLibrary::exists(const QString& name) const
{
    QString path;
    return pathOf(name, &path) && QFile::exists(path);
}

QStringList MacroLibrary::fileNames() const
{
    return QDir(folder).entryList({"*.bin"}, QDir::Files, QDir::Name | QDir::IgnoreCase);
}

QString MacroLibrary::generatedName(int n)
{
    return QString("Macro. %1").arg(n, 3, 10, QChar('0'));
}

bool MacroLibrary::writeNewFile(const QString& path, int index) const
{
    QSettings ini(path, QSettings::IniFormat);
    ini.setValue("config/index", index);
    ini.setValue("config/total", 0);
    ini.setValue("config/repeat", 1);
    ini.setValue("config/did", -1);
    return SettingsCommit::commit(ini);
}

QString MacroLibrary::create()
{
    QDir().mkpath(folder);
    for (int n = 1;; ++n) {
        const QString name = generatedName(n);
        const QString path = folder + "/" + name + ".bin";
        if (!QFile::exists(path)) {
            writeNewFile(path, -1);
            return name;
        }
    }
}

QString MacroLibrary::createNamed(const QString& base)
{
    if (!isSafeName(base))
        return {};
    QDir().mkpath(folder);
    for (int n = 1;; ++n) {
        const QString name = n == 1 ? base : QString("%1 (%2)").arg(base).arg(n);
        const QString path = folder + "/" + name + ".bin";
        if (QFile::exists(path))
            continue;
        if (writeNewFile(path, -1))
            return name;
        QFile::remove(path);
        return {};
    }
}

bool MacroLibrary::remove(const QString& name)
{
    QString path;
    return pathOf(name, &path) && QFile::exists(path) && QFile::remove(path);
}

bool MacroLibrary::rename(const QString& oldName, const QString& newName)
{
    QString from, to;
    if (!pathOf(oldName, &from) || !pathOf(newName, &to))
        return false;
    return QFile::rename(from, to);
}

QStringList MacroLibrary::load(const QString& name) const
{
    QString path;
    if (!pathOf(name, &path) || !QFile::exists(path))
        return {};
    QSettings ini(DataFileCheck::parsable(path), QSettings::IniFormat);
    const int total = qBound(0, ini.value("config/total", 0).toInt(), maxActions);
    QStringList actions;
    for (int i = 0; i < total; ++i)
        actions << ini.value(QString("macro/%1").arg(i), "0").toString();
    return actions;
}

QString MacroLibrary::nameBoundTo(int slot) const
{
    for (const QString& file : fileNames()) {
        const QString name = file.chopped(4);
        if (isSafeName(name) && loadConfig(name).value(0, -1).toInt() == slot)
            return name;
    }
    return {};
}

int MacroLibrary::save(const QString& name, const QStringList& actions)
{
    QString path;
    // A file the settings reader must not be given is not written either:
    // writing reads the whole file first.
    if (!pathOf(name, &path) || !QFile::exists(path) || DataFileCheck::holdsStreamedValue(path))
        return notSaved;
    QSettings ini(path, QSettings::IniFormat);
    ini.remove("macro");
    ini.setValue("config/total", actions.size());
    for (int i = 0; i < actions.size(); ++i)
        ini.setValue(QString("macro/%1").arg(i), actions.at(i));
    if (!SettingsCommit::commit(ini))
        return notSaved;
    return ini.value("config/index", -1).toInt();
}

QVariantList MacroLibrary::loadConfig(const QString& name) const
{
    QString path;
    if (!pathOf(name, &path) || !QFile::exists(path))
        return {};
    QSettings ini(DataFileCheck::parsable(path), QSettings::IniFormat);
    return {ini.value("config/index", -1).toInt(), ini.value("config/repeat", 1).toInt()};
}

bool MacroLibrary::setConfig(const QString& name, const QVariantList& config, uint deviceIndex)
{
    QString path;
    if (!pathOf(name, &path) || !QFile::exists(path) || DataFileCheck::holdsStreamedValue(path))
        return false;
    QSettings ini(path, QSettings::IniFormat);
    ini.setValue("config/index", config.value(0));
    ini.setValue("config/repeat", config.value(1));
    ini.setValue("config/did", deviceIndex);
    return SettingsCommit::commit(ini);
}

namespace {
// What the start-up clean-up needs to know about one file.
struct FileBinding
{
    QString path;
    int index = -1;        // -1 when unbound or unreadable
    bool indexValid = false;
    bool readable = false; // a well-formed settings file
    bool hasActions = false;
    bool blank = false;    // a readable macro file holding no action
};

FileBinding inspect(const QString& path)
{
    FileBinding f;
    f.path = path;
    QSettings ini(DataFileCheck::parsable(path), QSettings::IniFormat);
    f.readable = DataFileCheck::unreadable(path).isEmpty();
    const QVariant index = ini.value("config/index");
    f.index = index.isValid() ? index.toInt(&f.indexValid) : -1;
    if (!index.isValid())
        f.indexValid = true; // no binding at all is a valid "unbound"
    if (!f.indexValid)
        f.index = -1;
    ini.beginGroup("macro");
    f.hasActions = !ini.childKeys().isEmpty();
    ini.endGroup();
    // A readable file without actions is blank, with or without a binding
    // (a missing index reads as unbound); text that cannot be read as a
    // settings file is not ours to judge.
    f.blank = f.readable && !f.hasActions && ini.value("config/total", 0).toInt() <= 0;
    return f;
}
}

QStringList MacroLibrary::reconcile(int maxMacro, QStringList* unreadable)
{
    // Without a usable slot count nothing can be decided about any file.
    if (maxMacro <= 0)
        return {};
    maxMacro = qMin(maxMacro, 256);
    QDir().mkpath(folder);
    std::vector<bool> taken(256, false);
    QStringList removal;
    std::vector<FileBinding> orphans;
    for (const QString& file : fileNames()) {
        const FileBinding f = inspect(folder + "/" + file);
        if (f.index >= 0 && f.index < maxMacro && !taken[size_t(f.index)])
            taken[size_t(f.index)] = true;
        else if (f.blank)
            removal << f.path;
        else
            orphans.push_back(f);
    }
    for (const QString& path : removal)
        QFile::remove(path);

    // Anything else is never removed. A file with actions whose binding is
    // out of range, unreadable or a second claim on a slot is left unbound:
    // its slot in the keyboard holds other bytes, so it is not moved there
    // silently; it stays listed and can be assigned as any macro. What
    // cannot be read as a macro is left as it is.
    for (const FileBinding& f : orphans) {
        const bool deliberatelyUnbound = f.indexValid && f.index == -1;
        if (!f.readable && unreadable)
            unreadable->append(f.path);
        if (deliberatelyUnbound || !f.readable || !f.hasActions)
            continue;
        QSettings ini(f.path, QSettings::IniFormat);
        const QString claimed = ini.value("config/index").toString();
        ini.setValue("config/index", -1);
        if (SettingsCommit::commit(ini))
            qCWarning(q3data).noquote()
                << QString("The macro file \"%1\" claimed slot \"%2\", which is out of range or taken: "
                           "it is kept unbound; assign it to a key to use it.")
                       .arg(f.path, claimed);
    }

    int n = 1;
    for (int free = 0; free < maxMacro; ++free) {
        if (taken[size_t(free)])
            continue;
        // The slot's own name may belong to a kept file of another slot:
        // that file keeps its name and the new one takes the next free name.
        n = qMax(n, free + 1);
        QString path = folder + "/" + generatedName(n) + ".bin";
        while (QFile::exists(path))
            path = folder + "/" + generatedName(++n) + ".bin";
        writeNewFile(path, free);
    }
    return removal;
}
