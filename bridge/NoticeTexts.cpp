#include "bridge/NoticeTexts.h"

#include "bridge/LanguageFiles.h"
#include "storage/DataFileCheck.h"

#include <QSettings>

namespace {

const char* const english[][2] = {
    {"deviceTitle", "The keyboard did not take the change"},
    {"deviceText", "%1 did not reach the keyboard: %2"},
    {"what_keys", "The key assignments"},
    {"what_colours", "The seven colours"},
    {"what_picture", "The picture"},
    {"what_lighting", "The lighting"},
    {"what_macro", "The macro"},
    {"what_profile", "The profile switch"},
    {"what_gamingMode", "GAMING MODE"},
    {"what_readBack", "The profile's lighting"},
    {"deviceReadText", "%1 could not be read from the keyboard: %2"},
    {"what_recovery", "The factory reset"},
    {"what_compare", "What the keyboard holds"},
    {"differTitle", "The keyboard holds something else"},
    {"differText", "The keyboard and profile %1 differ in: %2. Nothing changes until you choose which "
                   "to keep."},
    {"differ_keys", "key assignments"},
    {"differ_gamingMode", "GAMING MODE"},
    {"differ_macro", "the macro on slot %1"},
    {"differ_separator", ", "},
    {"choice_keyboard", "Use the keyboard's"},
    {"choice_profile", "Send this profile's"},
    {"pendingTitle", "Changes not yet applied"},
    {"pendingText", "%1 holds changes that have not been sent to the keyboard."},
    {"pending_separator", ", "},
    {"pendingApply", "Apply"},
    {"pendingDiscard", "Discard"},
    {"pendingCancel", "Cancel"},
    {"reason_1", "no keyboard is connected. Connect the keyboard and try again."},
    {"reason_2", "this user may not use the keyboard. Give this user access to it (see the q3config "
                 "package's udev rule), then unplug the keyboard and plug it in again."},
    {"reason_3", "the keyboard did not answer. Unplug it, plug it in and try again."},
    {"reason_4", "the keyboard was disconnected during the transfer. Plug it in and try again."},
    {"reason_5", "the keyboard refused the data. Unplug it, plug it in and try again."},
    {"reason_6", "the language file failed its check, so nothing is written to the keyboard. Choose a "
                 "language again in the settings."},
    {"offlineTitle", "No keyboard connected"},
    {"offlineText", "The change is saved in the program. It reaches the keyboard at the next Apply or "
                    "ALL SAVE with the keyboard connected."},
    {"storageTitle", "Changes cannot be saved"},
    {"storageText", "The program cannot write in \"%1\" (the folder is read-only or the disk is full). "
                    "Changes made now are not kept after the program closes. Free some space or make "
                    "the folder writable, then make the change again."},
    {"confirm", "Sent to the keyboard."},
    {"keyboard_0", "No keyboard"},
    {"keyboard_1", "Keyboard connected"},
    {"keyboard_2", "Keyboard: access refused"},
};

}

NoticeTexts::NoticeTexts()
{
    for (const auto& entry : english)
        texts.insert(QString::fromLatin1(entry[0]), QString::fromUtf8(entry[1]));
}

NoticeTexts NoticeTexts::load(const QString& languageFolder, const QString& code)
{
    NoticeTexts t;
    if (!LanguageFiles::isSafeCode(code))
        return t;
    QSettings ini(DataFileCheck::parsable(LanguageFiles::fileOf(languageFolder, code)), QSettings::IniFormat);
    ini.setIniCodec("UTF-8");
    for (auto it = t.texts.begin(); it != t.texts.end(); ++it) {
        const QString translated = ini.value("notice/" + it.key()).toString();
        if (!translated.isEmpty())
            it.value() = translated;
    }
    return t;
}

QString NoticeTexts::failureTitle() const
{
    return value("deviceTitle");
}

QString NoticeTexts::failure(const QString& part, TransferFailure reason) const
{
    const QString what = texts.value("what_" + part, part);
    const QString why = texts.value(QString("reason_%1").arg(int(reason)), value("reason_5"));
    // What is read back is not sent: it is said the other way round.
    return value(part == "readBack" || part == "compare" ? "deviceReadText" : "deviceText").arg(what, why);
}

QString NoticeTexts::offlineTitle() const
{
    return value("offlineTitle");
}

QString NoticeTexts::offline() const
{
    return value("offlineText");
}

QString NoticeTexts::storageTitle() const
{
    return value("storageTitle");
}

QString NoticeTexts::storage(const QString& folder) const
{
    return value("storageText").arg(folder);
}

QString NoticeTexts::confirmation() const
{
    return value("confirm");
}

QString NoticeTexts::keyboard(int state) const
{
    return texts.value(QString("keyboard_%1").arg(state), value("keyboard_0"));
}

QString NoticeTexts::differencesTitle() const
{
    return value("differTitle");
}

QString NoticeTexts::differences(int profile, const KeyboardDifferences::Found& found) const
{
    QStringList parts;
    if (found.keys)
        parts << value("differ_keys");
    if (found.gamingMode)
        parts << value("differ_gamingMode");
    for (const int slot : found.macroSlots)
        parts << value("differ_macro").arg(slot);
    const QString name = QString("P%1").arg(profile, 2, 10, QChar('0'));
    return value("differText").arg(name, parts.join(value("differ_separator")));
}

QStringList NoticeTexts::differenceChoices() const
{
    return {value("choice_keyboard"), value("choice_profile")};
}
