#include "bridge/MacroLibrary.h"

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
    if (name.isEmpty() || name.contains("..") || name.contains('/') || name.contains('\\')
        || name.contains(':')) {
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

void MacroLibrary::writeNewFile(const QString& path, int index) const
{
    QSettings ini(path, QSettings::IniFormat);
    ini.setValue("config/index", index);
    ini.setValue("config/total", 0);
    ini.setValue("config/repeat", 1);
    ini.setValue("config/did", -1);
    ini.sync();
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
    QSettings ini(path, QSettings::IniFormat);
    const int total = qBound(0, ini.value("config/total", 0).toInt(), maxActions);
    QStringList actions;
    for (int i = 0; i < total; ++i)
        actions << ini.value(QString("macro/%1").arg(i), "0").toString();
    return actions;
}

int MacroLibrary::save(const QString& name, const QStringList& actions)
{
    QString path;
    if (!pathOf(name, &path) || !QFile::exists(path))
        return -2;
    QSettings ini(path, QSettings::IniFormat);
    ini.remove("macro");
    ini.setValue("config/total", actions.size());
    for (int i = 0; i < actions.size(); ++i)
        ini.setValue(QString("macro/%1").arg(i), actions.at(i));
    ini.sync();
    return ini.value("config/index", -1).toInt();
}

QVariantList MacroLibrary::loadConfig(const QString& name) const
{
    QString path;
    if (!pathOf(name, &path) || !QFile::exists(path))
        return {};
    QSettings ini(path, QSettings::IniFormat);
    return {ini.value("config/index", -1).toInt(), ini.value("config/repeat", 1).toInt()};
}

void MacroLibrary::setConfig(const QString& name, const QVariantList& config, uint deviceIndex)
{
    QString path;
    if (!pathOf(name, &path) || !QFile::exists(path))
        return;
    QSettings ini(path, QSettings::IniFormat);
    ini.setValue("config/index", config.value(0));
    ini.setValue("config/repeat", config.value(1));
    ini.setValue("config/did", deviceIndex);
}

QStringList MacroLibrary::reconcile(int maxMacro)
{
    QDir().mkpath(folder);
    std::vector<bool> taken(256, false);
    QStringList removal;
    for (const QString& file : fileNames()) {
        const QString path = folder + "/" + file;
        const int index = QSettings(path, QSettings::IniFormat).value("config/index", -1).toInt();
        if (index >= 0 && index < maxMacro && index < 256 && !taken[size_t(index)])
            taken[size_t(index)] = true;
        else
            removal << path;
    }
    for (const QString& path : removal)
        QFile::remove(path);

    int n = 1;
    for (int slot = 0; slot < maxMacro; ++slot) {
        if (taken[size_t(slot)])
            continue;
        // The slot's own name may belong to a kept file of another slot:
        // that file keeps its name and the new one takes the next free name.
        n = qMax(n, slot + 1);
        QString path = folder + "/" + generatedName(n) + ".bin";
        while (QFile::exists(path))
            path = folder + "/" + generatedName(++n) + ".bin";
        writeNewFile(path, slot);
    }
    return removal;
}
