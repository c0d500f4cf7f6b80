#pragma once

#include <QMap>
#include <QString>
#include <QVariantList>

// The key-name table: key name to USB key code, from the key code
// definition file's two parallel lists "common/usbStr" and "common/usbCode".
namespace KeyCodeTable {

QVariantList names(const QString& keyCodeDefFile);
QVariantList codes(const QString& keyCodeDefFile);

// Pairs the lists up to the shorter one. Codes are decimal; anything else
// gives 0. A name that occurs twice keeps its last code.
QMap<QString, quint8> build(const QString& keyCodeDefFile);

// Why the file gives no key names, or empty when it does.
QString problem(const QString& keyCodeDefFile);

}
