#include "bridge/LanguageFiles.h"

#include "storage/DataFileCheck.h"

#include <QDir>
#include <QHash>
#include <QLocale>
#include <QSettings>

namespace {

// Qt 4's numbering of languages and countries, with the names its locale
// class gave them. Later Qt versions renumbered some entries and renamed
// others, so the files' codes are looked up here first.
const QHash<uint, QString>& languageNames()
{
    static const QHash<uint, QString> names{
        {8, "ARABIC"}, {25, "CHINESE"}, {28, "CZECH"}, {29, "DANISH"}, {30, "DUTCH"},
        {31, "ENGLISH"}, {36, "FINNISH"}, {37, "FRENCH"}, {42, "GERMAN"}, {43, "GREEK"},
        {48, "HEBREW"}, {50, "HUNGARIAN"}, {52, "INDONESIAN"}, {58, "ITALIAN"},
        {59, "JAPANESE"}, {66, "KOREAN"}, {85, "NORWEGIAN"}, {89, "PERSIAN"}, {90, "POLISH"},
        {91, "PORTUGUESE"}, {95, "ROMANIAN"}, {96, "RUSSIAN"}, {111, "SPANISH"},
        {114, "SWEDISH"}, {120, "THAI"}, {125, "TURKISH"}, {129, "UKRAINIAN"},
        {132, "VIETNAMESE"}};
    return names;
}

const QHash<uint, QString>& countryNames()
{
    static const QHash<uint, QString> names{
        {13, "AUSTRALIA"}, {14, "AUSTRIA"}, {21, "BELGIUM"}, {30, "BRAZIL"}, {38, "CANADA"},
        {44, "CHINA"}, {74, "FRANCE"}, {82, "GERMANY"}, {97, "HONG KONG"}, {105, "ISRAEL"},
        {106, "ITALY"}, {108, "JAPAN"}, {114, "REPUBLIC OF KOREA"}, {139, "MEXICO"},
        {151, "NETHERLANDS"}, {173, "PORTUGAL"}, {178, "RUSSIAN FEDERATION"},
        {190, "SINGAPORE"}, {197, "SPAIN"}, {206, "SWITZERLAND"}, {208, "TAIWAN"},
        {224, "UNITED KINGDOM"}, {225, "UNITED STATES"}};
    return names;
}

QString languageName(uint number)
{
    const auto it = languageNames().constFind(number);
    if (it != languageNames().constEnd())
        return *it;
    return QLocale::languageToString(QLocale::Language(number)).toUpper();
}

QString countryName(uint number)
{
    const auto it = countryNames().constFind(number);
    if (it != countryNames().constEnd())
        return *it;
    return QLocale::countryToString(QLocale::Country(number)).toUpper();
}

}

QString LanguageFiles::displayName(const QString& code)
{
    const uint language = code.left(3).toUInt();
    const uint country = code.mid(3, 3).toUInt();
    QString name = languageName(language);
    if (country == 44)
        name += " (Simp)";
    else if (country == 208)
        name += " (Trad)";
    else if (country != 0)
        name += " (" + countryName(country) + ")";
    return name;
}

QVariantMap LanguageFiles::list(const QString& folder)
{
    QVariantMap languages;
    const QStringList entries =
        QDir(folder).entryList({"lang_*.ini"}, QDir::Files, QDir::Name | QDir::IgnoreCase);
    for (const QString& entry : entries) {
        const QString code = entry.mid(5, 6);
        languages.insert(displayName(code), code);
    }
    return languages;
}

QString LanguageFiles::checkValue(int sum)
{
    const auto low = [](qint64 v) { return QString::number(uint(v) & 0xFF); };
    const qint64 s = sum;
    return low(s + 74) + low(s - 69) + low(s * 70) + low(s / 70);
}

LanguageFiles::Strings LanguageFiles::load(const QString& folder, const QString& code)
{
    // A code that would name a file outside the folder reads as a missing file.
    const bool outside = !isSafeCode(code);
    QSettings ini(outside ? QString() : DataFileCheck::parsable(fileOf(folder, code)), QSettings::IniFormat);
    ini.setIniCodec("UTF-8");

    Strings result;
    result.strings << ini.value("font/family").toString();
    const int total = qBound(0, ini.value("font/total", 0).toInt(), maxStrings);
    const QString cs = ini.value("font/cs").toString();
    int sum = 0;
    for (int i = 1; i <= total; ++i) {
        const QString s = ini.value(QString("strings/%1").arg(i)).toString();
        result.strings << s;
        sum += s.size();
    }
    for (int i = 0; i < 4; ++i)
        result.messages << ini.value(QString("msg/%1").arg(i)).toString();
    result.verified = checkValue(sum) == cs;
    return result;
}

bool LanguageFiles::isSafeCode(const QString& code)
{
    return !code.contains('/') && !code.contains('\\') && !code.contains("..");
}

QString LanguageFiles::fileOf(const QString& folder, const QString& code)
{
    return folder + "/lang_" + code + ".ini";
}
