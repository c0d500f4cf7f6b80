// X11 back end: XInput 2 raw key and button events of every master device,
// read from a connection of its own on the GUI thread. Raw events reach a
// client that selected them on the root window whatever window has the
// focus; with XInput 2.1 and later they keep coming while another client
// holds a grab. Selecting them takes nothing away from other clients.

#include "input/GlobalInputHook.h"

#include "input/InputHookPlatform.h"
#include "input/X11KeyTranslation.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>

namespace {

// Protocol errors of a connection being set up: Xlib's default handler would
// end the process, while a refused request only means no capture. Errors of
// other connections go to the handler in place before.
class SetUpErrorTrap
{
public:
    explicit SetUpErrorTrap(Display* display)
    {
        trapped = display;
        failed = false;
        previous = XSetErrorHandler(&SetUpErrorTrap::handle);
    }
    ~SetUpErrorTrap()
    {
        XSetErrorHandler(previous);
        trapped = nullptr;
    }
    // Whether a request sent so far has failed; waits for the server.
    bool failedSoFar()
    {
        XSync(trapped, False);
        return failed;
    }

private:
    static int handle(Display* display, XErrorEvent* error)
    {
        if (display == trapped) {
            failed = true;
            return 0;
        }
        return previous ? previous(display, error) : 0;
    }

    static inline Display* trapped = nullptr;
    static inline bool failed = false;
    static inline XErrorHandler previous = nullptr;
};

class RawInputConnection
{
public:
    // Null when there is no X display, no XInput 2 or no event loop.
    static RawInputConnection* open();
    ~RawInputConnection();

    // Closes the connection now, or after the events being handled when
    // called from one of the callbacks.
    void close();

    // Hands every event that has arrived to GlobalInputHook.
    void drain();

private:
    RawInputConnection(Display* display, int xiOpcode);
    void handle(const XIRawEvent& event);
    void seedHeldKeys();

    Display* display = nullptr;
    int xiOpcode = 0;
    QSocketNotifier* notifier = nullptr;
    X11KeyTranslator translator;
    bool draining = false;
    bool closeRequested = false;
};

RawInputConnection* connection = nullptr;

RawInputConnection* RawInputConnection::open()
{
    // The notifier needs the GUI thread's event loop.
    if (!QCoreApplication::instance())
        return nullptr;
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return nullptr;

    SetUpErrorTrap trap(display);
    int opcode = 0, firstEvent = 0, firstError = 0;
    int major = 2, minor = 2;
    if (!XQueryExtension(display, "XInputExtension", &opcode, &firstEvent, &firstError)
        || XIQueryVersion(display, &major, &minor) != Success || major < 2
        || trap.failedSoFar()) {
        XCloseDisplay(display);
        return nullptr;
    }

    unsigned char mask[XIMaskLen(XI_RawButtonRelease)] = {};
    XISetMask(mask, XI_RawKeyPress);
    XISetMask(mask, XI_RawKeyRelease);
    XISetMask(mask, XI_RawButtonPress);
    XISetMask(mask, XI_RawButtonRelease);
    XIEventMask eventMask;
    eventMask.deviceid = XIAllMasterDevices;
    eventMask.mask_len = sizeof(mask);
    eventMask.mask = mask;
    XISelectEvents(display, DefaultRootWindow(display), &eventMask, 1);
    if (trap.failedSoFar()) {
        XCloseDisplay(display);
        return nullptr;
    }

    auto* result = new RawInputConnection(display, opcode);
    result->seedHeldKeys();
    return result;
}

RawInputConnection::RawInputConnection(Display* display, int xiOpcode)
    : display(display)
    , xiOpcode(xiOpcode)
{
    notifier = new QSocketNotifier(ConnectionNumber(display), QSocketNotifier::Read);
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [this] { drain(); });
}

RawInputConnection::~RawInputConnection()
{
    delete notifier;
    XCloseDisplay(display);
}

void RawInputConnection::close()
{
    if (draining)
        closeRequested = true;
    else
        delete this;
}

// Alt held while capture starts still turns Print Screen into SysRq.
void RawInputConnection::seedHeldKeys()
{
    char keys[32] = {};
    XQueryKeymap(display, keys);
    for (int code : {X11KeyTranslator::LeftAltKeyCode, X11KeyTranslator::RightAltKeyCode})
        translator.setHeld(code, (keys[code / 8] >> (code % 8)) & 1);
}

void RawInputConnection::drain()
{
    // A callback that runs the event loop must not start a second pass.
    if (draining)
        return;
    draining = true;
    // Replies read while handling an event can bring further events into
    // Xlib's queue without making the socket readable again: read until
    // both are empty.
    while (!closeRequested && XPending(display) > 0) {
        XEvent event;
        XNextEvent(display, &event);
        XGenericEventCookie* cookie = &event.xcookie;
        if (cookie->type != GenericEvent || cookie->extension != xiOpcode
            || !XGetEventData(display, cookie))
            continue;
        if (cookie->data)
            handle(*static_cast<const XIRawEvent*>(cookie->data));
        XFreeEventData(display, cookie);
    }
    if (closeRequested) {
        // Still inside the notifier's own signal: it goes later.
        notifier->setEnabled(false);
        notifier->deleteLater();
        notifier = nullptr;
        delete this;
        return;
    }
    draining = false;
}

void RawInputConnection::handle(const XIRawEvent& event)
{
    switch (event.evtype) {
    case XI_RawKeyPress:
    case XI_RawKeyRelease: {
        const auto key = translator.translate(event.detail, event.evtype == XI_RawKeyPress);
        if (key)
            GlobalInputHook::keyboardEvent(LowLevelInput::Action, key->message, key->scanCode,
                                           key->flags);
        break;
    }
    case XI_RawButtonPress:
    case XI_RawButtonRelease: {
        const std::uintptr_t message =
                windowsMouseMessageForXButton(event.detail, event.evtype == XI_RawButtonPress);
        if (message == 0)
            break;
        // Raw events carry no position: take the pointer's present one.
        Window root = 0, child = 0;
        int rootX = 0, rootY = 0, windowX = 0, windowY = 0;
        unsigned int buttons = 0;
        XQueryPointer(display, DefaultRootWindow(display), &root, &child, &rootX, &rootY,
                      &windowX, &windowY, &buttons);
        GlobalInputHook::mouseEvent(message, rootX, rootY);
        break;
    }
    default:
        break;
    }
}

}

bool InputHookPlatform::install()
{
    if (connection)
        return true;
    connection = RawInputConnection::open();
    if (!connection)
        return false;
    // Events that arrived during set-up are already in Xlib's queue and
    // would not wake the notifier.
    connection->drain();
    return true;
}

void InputHookPlatform::uninstall()
{
    if (!connection)
        return;
    RawInputConnection* closing = connection;
    connection = nullptr;
    closing->close();
}

bool InputHookPlatform::installed()
{
    return connection != nullptr;
}
