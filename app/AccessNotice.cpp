#include "app/AccessNotice.h"

namespace {

const char* const englishTitle = "The keyboard cannot be opened";
const char* const englishText =
    "The Q3 keyboard is connected, but this user is not allowed to use it. Install the "
    "q3config package, whose udev rule gives the person at this computer access, or reload "
    "the rule with \"sudo udevadm control --reload-rules && sudo udevadm trigger\". Then "
    "unplug the keyboard and plug it in again.";

}

WindowNotice::Texts AccessNotice::texts(const QString& languageFolder, const QString& code)
{
    return textsOf(languageFolder, code, "accessTitle", "accessText", englishTitle, englishText);
}

AccessNotice::AccessNotice(const Texts& texts, QWidget* window)
    : WindowNotice(texts, window, "accessNotice")
{
}
