#pragma once

#include "device/DevInfo.h"

// The catalogue entry of the Q3 keyboard, as the shipped catalogue has it,
// with a report length of choice.
inline DevInfo keyboardEntry(quint32 reportLength = 64)
{
    DevInfo d;
    d.vid = 0x04d9;
    d.pid = 0xa1cd;
    d.usagePage = 0xff01;
    d.usage = 1;
    d.usagePage2 = 0xff02;
    d.usage2 = 1;
    d.reportLength = reportLength;
    return d;
}
