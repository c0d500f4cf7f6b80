// The hardware definition file: the limits read at start and the keyboard
// drawing of the stored layout and of layout 3.

#include "FuzzSupport.h"

#include "bridge/HardwareDefinition.h"
#include "bridge/HardwareLimits.h"

namespace {
void checkDrawing(const QVariantList& drawing)
{
    FUZZ_CHECK(drawing.size() >= 2);
    const int keys = drawing.at(0).toInt();
    const int matrix = drawing.at(1).toInt();
    FUZZ_CHECK(keys >= 0 && keys <= HardwareDefinition::maxKeys);
    FUZZ_CHECK(matrix >= 0 && matrix <= HardwareDefinition::maxMatrix);
    // The scene walks the list by the count in front.
    FUZZ_CHECK(drawing.size() == 2 + 6 * keys);
}
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::ensureApplication();
    fuzz::scratch().fresh();
    const QString file = fuzz::scratch().write("HWDef.bin", data, size);

    const HardwareLimits limits = HardwareLimits::read(file);
    if (limits.usable) {
        FUZZ_CHECK(limits.maxMacro >= 1 && limits.maxProfile >= 1 && limits.maxProfile <= 10);
    } else {
        FUZZ_CHECK(limits.maxMacro == 0 && limits.maxProfile == 0 && !limits.problem.isEmpty());
    }
    checkDrawing(HardwareDefinition::load(file, limits.hwMode));
    checkDrawing(HardwareDefinition::load(file, 3));
    return 0;
}
