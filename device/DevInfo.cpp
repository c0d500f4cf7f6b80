#include "device/DevInfo.h"

#include "storage/DataFileCheck.h"

#include <QSettings>

namespace {
quint16 readHex16(const QSettings& ini, const QString& key)
{
    bool ok = false;
    const uint v = ini.value(key).toString().trimmed().toUInt(&ok, 16);
    return ok ? quint16(v) : 0;
}
}

QList<DevInfo> DevInfoCatalogue::read(const QString& iniFile)
{
    QSettings ini(DataFileCheck::parsable(iniFile), QSettings::IniFormat);
    QList<DevInfo> catalogue;
    const int total = qBound(0, ini.value("common/total", 0).toInt(), maxEntries);
    for (int i = 0; i < total; ++i) {
        const QString g = QString::number(i);
        DevInfo d;
        d.vid = readHex16(ini, g + "/vid");
        d.pid = readHex16(ini, g + "/pid");
        d.usagePage = readHex16(ini, g + "/usagePage");
        d.usage = readHex16(ini, g + "/usage");
        d.usagePage2 = readHex16(ini, g + "/usagePage2");
        d.usage2 = readHex16(ini, g + "/usage2");
        d.reportLength = ini.value(g + "/reportLength", 0).toUInt();
        catalogue.append(d);
    }
    return catalogue;
}
