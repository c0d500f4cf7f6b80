#pragma once

#include <QString>

// Why hid_open_path refused one of the keyboard's interfaces. hidraw device
// nodes belong to root unless a udev rule grants access, so "permission
// denied" is the failure a user can do something about.
namespace OpenFailure {

enum class Reason { None, PermissionDenied, Other };

// Classifies a failed open from errno as it was right after the call and
// from the path: on Linux a device node the user may not read and write is
// reported as denied even when hidapi did not keep errno intact.
Reason classify(int savedErrno, const QString& path);

// The failure in words, for logs and the diagnostics report.
QString describe(Reason reason, int savedErrno);

}
