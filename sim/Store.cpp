// The keyboard's memory and its factory contents.
//
// Factory state:
//   firmware version 01 0A, layout mode 3 (80H flags byte 06H),
//   option bytes 00 01 00, sensitivity 02, every macro slot empty (zeros),
//   3 profiles, profile 0 current.
// Profile k (also what 13H restores):
//   LED type     type 2k+1, brightness 4 - k%4, speed {2,3,1}[k%3],
//                direction k%2, color 2k%7, bl0 1 when k%3 == 2, bl1 0:
//                profile 0: 01 04 02 00 00 00 00
//                profile 1: 03 03 03 01 02 00 00
//                profile 2: 05 02 01 00 04 01 00
//   colours      a rainbow on the 0-63 scale (red, orange, yellow, green,
//                cyan, blue, violet) starting k colours further on
//   key matrix   the shipped 104-key layout as the keyboard holds it (see
//                FactoryKeys: entry 0 is 0029H, Esc; Fn is F000H; positions
//                without a key 0000H); profiles with k%3 == 1 have Left Ctrl
//                on Caps Lock, k%3 == 2 the arrows on W A S D
//   pictures     k%3 == 0: none; k%3 == 1: picture 0, a gradient;
//                k%3 == 2: picture 0 lights W A S D in plane 0, picture 1
//                every key at 20H in every plane

#include "q3sim.h"

#include <algorithm>

namespace q3sim {

namespace {

// The key matrix a Q3 with the shipped layout holds from the factory, 128
// entries of 16 bits in the positions the keyboard uses: 16 x row + column
// of the drawing, after the firmware's entry shift (entry 93 holds what the
// host calls 77, 77 what it calls 61, 61 what it calls 45, and 45 stays), so
// that sending the factory layout back changes nothing.
constexpr std::size_t KeyPositions = 128;
constexpr unsigned short FactoryKeys[KeyPositions] = {
    // row 0: Esc, F1-F12, Print Screen, Scroll Lock, Pause
    0x0029, 0x003a, 0x003b, 0x003c, 0x003d, 0x003e, 0x003f, 0x0040, 0x0041, 0x0042, 0x0043, 0x0044, 0x0045, 0x0046, 0x0047, 0x0048,
    // row 1: ` 1-0 - = Backspace, Insert, Home
    0x0035, 0x001e, 0x001f, 0x0020, 0x0021, 0x0022, 0x0023, 0x0024, 0x0025, 0x0026, 0x0027, 0x002d, 0x002e, 0x002a, 0x0049, 0x004a,
    // row 2: Tab Q-P [ ] \, Delete, End
    0x002b, 0x0014, 0x001a, 0x0008, 0x0015, 0x0017, 0x001c, 0x0018, 0x000c, 0x0012, 0x0013, 0x002f, 0x0030, 0x0031, 0x004c, 0x004d,
    // row 3: Caps Lock A-L ; ', entry 61 a copy of entry 45 (\)
    0x0039, 0x0004, 0x0016, 0x0007, 0x0009, 0x000a, 0x000b, 0x000d, 0x000e, 0x000f, 0x0033, 0x0034, 0x0000, 0x0031, 0x0000, 0x0000,
    // row 4: Left Shift Z-M , . / Right Shift, entry 77 Enter, Up, Right
    0x00e1, 0x001d, 0x001b, 0x0006, 0x0019, 0x0005, 0x0011, 0x0010, 0x0036, 0x0037, 0x0038, 0x00e5, 0x0000, 0x0028, 0x0052, 0x004f,
    // row 5: Left Ctrl, Left GUI, Left Alt, Space, Right Alt, Fn (F000H), Menu, Right Ctrl, Left, Down
    0x00e0, 0x00e3, 0x00e2, 0x0000, 0x0000, 0x002c, 0x0000, 0x0000, 0x00e6, 0xf000, 0x0065, 0x00e4, 0x0000, 0x0000, 0x0050, 0x0051,
    // row 6: the keypad column by column: Num Lock 7 4 1 0, / 8 5 2, * 9 6 3 ., - +
    0x0053, 0x005f, 0x005c, 0x0059, 0x0062, 0x0054, 0x0060, 0x005d, 0x005a, 0x0055, 0x0061, 0x005e, 0x005b, 0x0063, 0x0056, 0x0057,
    // row 7: Page Up, Page Down, keypad Enter
    0x004b, 0x004e, 0x0000, 0x0058, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000,
};

constexpr unsigned short CapsLock = 0x39, LeftCtrl = 0xe0;
constexpr unsigned short KeyW = 0x1a, KeyA = 0x04, KeyS = 0x16, KeyD = 0x07;
constexpr unsigned short Up = 0x52, Left = 0x50, Down = 0x51, Right = 0x4f;

int position(unsigned short usage)
{
    return static_cast<int>(std::find(std::begin(FactoryKeys), std::end(FactoryKeys), usage)
                            - std::begin(FactoryKeys));
}

constexpr unsigned char Rainbow[7][3] = {
    {63, 0, 0}, {63, 31, 0}, {63, 63, 0}, {0, 63, 0}, {0, 63, 63}, {0, 0, 63}, {39, 0, 63},
};

} // namespace

unsigned short Profile::keyEntry(int position) const
{
    return static_cast<unsigned short>(keyMatrix.at(2 * position) | keyMatrix.at(2 * position + 1) << 8);
}

bool Profile::pictureEmpty(int index) const
{
    for (const auto& plane : pictures.at(index))
        if (std::any_of(plane.begin(), plane.end(), [](unsigned char b) { return b != 0; }))
            return false;
    return true;
}

bool Profile::operator==(const Profile& other) const
{
    return ledType == other.ledType && colours == other.colours && keyMatrix == other.keyMatrix
        && pictures == other.pictures;
}

bool KeyboardState::macroEmpty(int slot) const
{
    const auto& macro = macros.at(slot);
    return std::all_of(macro.begin(), macro.end(), [](unsigned char b) { return b == 0; });
}

bool KeyboardState::operator==(const KeyboardState& other) const
{
    return profiles == other.profiles && currentProfile == other.currentProfile
        && firmwareVersion == other.firmwareVersion && layoutMode == other.layoutMode
        && options == other.options && sensitivity == other.sensitivity && macros == other.macros
        && stopMacroRequests == other.stopMacroRequests && bootLoaderRequests == other.bootLoaderRequests
        && bootLoaderSignature == other.bootLoaderSignature
        && bootLoaderSignatureMatched == other.bootLoaderSignatureMatched
        && recoveryRequests == other.recoveryRequests;
}

Profile KeyboardState::factoryProfile(int k)
{
    static constexpr unsigned char Speeds[3] = {2, 3, 1};
    Profile profile;
    profile.ledType = {static_cast<unsigned char>(2 * k + 1), static_cast<unsigned char>(4 - k % 4),
                       Speeds[k % 3], static_cast<unsigned char>(k % 2),
                       static_cast<unsigned char>(2 * k % 7), static_cast<unsigned char>(k % 3 == 2),
                       0};

    for (int colour = 0; colour < 7; ++colour)
        for (int component = 0; component < 3; ++component)
            profile.colours[3 * colour + component] = Rainbow[(colour + k) % 7][component];

    unsigned short keys[KeyPositions] = {};
    std::copy(std::begin(FactoryKeys), std::end(FactoryKeys), keys);
    if (k % 3 == 1) {
        keys[position(CapsLock)] = LeftCtrl;
    } else if (k % 3 == 2) {
        keys[position(KeyW)] = Up;
        keys[position(KeyA)] = Left;
        keys[position(KeyS)] = Down;
        keys[position(KeyD)] = Right;
    }
    for (std::size_t i = 0; i < KeyPositions; ++i) {
        profile.keyMatrix[2 * i] = static_cast<unsigned char>(keys[i] & 0xff);
        profile.keyMatrix[2 * i + 1] = static_cast<unsigned char>(keys[i] >> 8);
    }

    if (k % 3 == 1) {
        for (int plane = 0; plane < Profile::PicturePlanes; ++plane)
            for (std::size_t p = 0; p < KeyPositions; ++p)
                if (FactoryKeys[p])
                    profile.pictures[0][plane][p] = static_cast<unsigned char>((p + 16 * plane) % 64);
    } else if (k % 3 == 2) {
        for (unsigned short key : {KeyW, KeyA, KeyS, KeyD})
            profile.pictures[0][0][position(key)] = 63;
        for (auto& plane : profile.pictures[1])
            for (std::size_t p = 0; p < KeyPositions; ++p)
                if (FactoryKeys[p])
                    plane[p] = 0x20;
    }
    return profile;
}

KeyboardState KeyboardState::factory(int profiles)
{
    KeyboardState state;
    for (int k = 0; k < profiles; ++k)
        state.profiles.push_back(factoryProfile(k));
    state.firmwareVersion = {0x01, 0x0a};
    state.layoutMode = 3;
    state.options = {0x00, 0x01, 0x00};
    state.sensitivity = 0x02;
    return state;
}

} // namespace q3sim
