#include "bridge/MacroEncoder.h"

const QString MacroEncoder::downTag = "    [Down]";
const QString MacroEncoder::upTag = "      [Up]";
const QString MacroEncoder::delayTag = "   [Delay]";

QList<uchar> MacroEncoder::encode(const QStringList& actions, const QMap<QString, quint8>& keyCodes)
{
    QList<uchar> out{0x00, 0x01};
    for (const QString& action : actions) {
        const QString tag = action.right(10);
        const QString left = action.left(qMax(0, action.size() - 10));
        if (tag == downTag || tag == upTag) {
            const quint8 code = keyCodes.value(left, 0);
            if (code == 0)
                continue;
            out << (tag == downTag ? 0x01 : 0x81) << code;
        } else if (tag == delayTag) {
            bool ok = false;
            const int ms = left.toInt(&ok, 10);
            // A negative delay (only a hand-edited file holds one) would
            // otherwise wrap into a pause of seconds on the keyboard.
            if (!ok || ms <= 0)
                continue;
            const int units = ms / 10;
            out << 0x7F << 0x00 << uchar((units / 256) & 0xFF) << uchar(units & 0xFF);
        }
    }
    out << 0x00 << 0x00;
    return out;
}

QByteArray MacroEncoder::deviceBuffer(const QList<uchar>& encoded)
{
    QByteArray buffer(deviceBufferSize, '\0');
    for (int k = 0; 2 * k + 1 < encoded.size() && 2 * k + 1 < deviceBufferSize; ++k) {
        buffer[2 * k] = char(encoded.at(2 * k + 1));
        buffer[2 * k + 1] = char(encoded.at(2 * k));
    }
    return buffer;
}
