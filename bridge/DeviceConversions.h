#pragma once

#include <QByteArray>
#include <QString>
#include <QVariantList>

#include <array>

// Conversions between the scene's values and the keyboard's buffers. The
// scene holds colour components 0-255, the keyboard 0-63. Values beyond a
// byte are cut to their low byte when they go into a buffer; missing list
// entries count as 0.
namespace DeviceConversions {

// 21 components (seven colours) → the 64-byte seven-colour table.
QByteArray sevenColourTable(const QVariantList& src21);
// The keyboard's seven-colour table → 21 components on the scene's scale.
QVariantList sevenColoursFromDevice(const QByteArray& table64);

// 512 values (mode, R, G, B for each of 128 keys) → four 128-byte planes:
// the modes as they are, then each colour component divided by 4.
std::array<QByteArray, 4> userPicturePlanes(const QVariantList& src512);

// 256 values (entry i at 2i low, 2i+1 high) → the 256 bytes sent to the
// keyboard, with the firmware's fixed entry shift: entry 93 takes entry 77,
// 77 takes 61, 61 takes 45, 45 stays.
QByteArray keyMatrixForDevice(const QVariantList& src256);

// "unknown" for 0, otherwise "HH.LL" in upper-case hex (0x010A gives "01.0A").
QString firmwareVersionText(quint16 version);

QVariantList byteList(const unsigned char* bytes, int count);

// The lighting brightness: the keyboard keeps 0-63, the page's slider has
// eight positions. A stored value shows at round(value * 7 / 63); a position
// goes out as round(position * 63 / 7). A position that still stands where
// the stored value was shown sends the stored value itself, so a brightness
// the user never touched is never changed by Apply. storedBrightness outside
// 0-63 (nothing stored) always sends the position's value.
constexpr int maxBrightness = 63;
constexpr int brightnessPositions = 8;
int brightnessPosition(int storedBrightness);
int brightnessToSend(int position, int storedBrightness);

}
