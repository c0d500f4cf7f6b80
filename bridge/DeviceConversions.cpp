#include "bridge/DeviceConversions.h"

namespace {
int valueAt(const QVariantList& list, int i)
{
    return i < list.size() ? list.at(i).toInt() : 0;
}
}

QByteArray DeviceConversions::sevenColourTable(const QVariantList& src21)
{
    QByteArray table(64, '\0');
    for (int k = 0; k < 21; ++k)
        table[k] = char((valueAt(src21, k) / 4) & 0xFF);
    return table;
}

QVariantList DeviceConversions::sevenColoursFromDevice(const QByteArray& table64)
{
    QVariantList colours;
    for (int k = 0; k < 21; ++k)
        colours.append(k < table64.size() ? int(quint8(table64.at(k))) * 4 : 0);
    return colours;
}

std::array<QByteArray, 4> DeviceConversions::userPicturePlanes(const QVariantList& src512)
{
    std::array<QByteArray, 4> planes;
    for (QByteArray& p : planes)
        p = QByteArray(128, '\0');
    for (int i = 0; i < 128; ++i) {
        planes[0][i] = char(valueAt(src512, 4 * i) & 0xFF);
        for (int c = 1; c < 4; ++c)
            planes[size_t(c)][i] = char((valueAt(src512, 4 * i + c) / 4) & 0xFF);
    }
    return planes;
}

QByteArray DeviceConversions::keyMatrixForDevice(const QVariantList& src256)
{
    QByteArray plain(256, '\0');
    for (int k = 0; k < 256; ++k)
        plain[k] = char(valueAt(src256, k) & 0xFF);

    QByteArray shifted = plain;
    const auto copyEntry = [&](int to, int from) {
        shifted[2 * to] = plain[2 * from];
        shifted[2 * to + 1] = plain[2 * from + 1];
    };
    copyEntry(93, 77);
    copyEntry(77, 61);
    copyEntry(61, 45);
    return shifted;
}

QString DeviceConversions::firmwareVersionText(quint16 version)
{
    if (version == 0)
        return "unknown";
    return QString("%1.%2")
        .arg(version >> 8, 2, 16, QChar('0'))
        .arg(version & 0xFF, 2, 16, QChar('0'))
        .toUpper();
}

QVariantList DeviceConversions::byteList(const unsigned char* bytes, int count)
{
    QVariantList list;
    for (int i = 0; i < count; ++i)
        list.append(int(bytes[i]));
    return list;
}

int DeviceConversions::brightnessPosition(int storedBrightness)
{
    const int top = brightnessPositions - 1;
    const int b = qBound(0, storedBrightness, maxBrightness);
    return (b * top + maxBrightness / 2) / maxBrightness;
}

int DeviceConversions::brightnessToSend(int position, int storedBrightness)
{
    const int top = brightnessPositions - 1;
    const bool stored = storedBrightness >= 0 && storedBrightness <= maxBrightness;
    if (stored && position == brightnessPosition(storedBrightness))
        return storedBrightness;
    const int p = qBound(0, position, top);
    return (p * maxBrightness + top / 2) / top;
}
