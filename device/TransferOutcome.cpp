#include "device/TransferOutcome.h"

const char* transferFailureName(TransferFailure failure)
{
    switch (failure) {
    case TransferFailure::None: return "done";
    case TransferFailure::NoKeyboard: return "no keyboard connected";
    case TransferFailure::AccessDenied: return "access refused";
    case TransferFailure::NoAnswer: return "the keyboard did not answer";
    case TransferFailure::LinkLost: return "the keyboard was lost during the transfer";
    case TransferFailure::Refused: return "the keyboard refused the data";
    case TransferFailure::NotVerified: return "the language file failed its check";
    }
    return "unknown";
}
