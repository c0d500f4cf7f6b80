#include "app/CommandLine.h"

#include "app/DataFolder.h"
#include "app/Diagnostics.h"
#include "input/GlobalInputHook.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>
#include <cstring>

#ifndef Q3CONFIG_VERSION
#define Q3CONFIG_VERSION "unknown"
#endif

namespace {

constexpr int usageError = 2;

const char* const ownOptions[] = {"-h", "--help", "-v", "--version", "--diagnose"};

bool isOwnOption(const char* argument)
{
    for (const char* option : ownOptions)
        if (std::strcmp(argument, option) == 0)
            return true;
    return false;
}

const char* const usage =
    "Usage: q3config [--diagnose | --help | --version]\n"
    "Configuration utility for the Q3 USB gaming keyboard.\n"
    "Without options it opens its window.\n"
    "\n"
    "Options:\n"
    "  --diagnose   print what the program finds (version, data folder, the keyboard's\n"
    "               interfaces and whether they can be opened, firmware, current profile,\n"
    "               language files, key capture) without opening a window; exit status 0\n"
    "               when the keyboard is usable, 1 otherwise\n"
    "  -h, --help   show this help\n"
    "  -v, --version  show the program's version\n"
    "\n"
    "Data: modules/ beside the program when it is writable, otherwise (an installed copy)\n"
    "$XDG_DATA_HOME/q3config, by default ~/.local/share/q3config.\n";

// The same choice the window makes at start: the system-wide capture when it
// can be installed, except for a native Wayland window, which it cannot see;
// otherwise the window's own key events, as long as there is a display.
Diagnostics::KeyCapture keyCapture()
{
    const bool waylandWindow = qEnvironmentVariable("QT_QPA_PLATFORM").startsWith("wayland");
    if (!waylandWindow) {
        GlobalInputHook hook(false);
        const bool systemWide = hook.installHooks();
        hook.uninstallHooks();
        if (systemWide)
            return Diagnostics::KeyCapture::SystemWide;
    }
#ifdef _WIN32
    return Diagnostics::KeyCapture::WindowOnly;
#else
    if (!qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return Diagnostics::KeyCapture::WindowOnly;
    return Diagnostics::KeyCapture::None;
#endif
}

} // namespace

int CommandLine::runWithoutWindow(int argc, char* argv[])
{
    bool ours = false;
    for (int i = 1; i < argc && !ours; ++i)
        ours = isOwnOption(argv[i]);
    if (!ours)
        return -1;

    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("q3config");
    QCoreApplication::setApplicationVersion(Q3CONFIG_VERSION);
    QCommandLineParser parser;
    const QCommandLineOption help(QStringList{"h", "help"});
    const QCommandLineOption version(QStringList{"v", "version"});
    const QCommandLineOption diagnose("diagnose");
    parser.addOptions({help, version, diagnose});
    QTextStream out(stdout);
    if (!parser.parse(QCoreApplication::arguments()) || !parser.positionalArguments().isEmpty()) {
        const QString problem = parser.errorText().isEmpty()
            ? QString("unexpected argument '%1'").arg(parser.positionalArguments().value(0))
            : parser.errorText();
        std::fprintf(stderr, "q3config: %s\n%s", qPrintable(problem), usage);
        return usageError;
    }
    if (parser.isSet(help)) {
        out << usage;
        return 0;
    }
    if (parser.isSet(version)) {
        out << "q3config " << Q3CONFIG_VERSION << "\n";
        return 0;
    }
    const DataFolder::Choice folder = DataFolder::prepare(QCoreApplication::applicationFilePath());
    return Diagnostics::run(out, folder, keyCapture());
}

bool CommandLine::acceptRemaining(const QStringList& arguments)
{
    if (arguments.size() <= 1)
        return true;
    std::fprintf(stderr, "q3config: unknown argument '%s'\n%s", qPrintable(arguments.at(1)), usage);
    return false;
}
