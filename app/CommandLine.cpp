#include "app/CommandLine.h"

#include "app/DataFolder.h"
#include "app/Diagnostics.h"
#include "input/GlobalInputHook.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

#ifndef Q3CONFIG_VERSION
#define Q3CONFIG_VERSION "unknown"
#endif

namespace {

constexpr int usageError = 2;

// The options the application object takes itself (Qt's, for every
// platform), written with one dash or two, their value after a blank or '='.
struct QtOption {
    const char* name;
    bool takesValue;
};
const QtOption qtOptions[] = {
    {"platform", true}, {"platformpluginpath", true}, {"platformtheme", true}, {"plugin", true},
    {"qwindowgeometry", true}, {"qwindowtitle", true}, {"qwindowicon", true},
    {"qmljsdebugger", true}, {"style", true}, {"stylesheet", true}, {"session", true},
    {"reverse", false}, {"widgetcount", false}, {"testability", false},
    // X11
    {"display", true}, {"geometry", true}, {"title", true}, {"icon", true}, {"name", true},
    {"visual", true}, {"ncols", true}, {"cmap", false}, {"sync", false}, {"nograb", false},
    {"dograb", false},
    // Windows
    {"dialogs", true},
};

// The Qt option an argument names, or nullptr.
const QtOption* qtOption(const QString& argument, bool* valueAttached)
{
    if (!argument.startsWith('-') || argument == "-" || argument == "--")
        return nullptr;
    QString name = argument.mid(argument.startsWith("--") ? 2 : 1);
    *valueAttached = name.contains('=');
    name = name.section('=', 0, 0);
    for (const QtOption& option : qtOptions)
        if (name == QLatin1String(option.name))
            return &option;
    return nullptr;
}

// The arguments without Qt's own options and their values.
QStringList withoutQtOptions(int argc, char* argv[])
{
    QStringList arguments{QString::fromLocal8Bit(argv[0])};
    for (int i = 1; i < argc; ++i) {
        const QString argument = QString::fromLocal8Bit(argv[i]);
        bool valueAttached = false;
        if (const QtOption* option = qtOption(argument, &valueAttached)) {
            if (option->takesValue && !valueAttached)
                ++i;
            continue;
        }
        arguments << argument;
    }
    return arguments;
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
    // Everything is read before any display is opened, so a wrong option is
    // reported the same way with or without one.
    QCommandLineParser parser;
    const QCommandLineOption help(QStringList{"h", "help"});
    const QCommandLineOption version(QStringList{"v", "version"});
    const QCommandLineOption diagnose("diagnose");
    parser.addOptions({help, version, diagnose});
    if (!parser.parse(withoutQtOptions(argc, argv)) || !parser.positionalArguments().isEmpty()) {
        const QString problem = parser.errorText().isEmpty()
            ? QString("unexpected argument '%1'").arg(parser.positionalArguments().value(0))
            : parser.errorText();
        std::fprintf(stderr, "q3config: %s\n%s", qPrintable(problem), usage);
        return usageError;
    }
    if (!parser.isSet(help) && !parser.isSet(version) && !parser.isSet(diagnose))
        return -1;

    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("q3config");
    QCoreApplication::setApplicationVersion(Q3CONFIG_VERSION);
    QTextStream out(stdout);
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
