#pragma once

// What a key of the key matrix does: a 16-bit assignment code, kept in a
// profile as two values (low byte, high byte) and sent to the keyboard in
// the same order. Bits 15-12 give its kind:
//   0  an ordinary key, bits 7-0 the keyboard usage (0000H: switched off);
//   3  a media or application key, bits 11-0 the consumer usage;
//   4  a macro key, bits 11-8 the macro's repeat mode, bits 7-0 its slot.
// Other kinds are kept and sent unchanged but offered nowhere.
namespace KeyAssignment {

constexpr int ordinaryKind = 0x0;
constexpr int mediaKind = 0x3;
constexpr int macroKind = 0x4;

constexpr int kindOf(int code) { return (code >> 12) & 0xF; }
constexpr bool isMacro(int code) { return kindOf(code) == macroKind; }

// An ordinary key's usage; a macro key's slot.
constexpr int usageOf(int code) { return code & 0xFF; }
constexpr int slotOf(int code) { return code & 0xFF; }
constexpr int repeatOf(int code) { return (code >> 8) & 0xF; }

// Only codes below 100H are plain keyboard usages: what a key of the
// drawing can give to another.
constexpr bool isUsage(int code) { return code >= 0 && code < 0x100; }

// Slot and repeat mode are cut to their fields.
constexpr int macroKey(int slot, int repeat) { return (macroKind << 12) | ((repeat & 0xF) << 8) | (slot & 0xFF); }

// The profile's and the keyboard's two values of a code; each is cut to a byte.
constexpr int fromBytes(int low, int high) { return (low & 0xFF) | ((high & 0xFF) << 8); }
constexpr int lowByte(int code) { return code & 0xFF; }
constexpr int highByte(int code) { return (code >> 8) & 0xFF; }

}
