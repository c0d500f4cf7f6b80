#pragma once

#include <QString>
#include <QStringList>
#include <QVariantMap>

// Language files "lang_<code>.ini" (code = three digits of a language
// number and three of a country number, in Qt 4's locale numbering).
namespace LanguageFiles {

// Bound on "font/total".
constexpr int maxStrings = 10000;

struct Strings
{
    QStringList strings;   // font family, then strings 1 … N
    QStringList messages;  // msg/0 … msg/3
    bool verified = false; // the check value matches "font/cs"
};

// Display name → code, ordered by display name; a later file with the same
// display name replaces an earlier one.
QVariantMap list(const QString& folder);

// "ENGLISH", "CHINESE (Simp)", "ENGLISH (UNITED STATES)", …
QString displayName(const QString& code);

Strings load(const QString& folder, const QString& code);
// The file of a language code: "<folder>/lang_<code>.ini".
QString fileOf(const QString& folder, const QString& code);
// False for a code that would name a file outside the folder.
bool isSafeCode(const QString& code);

// The check value of strings whose lengths add up to sum.
QString checkValue(int sum);

}
