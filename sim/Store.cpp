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
//   key matrix   a 104-key layout row by row in positions 0-103 (entry 0 is
//                0029H, Esc), 104-127 no key (0000H); profiles
//                with k%3 == 1 have Left Ctrl on Caps Lock, k%3 == 2 the
//                arrows on W A S D
//   pictures     k%3 == 0: none; k%3 == 1: picture 0, a gradient;
//                k%3 == 2: picture 0 lights W A S D in plane 0, picture 1
//                every key at 20H in every plane

#include "q3sim.h"

#include <algorithm>

namespace q3sim {

namespace {

// USB HID usages (keyboard page) of a full-size keyboard, row by row.
constexpr unsigned char Layout[] = {
    // Esc, F1-F12, Print Screen, Scroll Lock, Pause
    0x29, 0x3a, 0x3b, 0x3c, 0x3d, 0x3e, 0x3f, 0x40, 0x41, 0x42, 0x43, 0x44, 0x45, 0x46, 0x47, 0x48,
    // ` 1-0 - = Backspace, Insert Home Page Up, Num Lock, keypad / * -
    0x35, 0x1e, 0x1f, 0x20, 0x21, 0x22, 0x23, 0x24, 0x25, 0x26, 0x27, 0x2d, 0x2e, 0x2a,
    0x49, 0x4a, 0x4b, 0x53, 0x54, 0x55, 0x56,
    // Tab Q-P [ ] \, Delete End Page Down, keypad 7 8 9 +
    0x2b, 0x14, 0x1a, 0x08, 0x15, 0x17, 0x1c, 0x18, 0x0c, 0x12, 0x13, 0x2f, 0x30, 0x31,
    0x4c, 0x4d, 0x4e, 0x5f, 0x60, 0x61, 0x57,
    // Caps Lock A-L ; ' Enter, keypad 4 5 6
    0x39, 0x04, 0x16, 0x07, 0x09, 0x0a, 0x0b, 0x0d, 0x0e, 0x0f, 0x33, 0x34, 0x28, 0x5c, 0x5d, 0x5e,
    // Left Shift Z-M , . / Right Shift, Up, keypad 1 2 3 Enter
    0xe1, 0x1d, 0x1b, 0x06, 0x19, 0x05, 0x11, 0x10, 0x36, 0x37, 0x38, 0xe5, 0x52, 0x59, 0x5a, 0x5b, 0x58,
    // Left Ctrl, Left GUI, Left Alt, Space, Right Alt, Right GUI, Menu, Right Ctrl,
    // Left Down Right, keypad 0 .
    0xe0, 0xe3, 0xe2, 0x2c, 0xe6, 0xe7, 0x65, 0xe4, 0x50, 0x51, 0x4f, 0x62, 0x63,
};
static_assert(sizeof Layout == 104, "a 104-key layout");

constexpr unsigned char CapsLock = 0x39, LeftCtrl = 0xe0;
constexpr unsigned char KeyW = 0x1a, KeyA = 0x04, KeyS = 0x16, KeyD = 0x07;
constexpr unsigned char Up = 0x52, Left = 0x50, Down = 0x51, Right = 0x4f;

int position(unsigned char usage)
{
    return static_cast<int>(std::find(std::begin(Layout), std::end(Layout), usage) - std::begin(Layout));
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

    unsigned char keys[Profile::PlaneSize] = {};
    std::copy(std::begin(Layout), std::end(Layout), keys);
    if (k % 3 == 1) {
        keys[position(CapsLock)] = LeftCtrl;
    } else if (k % 3 == 2) {
        keys[position(KeyW)] = Up;
        keys[position(KeyA)] = Left;
        keys[position(KeyS)] = Down;
        keys[position(KeyD)] = Right;
    }
    for (std::size_t i = 0; i < Profile::PlaneSize; ++i) {
        profile.keyMatrix[2 * i] = keys[i];
        profile.keyMatrix[2 * i + 1] = 0;
    }

    if (k % 3 == 1) {
        for (int plane = 0; plane < Profile::PicturePlanes; ++plane)
            for (std::size_t p = 0; p < sizeof Layout; ++p)
                profile.pictures[0][plane][p] = static_cast<unsigned char>((p + 16 * plane) % 64);
    } else if (k % 3 == 2) {
        for (unsigned char key : {KeyW, KeyA, KeyS, KeyD})
            profile.pictures[0][0][position(key)] = 63;
        for (auto& plane : profile.pictures[1])
            std::fill(plane.begin(), plane.begin() + sizeof Layout, 0x20);
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
