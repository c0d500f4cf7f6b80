#include "bridge/MacroDecoder.h"

#include "bridge/MacroEncoder.h"

#include <algorithm>

namespace {

MacroDecoder::Decoded failure(const QString& problem)
{
    MacroDecoder::Decoded result;
    result.problem = problem;
    return result;
}

QString hexByte(int value)
{
    return QString("%1").arg(value, 2, 16, QChar('0')).toUpper();
}

}

MacroDecoder::Decoded MacroDecoder::decode(const QByteArray& payload, const QMap<QString, quint8>& keyCodes)
{
    const int size = std::min<int>(payload.size(), MacroEncoder::deviceBufferSize);
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(payload.constData());

    if (std::all_of(bytes, bytes + size, [](unsigned char b) { return b == 0; })) {
        Decoded result;
        result.ok = true;
        result.empty = true;
        return result;
    }

    // QMap iterates in key order, so the first name seen for a code is the
    // one that sorts first.
    QString names[256];
    for (auto it = keyCodes.constBegin(); it != keyCodes.constEnd(); ++it) {
        if (it.value() != 0 && names[it.value()].isNull())
            names[it.value()] = it.key();
    }

    const int words = size / 2;
    // Word k is bytes 2k (low) and 2k+1 (high); the encoder lists the high
    // byte of each pair first.
    const auto high = [bytes](int k) { return int(bytes[2 * k + 1]); };
    const auto low = [bytes](int k) { return int(bytes[2 * k]); };

    if (words < 1 || high(0) != 0x00 || low(0) != 0x01)
        return failure("no start marker");

    QStringList actions;
    for (int k = 1; k < words; ++k) {
        const int type = high(k);
        const int code = low(k);
        if (type == 0x00 && code == 0x00) {
            Decoded result;
            result.ok = true;
            result.actions = actions;
            return result;
        }
        if (type == 0x01 || type == 0x81) {
            const QString& name = names[code];
            if (name.isNull())
                return failure("no name for key code 0x" + hexByte(code));
            actions << name + (type == 0x01 ? MacroEncoder::downTag : MacroEncoder::upTag);
        } else if (type == 0x7F && code == 0x00) {
            if (++k >= words)
                break;
            const int units = high(k) * 256 + low(k);
            actions << QString::number(units * 10) + MacroEncoder::delayTag;
        } else {
            return failure(QString("unknown pair %1 %2 at byte %3").arg(hexByte(type), hexByte(code)).arg(2 * k));
        }
    }
    return failure("no end marker");
}
