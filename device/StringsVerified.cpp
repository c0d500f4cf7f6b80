#include "device/StringsVerified.h"

std::atomic<bool>& stringsVerified()
{
    static std::atomic<bool> verified{true};
    return verified;
}
