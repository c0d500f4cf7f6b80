#pragma once

#include "app/WindowNotice.h"

// The note the window shows when a user action did not reach the keyboard:
// what was not written, why, and what to do. It stays until the user closes
// it or the same action succeeds.
class DeviceNotice : public WindowNotice
{
    Q_OBJECT
public:
    // action: "profile", "gamingMode", …; reason: a TransferFailure. Texts
    // "notice/deviceTitle", "notice/what_<action>" and "notice/reason_<n>"
    // of the language file; English where it has none.
    static Texts texts(const QString& languageFolder, const QString& code, const QString& action,
                       int reason);

    DeviceNotice(const Texts& texts, const QString& action, QWidget* window);

    const QString action;
};
