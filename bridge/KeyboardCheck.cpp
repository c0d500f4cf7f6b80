#include "bridge/KeyboardCheck.h"

#include "bridge/KeyAssignment.h"
#include "bridge/MacroEncoder.h"
#include "bridge/MacroLibrary.h"
#include "bridge/ProfileStore.h"
#include "device/Hid_Thread.h"

namespace {

bool readOk(const KeyboardCheck::Sources& sources)
{
    const bool ok = sources.hid->lastGetFailure() == TransferFailure::None;
    if (sources.afterRead)
        sources.afterRead();
    return ok;
}

}

KeyboardDifferences::Program KeyboardCheck::programSide(const Sources& sources)
{
    KeyboardDifferences::Program program;
    program.codes.resize(KeyboardDifferences::positions);
    bool remapped = false;
    for (int i = 0; i < KeyboardDifferences::positions; ++i) {
        const int fallback = sources.defaults.value(i, 0);
        const QVariantList pair = sources.profiles->value(sources.keyGroup + QString::number(i)).toList();
        program.codes[i] = pair.size() >= 2 ? KeyAssignment::fromBytes(pair.at(0).toInt(), pair.at(1).toInt())
                                            : fallback;
        remapped = remapped || program.codes.at(i) != fallback;
    }

    const QVariant kept = sources.profiles->value(KeyboardAdoption::gamingModeKey);
    bool known = false;
    const int mode = kept.toInt(&known);
    if (known && (mode == 0 || mode == 1))
        program.gamingMode = mode;
    else
        program.gamingMode = remapped ? 1 : -1;
    return program;
}

void KeyboardCheck::addMacros(KeyboardDifferences::Program& program, const Sources& sources,
                              const QList<int>& slotList)
{
    for (const int slot : slotList) {
        const QString name = sources.library->nameBoundTo(slot);
        if (name.isEmpty())
            continue;
        const QList<uchar> encoded = MacroEncoder::encode(sources.library->load(name), sources.keyCodes);
        if (encoded.size() > MacroEncoder::deviceBufferSize)
            program.unsendable.insert(slot);
        else
            program.macros.insert(slot, MacroEncoder::deviceBuffer(encoded));
    }
}

KeyboardDifferences::Found KeyboardCheck::run(const Sources& sources)
{
    forget();
    if (!sources.hid || !sources.profiles || !sources.library)
        return {};
    KeyboardDifferences::Keyboard keyboard;

    // The first read that fails ends the look: what it left unknown cannot
    // be compared, and a keyboard that does not answer would hold every
    // further read up for its whole wait.
    QByteArray matrix(KeyboardDifferences::matrixBytes, '\0');
    uchar* bytes = reinterpret_cast<uchar*>(matrix.data());
    sources.hid->hid_8CH_GetKeyMatrix_1(bytes);
    if (!readOk(sources))
        return {};
    sources.hid->hid_8DH_GetKeyMatrix_2(bytes + KeyboardDifferences::matrixBytes / 2);
    if (!readOk(sources))
        return {};
    keyboard.matrixKnown = true;
    keyboard.matrix = matrix;

    uchar mode = 0, byte2 = 0, byte3 = 0;
    const bool modeRead = sources.hid->hid_82H_GetKeyboardoption(mode, byte2, byte3);
    if (!readOk(sources) || !modeRead)
        return {};
    keyboard.modeKnown = true;
    keyboard.mode = mode;

    KeyboardDifferences::Program program = programSide(sources);
    const QList<int> slotList = KeyboardDifferences::slotsToRead(program, keyboard.matrix, sources.slotCount);
    for (const int slot : slotList) {
        QByteArray payload(MacroEncoder::deviceBufferSize, '\0');
        sources.hid->hid_90H_GetMacroKey(uchar(slot), reinterpret_cast<uchar*>(payload.data()));
        if (!readOk(sources))
            return {};
        keyboard.macros.insert(slot, payload);
    }

    addMacros(program, sources, slotList);
    const KeyboardDifferences::Found found = KeyboardDifferences::compare(program, keyboard, sources.keyCodes);
    if (found.any()) {
        kept.valid = true;
        kept.profile = sources.profiles->curProfile;
        kept.keyboard = keyboard;
        kept.found = found;
        kept.codes = program.codes;
        kept.expectedMode = program.gamingMode;
    }
    return found;
}

bool KeyboardCheck::pending(int profile) const
{
    return kept.valid && kept.profile == profile;
}

KeyboardAdoption::Result KeyboardCheck::adopt(const Sources& sources)
{
    KeyboardAdoption::Result result;
    if (!sources.profiles || !sources.library || !pending(sources.profiles->curProfile)) {
        forget();
        return result;
    }
    KeyboardAdoption::Target target;
    target.profiles = sources.profiles;
    target.keyGroup = sources.keyGroup;
    target.library = sources.library;
    target.keyCodes = sources.keyCodes;
    target.deviceIndex = sources.deviceIndex;
    result = KeyboardAdoption::adopt(kept.keyboard, kept.found, kept.codes, target);
    forget();
    return result;
}

void KeyboardCheck::forget()
{
    kept = Reading();
}
