#include "bridge/KeyCodeTable.h"

#include "storage/DataFileCheck.h"

#include <QSettings>

namespace {
QVariantList readList(const QString& file, const char* key)
{
    QSettings ini(DataFileCheck::parsable(file), QSettings::IniFormat);
    ini.setIniCodec("UTF-8");
    return ini.value(key).toList();
}
}

QVariantList KeyCodeTable::names(const QString& keyCodeDefFile)
{
    return readList(keyCodeDefFile, "common/usbStr");
}

QVariantList KeyCodeTable::codes(const QString& keyCodeDefFile)
{
    return readList(keyCodeDefFile, "common/usbCode");
}

QMap<QString, quint8> KeyCodeTable::build(const QString& keyCodeDefFile)
{
    const QVariantList n = names(keyCodeDefFile);
    const QVariantList c = codes(keyCodeDefFile);
    QMap<QString, quint8> table;
    const int count = qMin(n.size(), c.size());
    for (int i = 0; i < count; ++i) {
        bool ok = false;
        const uint code = c.at(i).toString().toUInt(&ok, 10);
        table[n.at(i).toString()] = ok ? quint8(code & 0xFF) : 0;
    }
    return table;
}

QString KeyCodeTable::problem(const QString& keyCodeDefFile)
{
    const QString unreadable = DataFileCheck::unreadable(keyCodeDefFile);
    if (!unreadable.isEmpty())
        return unreadable;
    if (names(keyCodeDefFile).isEmpty() || codes(keyCodeDefFile).isEmpty())
        return "it names no keys";
    return {};
}
