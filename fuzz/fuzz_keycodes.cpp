// The key-name table: names and codes as the scene gets them, and the map
// the macro encoder uses.

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
    for (const QVariant& n : names)
        (void)n.toString();
    return 0;
}
