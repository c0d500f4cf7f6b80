#pragma once

#include <QByteArray>

// Qt's settings reader turns a value that reads "@Variant(…)" or
// "@DateTime(…)", once its escapes and quotes are undone, into whatever
// type the bytes inside name, through Qt's binary stream readers. Those
// readers trust the counts they find, and Qt's graphics types among them
// crash on absurd ones. The program never writes such a value (it stores
// numbers, text and flat lists of them), so a file holding one is not its
// own and must not reach the settings reader.
namespace StreamedValueScan {

// Whether `text`, read as a settings file, holds such a value: a value, or
// an item of a comma list, that starts with one of the markers once it is
// unescaped as the settings reader unescapes it.
bool found(const QByteArray& text);

}
