// A macro slot's payload as the keyboard returns it, decoded into actions
// with the shipped key-name table. The input is the payload itself, of any
// length; the decoder must read no byte past it, nor past 128.

#include "FuzzSupport.h"

#include "bridge/KeyCodeTable.h"
#include "bridge/MacroDecoder.h"
#include "bridge/MacroEncoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::ensureApplication();
    static const QMap<QString, quint8> keyCodes =
        KeyCodeTable::build(fuzz::shippedFile("modules/setting/KeyCodeDef.bin"));

    // Over the input's own bytes, so that a read past them is caught.
    const QByteArray payload = QByteArray::fromRawData(reinterpret_cast<const char*>(data), int(size));
    const MacroDecoder::Decoded result = MacroDecoder::decode(payload, keyCodes);
    FUZZ_CHECK(result.ok == result.problem.isEmpty());
    FUZZ_CHECK(result.ok || (result.actions.isEmpty() && !result.empty));
    FUZZ_CHECK(!result.empty || result.actions.isEmpty());
    if (!result.ok || result.empty)
        return 0;

    // What decodes encodes to the same words, up to its end marker; only a
    // pause of 0 units is not written again (the encoder leaves zero
    // delays out).
    const QString zeroDelay = "0" + MacroEncoder::delayTag;
    const QList<uchar> encoded = MacroEncoder::encode(result.actions, keyCodes);
    if (!result.actions.contains(zeroDelay)) {
        FUZZ_CHECK(MacroEncoder::deviceBuffer(encoded).left(encoded.size()) == payload.left(encoded.size()));
    } else {
        QStringList kept = result.actions;
        kept.removeAll(zeroDelay);
        FUZZ_CHECK(MacroDecoder::decode(MacroEncoder::deviceBuffer(encoded), keyCodes).actions == kept);
    }
    return 0;
}
