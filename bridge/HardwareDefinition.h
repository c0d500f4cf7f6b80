#pragma once

#include <QString>
#include <QVariantList>

// The keyboard drawing of one layout from the hardware definition file:
// [total_HW, total_FW, then x, y, keyType, name, matrix, keyCode per key].
namespace HardwareDefinition {

// Bound on "total_HW": more keys than this are not read.
constexpr int maxKeys = 512;
// Bound on "total_FW", the firmware's matrix positions.
constexpr int maxMatrix = 256;

QVariantList load(const QString& hwDefFile, int hwMode);

}
