#pragma once

#include "bridge/KeyboardDifferences.h"
#include "device/TransferOutcome.h"

#include <QHash>
#include <QString>
#include <QStringList>

// The texts of the window's notices and of its keyboard indicator, from the
// "notice" group of a language file (outside its checked strings), English
// where the file has none.
class NoticeTexts
{
public:
    // English only.
    NoticeTexts();
    // The language of "lang_<code>.ini" in languageFolder over English.
    static NoticeTexts load(const QString& languageFolder, const QString& code);

    // "The keyboard did not take the change" / "<What> did not reach the
    // keyboard: <why and what to do>". part: "keys", "colours", "picture",
    // "lighting", "macro", "profile", "gamingMode", "readBack", …
    QString failureTitle() const;
    QString failure(const QString& part, TransferFailure reason) const;
    // An Apply without a keyboard: kept in the program, sent at the next Apply.
    QString offlineTitle() const;
    QString offline() const;
    QString storageTitle() const;
    QString storage(const QString& folder) const;
    QString confirmation() const;
    // The keyboard holds for profile number `profile` (1 …) something else
    // than the program: "… differ in: key assignments, the macro on slot 3."
    QString differencesTitle() const;
    QString differences(int profile, const KeyboardDifferences::Found& found) const;
    // The captions of the two ways out: the keyboard's, this profile's.
    QStringList differenceChoices() const;
    // 0 not connected, 1 connected, 2 connected but access refused.
    QString keyboard(int state) const;

    QString value(const QString& key) const { return texts.value(key); }

private:
    QHash<QString, QString> texts;
};
