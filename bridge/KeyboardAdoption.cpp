#include "bridge/KeyboardAdoption.h"

#include "bridge/KeyAssignment.h"
#include "bridge/MacroDecoder.h"
#include "bridge/MacroEncoder.h"
#include "bridge/MacroLibrary.h"
#include "bridge/ProfileStore.h"

const QString KeyboardAdoption::gamingModeKey = "keyboard/gamingMode";

namespace {

using KeyboardAdoption::Result;
using KeyboardAdoption::Target;

constexpr int defaultRepeat = 1;

// An unbound file that makes the keyboard do what payload does.
QString unboundMatch(const MacroLibrary& library, const QByteArray& payload, const QMap<QString, quint8>& keyCodes)
{
    for (const QString& file : library.fileNames()) {
        const QString name = file.chopped(4);
        if (!MacroLibrary::isSafeName(name) || library.loadConfig(name).value(0, -1).toInt() != -1)
            continue;
        const QList<uchar> encoded = MacroEncoder::encode(library.load(name), keyCodes);
        if (encoded.size() <= MacroEncoder::deviceBufferSize
            && KeyboardDifferences::sameMacro(MacroEncoder::deviceBuffer(encoded), payload, keyCodes)) {
            return name;
        }
    }
    return {};
}

void takeSlot(int slot, const QByteArray& payload, int repeat, const Target& target, Result& result)
{
    MacroLibrary& library = *target.library;
    const MacroDecoder::Decoded decoded = MacroDecoder::decode(payload, target.keyCodes);
    if (!decoded.ok) {
        result.ok = false;
        result.problems << QString("slot %1: %2").arg(slot).arg(decoded.problem);
        return;
    }
    const QString bound = library.nameBoundTo(slot);
    const int keptRepeat = bound.isEmpty() ? defaultRepeat : library.loadConfig(bound).value(1, defaultRepeat).toInt();
    if (repeat < 0)
        repeat = keptRepeat;

    QString taker;
    if (!decoded.actions.isEmpty()) {
        taker = unboundMatch(library, payload, target.keyCodes);
        if (taker.isEmpty()) {
            taker = library.createNamed(KeyboardAdoption::slotMacroName(slot));
            if (taker.isEmpty() || library.save(taker, decoded.actions) == MacroLibrary::notSaved) {
                if (!taker.isEmpty())
                    library.remove(taker);
                result.ok = false;
                result.problems << QString("slot %1: the macro file could not be written").arg(slot);
                return;
            }
            result.newMacros << taker;
        }
    }
    // Every file that claims the slot gives it up; the files stay.
    for (QString claimant = library.nameBoundTo(slot); !claimant.isEmpty(); claimant = library.nameBoundTo(slot)) {
        const QVariantList config = library.loadConfig(claimant);
        if (!library.setConfig(claimant, {-1, config.value(1, defaultRepeat)}, target.deviceIndex)) {
            result.ok = false;
            result.problems << QString("slot %1: %2 could not be unbound").arg(slot).arg(claimant);
            return;
        }
    }
    if (!taker.isEmpty() && !library.setConfig(taker, {slot, repeat}, target.deviceIndex)) {
        result.ok = false;
        result.problems << QString("slot %1: %2 could not be bound").arg(slot).arg(taker);
    }
}

}

QString KeyboardAdoption::slotMacroName(int slot)
{
    return QString("Slot %1").arg(slot);
}

KeyboardAdoption::Result KeyboardAdoption::adopt(const KeyboardDifferences::Keyboard& keyboard,
                                                 const KeyboardDifferences::Found& found,
                                                 const QVector<int>& ownCodes, const Target& target)
{
    Result result;
    QList<QPair<QString, QVariant>> values;
    if (found.keys && keyboard.matrixKnown) {
        const QVector<int> codes = KeyboardDifferences::profileCodesFromKeyboard(keyboard.matrix, ownCodes);
        for (int i = 0; i < codes.size(); ++i) {
            const int code = codes.at(i);
            values.append({target.keyGroup + QString::number(i),
                           QVariantList{KeyAssignment::lowByte(code), KeyAssignment::highByte(code)}});
        }
    }
    if (keyboard.modeKnown)
        values.append({gamingModeKey, keyboard.mode != 0 ? 1 : 0});
    if (!values.isEmpty() && !target.profiles->setValues(values)) {
        result.ok = false;
        result.problems << "the profile file could not be written";
    }

    const QVector<int> keyboardCodes = keyboard.matrixKnown ? KeyboardDifferences::codesOf(keyboard.matrix)
                                                            : QVector<int>();
    for (const int slot : found.macroSlots) {
        if (keyboard.macros.contains(slot))
            takeSlot(slot, keyboard.macros.value(slot), KeyboardDifferences::repeatModeOf(keyboardCodes, slot),
                     target, result);
    }
    return result;
}
