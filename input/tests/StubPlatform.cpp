#include "StubPlatform.h"

#include "input/InputHookPlatform.h"

namespace StubPlatform {
int installs = 0;
int uninstalls = 0;
bool failInstall = false;
bool isInstalled = false;

void reset()
{
    installs = uninstalls = 0;
    failInstall = isInstalled = false;
}
}

bool InputHookPlatform::install()
{
    ++StubPlatform::installs;
    StubPlatform::isInstalled = !StubPlatform::failInstall;
    return StubPlatform::isInstalled;
}

void InputHookPlatform::uninstall()
{
    if (StubPlatform::isInstalled)
        ++StubPlatform::uninstalls;
    StubPlatform::isInstalled = false;
}

bool InputHookPlatform::installed()
{
    return StubPlatform::isInstalled;
}
