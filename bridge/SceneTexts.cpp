#include "bridge/SceneTexts.h"

#include "bridge/LanguageFiles.h"
#include "bridge/MacroEncoder.h"
#include "storage/DataFileCheck.h"

#include <QSettings>

namespace {

const char* const englishTexts[][2] = {
    {"tip_record", "Record keys into the macro"},
    {"tip_stop", "Stop recording"},
    {"tip_delete", "Delete the action"},
    {"tip_cut", "Cut the action"},
    {"tip_copy", "Copy the action"},
    {"tip_paste", "Paste before the selected action"},
    {"tip_reset", "Reset this page"},
    {"tip_apply", "Apply: send to the keyboard"},
    {"tip_allReset", "Reset every page"},
    {"tip_allSave", "Save every page and send it to the keyboard"},
    {"tip_settings", "Program settings"},
    {"tip_close", "Close"},
    {"hint_gamingMode", "Tick %1 to change key assignments"},
    {"acc_keyboard", "Keyboard: the arrow keys choose a key, Enter changes it"},
    {"acc_keyboard_paint", "Keyboard: the arrow keys choose a key, Enter paints it"},
    {"acc_recording", "Recording: every key pressed is recorded. Stop ends it."},
    {"acc_keyCapture", "Press the key to insert"},
    {"acc_macroList", "Macros"},
    {"acc_actionList", "Actions of the macro"},
    {"acc_delay", "Delay in milliseconds"},
    {"acc_addKey", "Insert the key before the selected action"},
    {"acc_addDelay", "Insert the delay before the selected action"},
    {"acc_effects", "Backlight effect"},
    {"caption_paintMode", "PAINT MODE"},
    {"action_down", "[Down]"},
    {"action_up", "[Up]"},
    {"action_delay", "[Delay]"},
    {"acc_left", "Left"},
    {"acc_right", "Right"},
    {"acc_direction", "Direction"},
    {"acc_clearKey", "Clear the key"},
    {"acc_colourSlots", "Colour slots"},
    {"acc_colourSlot", "Colour %1"},
    {"acc_colourBar", "Colour bar"},
    {"acc_red", "Red"},
    {"acc_green", "Green"},
    {"acc_blue", "Blue"},
    {"acc_logo", "Open the web site"},
    {"acc_background", "Background picture"},
    {"acc_list", "List"},
};

}

SceneTexts::SceneTexts(QObject* parent)
    : QObject(parent)
    , current(english())
{
}

QVariantMap SceneTexts::english()
{
    QVariantMap texts;
    for (const auto& entry : englishTexts)
        texts.insert(QString::fromLatin1(entry[0]), QString::fromUtf8(entry[1]));
    return texts;
}

void SceneTexts::setLanguage(const QString& languageFolder, const QString& languageCode)
{
    QVariantMap texts = english();
    if (LanguageFiles::isSafeCode(languageCode)) {
        QSettings ini(DataFileCheck::parsable(LanguageFiles::fileOf(languageFolder, languageCode)),
                      QSettings::IniFormat);
        ini.setIniCodec("UTF-8");
        for (auto it = texts.begin(); it != texts.end(); ++it) {
            const QString translated = ini.value("hints/" + it.key()).toString();
            if (!translated.isEmpty())
                it.value() = translated;
        }
    }
    const QString newCode = LanguageFiles::isSafeCode(languageCode) ? languageCode : QString();
    if (texts == current && newCode == code)
        return;
    current = texts;
    code = newCode;
    emit changed();
}

QString SceneTexts::actionWord(const QString& tag) const
{
    if (tag == MacroEncoder::downTag)
        return value("action_down");
    if (tag == MacroEncoder::upTag)
        return value("action_up");
    if (tag == MacroEncoder::delayTag)
        return value("action_delay");
    return tag;
}
