// The program's settings file: the list the scene gets, saved and read again.

#include "FuzzSupport.h"

#include "bridge/AppSettingsFile.h"

#include <QSettings>

#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::ensureApplication();
    const QString folder = fuzz::scratch().fresh();
    const QString file = fuzz::scratch().write("apConfig.bin", data, size);

    QVariantList entries;
    {
        const std::unique_ptr<QSettings> settings(AppSettingsFile::open(file));
        entries = AppSettingsFile::load(*settings);
    }
    FUZZ_CHECK(entries.size() <= AppSettingsFile::maxEntries);

    {
        QSettings copy(folder + "/copy.bin", QSettings::IniFormat);
        AppSettingsFile::save(copy, entries);
    }
    const QSettings reread(folder + "/copy.bin", QSettings::IniFormat);
    FUZZ_CHECK(AppSettingsFile::load(reread).size() == entries.size());
    return 0;
}
