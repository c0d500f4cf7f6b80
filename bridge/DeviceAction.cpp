#include "bridge/DeviceAction.h"

void DeviceAction::begin(const QString& actionName)
{
    if (depth++ == 0) {
        name = actionName;
        parts.clear();
    }
}

bool DeviceAction::end()
{
    if (depth == 0)
        return false;
    return --depth == 0;
}

void DeviceAction::add(const QString& part, const QFuture<int>& transfer)
{
    parts.append(Part{part, transfer, TransferFailure::None, true});
}

void DeviceAction::add(const QString& part, TransferFailure outcome)
{
    parts.append(Part{part, QFuture<int>(), outcome, false});
}

DeviceAction::Outcome DeviceAction::finish()
{
    Outcome outcome;
    outcome.action = name;
    outcome.transfers = parts.size();
    for (Part& p : parts) {
        TransferFailure why = p.known;
        if (p.pending) {
            p.transfer.waitForFinished();
            why = p.transfer.resultCount() > 0 ? TransferFailure(p.transfer.result()) : TransferFailure::NoAnswer;
        }
        if (why != TransferFailure::None && outcome.ok) {
            outcome.ok = false;
            outcome.part = p.name;
            outcome.reason = why;
        }
    }
    parts.clear();
    depth = 0;
    return outcome;
}
