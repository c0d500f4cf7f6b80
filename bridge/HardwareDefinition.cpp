#include "bridge/HardwareDefinition.h"

#include "storage/DataFileCheck.h"

#include <QSettings>

QVariantList HardwareDefinition::load(const QString& hwDefFile, int hwMode)
{
    QSettings ini(DataFileCheck::parsable(hwDefFile), QSettings::IniFormat);
    ini.setIniCodec("UTF-8");
    const QString group = QString::number(hwMode) + "/";
    const int totalHW = ini.value(group + "total_HW", 0).toInt();
    const int totalFW = qBound(0, ini.value(group + "total_FW", 0).toInt(), maxMatrix);
    const int keys = qBound(0, totalHW, maxKeys);

    // The count handed on always matches the entries that follow.
    QVariantList result{keys, totalFW};
    for (int i = 1; i <= keys; ++i) {
        QVariantList key = ini.value(group + QString::number(i)).toList();
        // A short entry is padded rather than read past its end.
        while (key.size() < 6)
            key.append(QVariant());
        result << key.at(0).toInt() << key.at(1).toInt() << key.at(2).toInt()
               << key.at(3).toString() << key.at(4).toInt() << key.at(5).toUInt();
    }
    return result;
}

QVector<int> HardwareDefinition::defaultCodes(const QVariantList& loaded, int count)
{
    QVector<int> codes(qMax(0, count), 0);
    const int keys = loaded.isEmpty() ? 0 : qBound(0, loaded.at(0).toInt(), (loaded.size() - 2) / 6);
    for (int i = 0; i < keys; ++i) {
        const int base = 2 + 6 * i;
        const int matrix = loaded.at(base + 4).toInt();
        if (matrix >= 0 && matrix < codes.size())
            codes[matrix] = int(loaded.at(base + 5).toUInt() & 0xFFFF);
    }
    return codes;
}
