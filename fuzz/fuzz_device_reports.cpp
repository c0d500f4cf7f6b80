// What the keyboard sends by itself on its event interface: the listener
// reads up to 16 reports of any length (input: a length byte, 0-69, then
// that many bytes, per report); every report of at least 12 bytes is a
// lighting report and reaches the profile as the LED type.

#include "FuzzSupport.h"
#include "tests/KeyboardEntry.h"

#include "bridge/ProfileStore.h"
#include "device/Hid_Thread.h"

#include <q3sim.h>

#include <QElapsedTimer>
#include <QThread>

#include <thread>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::ensureApplication();
    static const QString folder = fuzz::scratch().fresh();
    static ProfileStore profiles;
    if (profiles.count() == 0) {
        profiles.open(1, folder);
        profiles.select(0);
    }
    static Hid_Thread hid;
    static int handled = 0;
    static bool handlerSet = false;
    if (!handlerSet) {
        handlerSet = true;
        hid.setLightingReportHandler([](const QVariantList& ledType) {
            profiles.setValue("color/ledType", ledType);
            const QVariantList stored = profiles.value("color/ledType").toList();
            FUZZ_CHECK(stored.size() == 7);
            for (const QVariant& v : stored)
                FUZZ_CHECK(v.toInt() >= 0 && v.toInt() <= 255);
            ++handled;
        });
    }
    const DevInfo entry = keyboardEntry();
    hid.refreshDevices({entry});

    fuzz::Reader in(data, size);
    std::vector<std::vector<unsigned char>> reports;
    while (!in.atEnd() && reports.size() < 16)
        reports.push_back(in.bytes(in.byte() % 70));

    handled = 0;
    hid.swichCurDevice(0);
    int lighting = 0;
    for (const auto& r : reports) {
        q3sim::pushInputReport(q3sim::EventInterface, r);
        if (r.size() >= size_t(Hid_Thread::lightingReportSize))
            ++lighting;
    }
    // Until the listener has taken every report, then stop it at once:
    // hiding the event interface ends its blocked read.
    QElapsedTimer waited;
    waited.start();
    while (q3sim::queuedInputReports(q3sim::EventInterface) > 0 && waited.elapsed() < 10000)
        QThread::yieldCurrentThread();
    FUZZ_CHECK(q3sim::queuedInputReports(q3sim::EventInterface) == 0);
    // The stop is asked for before the interface goes, so the listener's
    // failed read ends its loop at once instead of waiting out a pass.
    std::thread stopper([] { hid.stopListener(); });
    while (hid.isListening())
        QThread::yieldCurrentThread();
    q3sim::setInterfaces(true, false);
    stopper.join();
    q3sim::setInterfaces(true, true);
    QCoreApplication::processEvents();
    FUZZ_CHECK(handled == lighting);
    return 0;
}
