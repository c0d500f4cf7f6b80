#include "bridge/MacroPageTexts.h"

#include "bridge/LanguageFiles.h"
#include "storage/DataFileCheck.h"

#include <QSettings>

namespace {

const char* const englishRecordDelays = "RECORD DELAYS";

}

MacroPageTexts::MacroPageTexts(QObject* parent)
    : QObject(parent)
    , recordDelaysText(QString::fromLatin1(englishRecordDelays))
{
}

void MacroPageTexts::setLanguage(const QString& languageFolder, const QString& code)
{
    QString text = QString::fromLatin1(englishRecordDelays);
    if (LanguageFiles::isSafeCode(code)) {
        QSettings ini(DataFileCheck::parsable(LanguageFiles::fileOf(languageFolder, code)),
                      QSettings::IniFormat);
        ini.setIniCodec("UTF-8");
        const QString translated = ini.value("macropage/recordDelays").toString();
        if (!translated.isEmpty())
            text = translated;
    }
    if (text == recordDelaysText)
        return;
    recordDelaysText = text;
    emit changed();
}
