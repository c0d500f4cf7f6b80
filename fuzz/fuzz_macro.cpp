// A macro file and the encoder: the actions and the binding as the scene
// reads them, their encoding for the keyboard, a save and reload of the
// actions, and the start-up clean-up of the folder that holds the file.

#include "FuzzSupport.h"

#include "bridge/KeyCodeTable.h"
#include "bridge/MacroEncoder.h"
#include "bridge/MacroLibrary.h"

#include <QFile>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::ensureApplication();
    static const QMap<QString, quint8> keyCodes =
        KeyCodeTable::build(fuzz::shippedFile("modules/setting/KeyCodeDef.bin"));

    const QString folder = fuzz::scratch().fresh();
    const QString name = "Macro. 001";
    const QString file = fuzz::scratch().write(name + ".bin", data, size);
    MacroLibrary library(folder);

    const QStringList actions = library.load(name);
    FUZZ_CHECK(actions.size() <= MacroLibrary::maxActions);
    const QVariantList config = library.loadConfig(name);
    FUZZ_CHECK(config.size() == 2);

    const QList<uchar> encoded = MacroEncoder::encode(actions, keyCodes);
    // Start and end marks around whole pairs.
    FUZZ_CHECK(encoded.size() >= 4 && encoded.size() % 2 == 0);
    FUZZ_CHECK(encoded.at(0) == 0x00 && encoded.at(1) == 0x01);
    FUZZ_CHECK(encoded.at(encoded.size() - 2) == 0x00 && encoded.at(encoded.size() - 1) == 0x00);
    FUZZ_CHECK(MacroEncoder::deviceBuffer(encoded).size() == MacroEncoder::deviceBufferSize);

    // What the scene saves it reads back unchanged.
    library.save(name, actions);
    FUZZ_CHECK(library.load(name) == actions);

    // The clean-up at start never removes a file that holds actions. A few
    // slots are enough for every case of binding (each slot costs a file).
    const QStringList removed = library.reconcile(int(size ? data[0] % 5 : 3));
    if (!actions.isEmpty())
        FUZZ_CHECK(!removed.contains(file) && QFile::exists(file));
    return 0;
}
