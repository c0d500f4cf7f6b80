// A profile: a file the user opens replaces profile 1, then everything the
// scene and the keyboard get from a profile is read from it and converted
// into the keyboard's buffers.

#include "FuzzSupport.h"

#include "bridge/DeviceConversions.h"
#include "bridge/ProfileStore.h"

#include <QSettings>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::ensureApplication();
    // p1.bin stays from one input to the next, as in the program: the copy
    // that replaces it is always newer, so no settings object can mistake
    // it for the file it replaced.
    static const QString folder = fuzz::scratch().fresh();
    const QString chosen = fuzz::scratch().write("chosen.pf", data, size);

    ProfileStore profiles;
    profiles.open(1, folder);
    // Only what cannot be read as a settings file is refused; the profile
    // then keeps the previous input.
    QString problem;
    FUZZ_CHECK(profiles.replaceWith(0, chosen, &problem) == problem.isEmpty());
    FUZZ_CHECK(profiles.select(0) && profiles.current());

    (void)profiles.value("color/ledType").toList();
    const QVariantList colours = profiles.value("color/color").toList();
    FUZZ_CHECK(DeviceConversions::sevenColourTable(colours).size() == 64);

    for (int index = 0; index < 16; ++index) {
        const QVariantList picture = profiles.value(QString("userPicture/%1").arg(index)).toList();
        for (const QByteArray& plane : DeviceConversions::userPicturePlanes(picture))
            FUZZ_CHECK(plane.size() == 128);
    }

    QVariantList matrix;
    for (int i = 0; i < 128; ++i) {
        const QVariantList entry = profiles.value(QString("keydefine3/%1").arg(i), 0).toList();
        matrix << entry.value(0).toInt() << entry.value(1).toInt();
    }
    FUZZ_CHECK(DeviceConversions::keyMatrixForDevice(matrix).size() == 256);

    // A change made after opening the file is written back and read again.
    profiles.setValue("color/ledType", QVariantList{1, 2, 3, 4, 5, 6, 7});
    profiles.flush(0);
    QSettings reread(folder + "/p1.bin", QSettings::IniFormat);
    FUZZ_CHECK(reread.value("color/ledType").toList().size() == 7);
    return 0;
}
