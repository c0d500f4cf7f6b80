#pragma once

// Stands in for the platform back end in tests of the portable part: counts
// installations and can be told to fail them. No events come from it; the
// tests call the procedures themselves.
namespace StubPlatform {
extern int installs;
extern int uninstalls;
extern bool failInstall;
void reset();
}
