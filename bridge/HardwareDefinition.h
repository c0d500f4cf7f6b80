#pragma once

#include <QString>
#include <QVariantList>
#include <QVector>

// The keyboard drawing of one layout from the hardware definition file:
// [total_HW, total_FW, then x, y, keyType, name, matrix, keyCode per key].
namespace HardwareDefinition {

// Bound on "total_HW": more keys than this are not read.
constexpr int maxKeys = 512;
// Bound on "total_FW", the firmware's matrix positions.
constexpr int maxMatrix = 256;

QVariantList load(const QString& hwDefFile, int hwMode);

// The default code of matrix positions 0 … count-1 in a list from load(), as
// the key drawing takes them: a later key of the same position wins; a
// position no key names is 0.
QVector<int> defaultCodes(const QVariantList& loaded, int count);

}
