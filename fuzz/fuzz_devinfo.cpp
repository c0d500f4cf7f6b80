// The device catalogue, and discovery with what it names.

#include "FuzzSupport.h"

#include "device/DevInfo.h"
#include "device/Hid_Thread.h"

#include <q3sim.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::ensureApplication();
    fuzz::scratch().fresh();
    const QString file = fuzz::scratch().write("DevInfo.ini", data, size);

    const QList<DevInfo> catalogue = DevInfoCatalogue::read(file);
    FUZZ_CHECK(catalogue.size() <= DevInfoCatalogue::maxEntries);

    static Hid_Thread hid;
    hid.refreshDevices(catalogue);
    FUZZ_CHECK(hid.deviceCount() == catalogue.size());
    // Only the first entry is looked for; it is found only with both interfaces.
    for (int i = 0; i < catalogue.size(); ++i) {
        const HidDevice d = hid.device(uint(i));
        FUZZ_CHECK(d.path.isEmpty() == d.path2.isEmpty());
        if (i > 0)
            FUZZ_CHECK(d.path.isEmpty());
    }
    FUZZ_CHECK(hid.device(uint(catalogue.size())).path.isEmpty());
    return 0;
}
