// A language file with its check value, and the display name of a code.
// The input is the file; its first six bytes also serve as a language code.

#include "FuzzSupport.h"

#include "bridge/LanguageFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::ensureApplication();
    const QString folder = fuzz::scratch().fresh();
    fuzz::scratch().write("lang_031000.ini", data, size);

    const LanguageFiles::Strings loaded = LanguageFiles::load(folder, "031000");
    // Font family first, then the strings; always the four messages.
    FUZZ_CHECK(loaded.strings.size() >= 1 && loaded.strings.size() <= 1 + LanguageFiles::maxStrings);
    FUZZ_CHECK(loaded.messages.size() == 4);
    int sum = 0;
    for (int i = 1; i < loaded.strings.size(); ++i)
        sum += loaded.strings.at(i).size();
    if (loaded.verified)
        FUZZ_CHECK(!LanguageFiles::checkValue(sum).isEmpty());

    const QVariantMap languages = LanguageFiles::list(folder);
    FUZZ_CHECK(languages.size() == 1);

    const QString code = QString::fromLatin1(reinterpret_cast<const char*>(data), int(qMin<size_t>(size, 6)));
    FUZZ_CHECK(!LanguageFiles::displayName(code).isNull());
    return 0;
}
