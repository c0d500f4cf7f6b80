#pragma once

#include "device/TransferOutcome.h"

#include <QFuture>
#include <QList>
#include <QString>

// One user action (an Apply, ALL SAVE, a profile switch, …) made of the
// transfers it started, and how it ended: it succeeded only when every one
// of them did, and a failure names the first part that did not reach the
// keyboard. Actions nest: what begins inside an action is part of it.
class DeviceAction
{
public:
    struct Outcome
    {
        QString action;  // "allSave", "lighting", "profile", …
        bool ok = true;
        QString part;    // the first part that failed: "keys", "colours", …
        TransferFailure reason = TransferFailure::None;
        int transfers = 0;
    };

    void begin(const QString& name);
    // True when the outermost action ended: finish() then gives its outcome.
    bool end();
    bool active() const { return depth > 0; }

    // A set command of the action; its transfer may still run.
    void add(const QString& part, const QFuture<int>& transfer);
    // A part whose outcome is known already (a query, a command not started).
    void add(const QString& part, TransferFailure outcome);

    // Waits for the action's transfers and gives its outcome; the action is
    // then empty again.
    Outcome finish();

private:
    struct Part
    {
        QString name;
        QFuture<int> transfer;
        TransferFailure known = TransferFailure::None;
        bool pending = false;
    };
    QString name;
    int depth = 0;
    QList<Part> parts;
};
