#include "app/DeviceNotice.h"

#include "bridge/DataFileCheck.h"
#include "bridge/LanguageFiles.h"
#include "device/TransferOutcome.h"

#include <QMap>
#include <QSettings>

namespace {

const QMap<QString, QString>& englishWhat()
{
    static const QMap<QString, QString> what{
        {"profile", "The profile switch"},
        {"gamingMode", "GAMING MODE"},
    };
    return what;
}

QString englishReason(int reason)
{
    switch (TransferFailure(reason)) {
    case TransferFailure::NoKeyboard:
        return "no keyboard is connected. Connect the keyboard and try again.";
    case TransferFailure::AccessDenied:
        return "this user may not use the keyboard. Give this user access to it (see the "
               "q3config package's udev rule), then unplug the keyboard and plug it in again.";
    case TransferFailure::NoAnswer:
        return "the keyboard did not answer. Unplug it, plug it in and try again.";
    case TransferFailure::LinkLost:
        return "the keyboard was disconnected during the transfer. Plug it in and try again.";
    case TransferFailure::Refused:
        return "the keyboard refused the data. Unplug it, plug it in and try again.";
    case TransferFailure::NotVerified:
        return "the language file failed its check, so nothing is written to the keyboard. "
               "Choose a language again in the settings.";
    case TransferFailure::None:
        break;
    }
    return "the keyboard did not take it. Try again.";
}

}

WindowNotice::Texts DeviceNotice::texts(const QString& languageFolder, const QString& code,
                                        const QString& action, int reason)
{
    Texts t = textsOf(languageFolder, code, "deviceTitle", "deviceText",
                      "The keyboard did not take the change", "%1 did not reach the keyboard: %2");
    QString what = englishWhat().value(action, action);
    QString why = englishReason(reason);
    const bool plainCode = !code.isEmpty() && !code.contains('/') && !code.contains('\\') && !code.contains("..");
    if (plainCode) {
        QSettings ini(DataFileCheck::parsable(LanguageFiles::fileOf(languageFolder, code)),
                      QSettings::IniFormat);
        ini.setIniCodec("UTF-8");
        what = ini.value("notice/what_" + action, what).toString();
        why = ini.value(QString("notice/reason_%1").arg(reason), why).toString();
    }
    t.text = t.text.arg(what, why);
    return t;
}

DeviceNotice::DeviceNotice(const Texts& texts, const QString& action, QWidget* window)
    : WindowNotice(texts, window, "deviceNotice", Place::Bottom)
    , action(action)
{
}
