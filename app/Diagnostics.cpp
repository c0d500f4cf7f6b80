#include "app/Diagnostics.h"

#include "bridge/LanguageFiles.h"
#include "device/DevInfo.h"
#include "device/Hid_Thread.h"
#include "device/OpenFailure.h"
#include "storage/DataFileCheck.h"
#include "storage/DataPaths.h"

#include <hidapi.h>

#include <QDir>
#include <QSettings>
#include <QTextStream>

#include <cerrno>

#ifndef Q3CONFIG_VERSION
#define Q3CONFIG_VERSION "unknown"
#endif

namespace {

QString hex4(uint value)
{
    return QString("%1").arg(value, 4, 16, QChar('0'));
}

QString fromWide(const wchar_t* text)
{
    return text ? QString::fromWCharArray(text) : QString();
}

struct Interface
{
    QString path;
    quint16 usagePage = 0;
    quint16 usage = 0;
    int number = -1;
    QString role;
    OpenFailure::Reason failure = OpenFailure::Reason::None;
    QString why;
};

Interface probe(const hid_device_info* info, const DevInfo& entry)
{
    Interface i;
    i.path = QString::fromLocal8Bit(info->path);
    i.usagePage = info->usage_page;
    i.usage = info->usage;
    i.number = info->interface_number;
    if (i.usagePage == entry.usagePage && i.usage == entry.usage)
        i.role = "commands";
    else if (i.usagePage == entry.usagePage2 && i.usage == entry.usage2)
        i.role = "events";
    else
        i.role = "not used by q3config";

    errno = 0;
    hid_device* h = hid_open_path(info->path);
    const int openErrno = errno;
    if (h) {
        hid_close(h);
        i.why = "opens";
        return i;
    }
    i.failure = OpenFailure::classify(openErrno, i.path);
    i.why = OpenFailure::describe(i.failure, openErrno);
    const QString hidapiMessage = fromWide(hid_error(nullptr));
    if (i.failure != OpenFailure::Reason::PermissionDenied && !hidapiMessage.isEmpty()
        && hidapiMessage != "Success") {
        i.why += " (" + hidapiMessage + ")";
    }
    return i;
}

// The language the program shows: entry [4] of its settings is a position
// in the language list, ordered by display name.
QString languageInUse(const QVariantMap& languages)
{
    QSettings settings(DataFileCheck::parsable(DataPaths::appSettings()), QSettings::IniFormat);
    bool ok = false;
    const int position = settings.value("common/4").toInt(&ok);
    const QVariantList codes = languages.values();
    if (!ok || position < 0 || position >= codes.size())
        return QString();
    return codes.at(position).toString();
}

} // namespace

QString Diagnostics::accessAdvice()
{
    return QStringLiteral(
        "Install q3config's udev rule (70-q3config.rules, part of the package) and reload it with\n"
        "  sudo udevadm control --reload-rules && sudo udevadm trigger --subsystem-match=hidraw\n"
        "or unplug the keyboard and plug it in again.");
}

int Diagnostics::run(QTextStream& out, const DataFolder::Choice& folder, KeyCapture capture)
{
    out << "q3config " << Q3CONFIG_VERSION << "\n";
    out << "hidapi " << hid_version_str() << "\n";
    out << "data folder: " << QDir::toNativeSeparators(QDir::currentPath());
    if (folder.perUser)
        out << " (per user; shipped data in " << QDir::toNativeSeparators(folder.shippedModules) << ")";
    out << "\n";

    // The keyboard: every HID interface it shows, and whether it opens.
    const QList<DevInfo> catalogue = DevInfoCatalogue::read(":/DevInfo.ini");
    if (catalogue.isEmpty()) {
        out << "result: the device catalogue is empty; this build is damaged\n";
        return NotUsable;
    }
    const DevInfo& entry = catalogue.first();
    out << "keyboard " << hex4(entry.vid) << ":" << hex4(entry.pid) << ":\n";
    QList<Interface> interfaces;
    hid_device_info* list = hid_enumerate(entry.vid, entry.pid);
    for (const hid_device_info* info = list; info; info = info->next)
        interfaces << probe(info, entry);
    hid_free_enumeration(list);
    if (interfaces.isEmpty())
        out << "  not found\n";
    bool commandOk = false, eventOk = false, found[2] = {false, false}, denied = false;
    for (const Interface& i : interfaces) {
        out << "  " << i.path << "  usage page " << hex4(i.usagePage) << " usage " << hex4(i.usage);
        if (i.number >= 0)
            out << "  interface " << i.number;
        out << "  " << i.role << ": " << i.why << "\n";
        const bool opens = i.failure == OpenFailure::Reason::None;
        denied = denied || i.failure == OpenFailure::Reason::PermissionDenied;
        if (i.role == "commands") {
            found[0] = true;
            commandOk = commandOk || opens;
        } else if (i.role == "events") {
            found[1] = true;
            eventOk = eventOk || opens;
        }
    }

    // Firmware and profile, when the keyboard answers.
    bool answers = false;
    if (commandOk && eventOk) {
        Hid_Thread link;
        link.refreshDevices(catalogue);
        const ushort unanswered = 0xFFFF;
        ushort version = unanswered;
        uchar layout = 0;
        link.hid_80H_GetFWVersion(version, layout);
        answers = version != unanswered;
        if (answers) {
            uchar profile = 0;
            link.hid_A1H_GetCurrentProfile(profile);
            out << "firmware: " << QString("%1 %2").arg(version >> 8, 2, 16, QChar('0'))
                                       .arg(version & 0xFF, 2, 16, QChar('0')).toUpper()
                << ", layout mode " << layout << "\n";
            out << "current profile: " << (profile + 1) << "\n";
        } else {
            out << "firmware: the keyboard does not answer\n";
        }
    }

    // Language files: a file whose check value does not match stops every
    // exchange with the keyboard while it is the language in use.
    const QString languageFolder = DataPaths::languageFolder();
    const QVariantMap languages = LanguageFiles::list(languageFolder);
    const QString inUse = languageInUse(languages);
    bool inUseVerified = true;
    out << "language files:" << (languages.isEmpty() ? " none\n" : "\n");
    for (auto it = languages.constBegin(); it != languages.constEnd(); ++it) {
        const QString code = it.value().toString();
        const bool verified = LanguageFiles::load(languageFolder, code).verified;
        out << "  lang_" << code << ".ini  " << it.key() << ": "
            << (verified ? "check value ok" : "check value WRONG") << (code == inUse ? " (in use)" : "")
            << "\n";
        if (code == inUse)
            inUseVerified = verified;
    }

    out << "key capture: ";
    switch (capture) {
    case KeyCapture::SystemWide:
#ifdef _WIN32
        out << "low-level hooks (system-wide)\n";
#else
        out << "XInput 2.2 (system-wide)\n";
#endif
        break;
    case KeyCapture::WindowOnly:
        out << "window-only (keys reach the program only while its window has the focus)\n";
        break;
    case KeyCapture::None:
        out << "none (no display)\n";
        break;
    }

    out << "result: ";
    if (interfaces.isEmpty() || (!found[0] && !found[1])) {
        out << "no Q3 keyboard found; plug it in\n";
        return NotUsable;
    }
    if (!found[0] || !found[1]) {
        out << "the keyboard shows only its " << (found[0] ? "command" : "event")
            << " interface; unplug it and plug it in again\n";
        return NotUsable;
    }
    if (!commandOk || !eventOk) {
        if (denied) {
            out << "the keyboard is connected, but this user may not open it (permission denied).\n"
                << accessAdvice() << "\n";
        } else {
            out << "the keyboard is connected, but its interfaces cannot be opened\n";
        }
        return NotUsable;
    }
    if (!answers) {
        out << "the keyboard does not answer; unplug it and plug it in again\n";
        return NotUsable;
    }
    if (!inUseVerified) {
        out << "the language in use (lang_" << inUse << ".ini) fails its check value, so the "
            << "program sends nothing to the keyboard; choose another language or reinstall\n";
        return NotUsable;
    }
    out << "keyboard usable\n";
    return Usable;
}
