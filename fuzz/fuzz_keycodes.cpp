// The key-name table: names and codes as the scene gets them, the scene's
// lookups over them, and the map the macro encoder uses.

#include "FuzzSupport.h"

#include "bridge/KeyCodeTable.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::ensureApplication();
    fuzz::scratch().fresh();
    const QString file = fuzz::scratch().write("KeyCodeDef.bin", data, size);

    const QVariantList names = KeyCodeTable::names(file);
    const QVariantList codes = KeyCodeTable::codes(file);
    const QMap<QString, quint8> table = KeyCodeTable::build(file);
    FUZZ_CHECK(table.size() <= qMin(names.size(), codes.size()));

    // The scene asks with what it was given, and with the names as codes
    // and the codes as a hardware definition.
    KeyCodeTable scene;
    scene.rebuild(codes, names, codes);
    for (const QVariant& n : names) {
        (void)n.toString();
        const QVariant code = scene.codeOfName(n);
        FUZZ_CHECK(!code.isValid() || scene.nameOfCode(code).isValid());
        (void)scene.nameOfCode(n);
    }
    for (const QVariant& c : codes) {
        (void)scene.matrixOfCode(c);
        (void)scene.codeOfMatrix(c);
    }
    return 0;
}
