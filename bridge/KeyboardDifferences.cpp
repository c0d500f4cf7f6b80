#include "bridge/KeyboardDifferences.h"

#include "bridge/KeyAssignment.h"
#include "bridge/MacroDecoder.h"
#include "bridge/MacroEncoder.h"

#include <algorithm>
#include <set>

namespace {

// Keyboard position ← profile position, for the shifted entries.
constexpr int shifted[][2] = {{93, 77}, {77, 61}, {61, 45}};
constexpr int notHeld = 93;

int codeAt(const QVector<int>& codes, int i)
{
    return i < codes.size() ? codes.at(i) & 0xFFFF : 0;
}

}

QVector<int> KeyboardDifferences::codesOf(const QByteArray& matrix256)
{
    QVector<int> codes(positions, 0);
    const auto byteAt = [&](int k) { return k < matrix256.size() ? int(uchar(matrix256.at(k))) : 0; };
    for (int i = 0; i < positions; ++i)
        codes[i] = KeyAssignment::fromBytes(byteAt(2 * i), byteAt(2 * i + 1));
    return codes;
}

QVector<int> KeyboardDifferences::profileCodesFromKeyboard(const QByteArray& matrix256, const QVector<int>& own)
{
    const QVector<int> held = codesOf(matrix256);
    QVector<int> codes = held;
    for (const auto& entry : shifted)
        codes[entry[1]] = held.at(entry[0]);
    codes[notHeld] = codeAt(own, notHeld);
    return codes;
}

QByteArray KeyboardDifferences::keyboardMatrixOf(const QVector<int>& codes)
{
    QVector<int> held(positions, 0);
    for (int i = 0; i < positions; ++i)
        held[i] = codeAt(codes, i);
    for (const auto& entry : shifted)
        held[entry[0]] = codeAt(codes, entry[1]);
    QByteArray bytes(matrixBytes, '\0');
    for (int i = 0; i < positions; ++i) {
        bytes[2 * i] = char(KeyAssignment::lowByte(held.at(i)));
        bytes[2 * i + 1] = char(KeyAssignment::highByte(held.at(i)));
    }
    return bytes;
}

QList<int> KeyboardDifferences::macroSlotsOf(const QVector<int>& codes, int slotCount)
{
    std::set<int> slotList;
    for (const int code : codes) {
        if (KeyAssignment::isMacro(code) && KeyAssignment::slotOf(code) < slotCount)
            slotList.insert(KeyAssignment::slotOf(code));
    }
    return QList<int>(slotList.begin(), slotList.end());
}

int KeyboardDifferences::repeatModeOf(const QVector<int>& codes, int slot)
{
    for (const int code : codes) {
        if (KeyAssignment::isMacro(code) && KeyAssignment::slotOf(code) == slot)
            return KeyAssignment::repeatOf(code);
    }
    return -1;
}

QList<int> KeyboardDifferences::slotsToRead(const Program& program, const QByteArray& keyboardMatrix,
                                            int slotCount)
{
    QList<int> slotList = macroSlotsOf(program.codes, slotCount);
    for (const int slot : macroSlotsOf(codesOf(keyboardMatrix), slotCount)) {
        if (!slotList.contains(slot))
            slotList.append(slot);
    }
    std::sort(slotList.begin(), slotList.end());
    return slotList;
}

bool KeyboardDifferences::sameMacro(const QByteArray& a, const QByteArray& b,
                                    const QMap<QString, quint8>& keyCodes)
{
    const MacroDecoder::Decoded first = MacroDecoder::decode(a, keyCodes);
    const MacroDecoder::Decoded second = MacroDecoder::decode(b, keyCodes);
    if (first.ok && second.ok)
        return first.actions == second.actions;
    return a.left(MacroEncoder::deviceBufferSize) == b.left(MacroEncoder::deviceBufferSize);
}

bool KeyboardDifferences::blankMacro(const QByteArray& payload, const QMap<QString, quint8>& keyCodes)
{
    const MacroDecoder::Decoded decoded = MacroDecoder::decode(payload, keyCodes);
    return decoded.ok && decoded.actions.isEmpty();
}

KeyboardDifferences::Found KeyboardDifferences::compare(const Program& program, const Keyboard& keyboard,
                                                        const QMap<QString, quint8>& keyCodes)
{
    Found found;
    if (keyboard.matrixKnown)
        found.keys = keyboardMatrixOf(program.codes) != keyboard.matrix.left(matrixBytes);
    if (keyboard.modeKnown && program.gamingMode >= 0)
        found.gamingMode = (keyboard.mode != 0) != (program.gamingMode != 0);
    for (auto it = keyboard.macros.constBegin(); it != keyboard.macros.constEnd(); ++it) {
        const int slot = it.key();
        if (program.unsendable.contains(slot))
            continue;
        const bool differs = program.macros.contains(slot)
                                 ? !sameMacro(it.value(), program.macros.value(slot), keyCodes)
                                 : !blankMacro(it.value(), keyCodes);
        if (differs)
            found.macroSlots.append(slot);
    }
    return found;
}
