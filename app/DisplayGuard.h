#pragma once

// Guards the creation of the application object: when the windowing system
// cannot be reached (no display, or none behind DISPLAY), the toolkit ends
// the process with its platform-plugin text and an abort. While a guard
// exists that ending is replaced by one plain line on standard error and
// exit status 1. Messages of the toolkit that are not fatal are held and
// handed on when the guard ends.
class DisplayGuard
{
public:
    DisplayGuard();
    ~DisplayGuard();
    DisplayGuard(const DisplayGuard&) = delete;
    DisplayGuard& operator=(const DisplayGuard&) = delete;
};
