// What the keyboard answers to get commands: the keyboard's memory (which
// its answers carry) comes from the input, and so do the data reports that
// replace the ones it sends, through the simulated keyboard's
// "replace-data" command. What the bridge makes of each answer is checked.
//
// Input: report length (1 byte), keyboard memory (36 bytes: firmware
// version 2, layout mode, options 3, sensitivity, current profile, LED type
// 7, seven-colour table 21), then up to 24 steps of one opcode byte each:
//   0-9   a get command (80 82 84 88 8C 8D 90 92 A1 B0), 90 with a slot byte,
//         92 with index and plane bytes
//   10-15 the next data report is replaced by 1-80 following bytes (length byte first)

#include "FuzzSupport.h"
#include "tests/KeyboardEntry.h"

#include "bridge/DeviceConversions.h"
#include "bridge/ProfileStore.h"
#include "device/Hid_Thread.h"

#include <Firmware.h>
#include <q3sim.h>

namespace {
QString hex(const std::vector<unsigned char>& bytes)
{
    QString s;
    for (unsigned char b : bytes)
        s += QString::asprintf("%02x", b);
    return s;
}
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::ensureApplication();
    static const QString folder = fuzz::scratch().fresh();
    static ProfileStore profiles;
    if (profiles.count() == 0)
        profiles.open(3, folder);
    static Hid_Thread hid;

    fuzz::Reader in(data, size);
    // Shorter reports than the keyboard's would leave reads waiting for
    // reports that never come; longer ones are the interesting case.
    const DevInfo entry = keyboardEntry(64 + in.byte() % 192);

    q3sim::reset();
    const std::vector<unsigned char> memory = in.bytes(36);
    q3sim::withFirmware([&memory](q3sim::Firmware& fw) {
        std::vector<unsigned char> m = memory;
        m.resize(36, 0);
        q3sim::KeyboardState& s = fw.state();
        s.firmwareVersion = {m[0], m[1]};
        s.layoutMode = m[2] % 4;
        s.options = {m[3], m[4], m[5]};
        s.sensitivity = m[6];
        fw.selectProfile(m[7] % int(s.profiles.size()));
        std::copy(m.begin() + 8, m.begin() + 15, s.current().ledType.begin());
        std::copy(m.begin() + 15, m.begin() + 36, s.current().colours.begin());
    });
    // Device 0 is the current device from the start; no listener runs.
    hid.refreshDevices({entry});

    for (int step = 0; step < 24 && !in.atEnd(); ++step) {
        const uint8_t op = in.byte() % 16;
        switch (op) {
        case 0: {
            ushort version = 0;
            uchar mode = 9;
            hid.hid_80H_GetFWVersion(version, mode);
            FUZZ_CHECK(mode == 9 || mode <= 3);
            FUZZ_CHECK(!DeviceConversions::firmwareVersionText(version).isEmpty());
            break;
        }
        case 1: {
            uchar b1 = 0, b2 = 0, b3 = 0;
            hid.hid_82H_GetKeyboardoption(b1, b2, b3);
            break;
        }
        case 2: {
            uchar sens = 0;
            hid.hid_84H_GetButtonSensitivity(sens);
            break;
        }
        case 3: {
            uchar v[7] = {};
            if (hid.hid_88H_GetLEDType(v[0], v[1], v[2], v[3], v[4], v[5], v[6]))
                FUZZ_CHECK(DeviceConversions::byteList(v, 7).size() == 7);
            break;
        }
        case 4:
        case 5: {
            uchar matrix[256] = {};
            hid.hid_8CH_GetKeyMatrix_1(matrix);
            if (op == 5)
                hid.hid_8DH_GetKeyMatrix_2(matrix + 128);
            FUZZ_CHECK(DeviceConversions::byteList(matrix, 256).size() == 256);
            break;
        }
        case 6: {
            uchar macro[128] = {};
            hid.hid_90H_GetMacroKey(in.byte(), macro);
            break;
        }
        case 7: {
            uchar plane[128] = {};
            const uchar index = in.byte();
            hid.hid_92H_GetUserPicture(index, in.byte(), plane);
            break;
        }
        case 8: {
            uchar profile = profiles.curProfile;
            hid.hid_A1H_GetCurrentProfile(profile);
            // The bridge takes only a profile it keeps a file for.
            FUZZ_CHECK(profiles.select(profile) == (profile < 3));
            FUZZ_CHECK(profiles.current() != nullptr);
            break;
        }
        case 9: {
            QByteArray table(64, '\0');
            hid.hid_B0H_GetSevenColor(reinterpret_cast<uchar*>(table.data()));
            const QVariantList colours = DeviceConversions::sevenColoursFromDevice(table);
            FUZZ_CHECK(colours.size() == 21);
            for (const QVariant& c : colours)
                FUZZ_CHECK(c.toInt() >= 0 && c.toInt() <= 1020);
            break;
        }
        default: {
            // A lost report would leave the read waiting for its time-out.
            const std::vector<unsigned char> bytes = in.bytes(1 + in.byte() % 80);
            if (!bytes.empty())
                FUZZ_CHECK(q3sim::runControlCommand("replace-data " + hex(bytes).toStdString()));
            break;
        }
        }
        // Every transfer hands the link back.
        FUZZ_CHECK(hid.linkIdle());
    }
    return 0;
}
