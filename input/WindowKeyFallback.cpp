#include "input/WindowKeyFallback.h"

#include "input/GlobalInputHook.h"

#include <QKeyEvent>
#include <QWindow>

WindowKeyFallback::WindowKeyFallback(QObject* parent)
    : QObject(parent)
{
}

WindowKeyFallback::~WindowKeyFallback()
{
    attach(nullptr);
}

bool WindowKeyFallback::needed(bool captureInstalled, const QString& platformName)
{
    // The X11 capture sees Xwayland's windows at most, never a native
    // Wayland window.
    return !captureInstalled || platformName.startsWith(QLatin1String("wayland"));
}

void WindowKeyFallback::attach(QWindow* window)
{
    if (watched) {
        releaseHeld();
        watched->removeEventFilter(this);
    }
    watched = window;
    if (watched)
        watched->installEventFilter(this);
}

std::optional<LowLevelKeyEvent> WindowKeyFallback::translate(quint32 nativeScanCode, bool pressed)
{
#ifdef _WIN32
    const quint32 scan = nativeScanCode & 0xFF;
    if (scan == 0)
        return std::nullopt;
    LowLevelKeyEvent e;
    e.message = pressed ? LowLevelInput::KeyDown : LowLevelInput::KeyUp;
    e.scanCode = scan;
    e.flags = ((nativeScanCode & 0x100) ? LowLevelInput::Extended : 0)
            | (pressed ? 0 : LowLevelInput::Up);
    return e;
#else
    if (nativeScanCode > 255)
        return std::nullopt;
    return x11.translate(int(nativeScanCode), pressed);
#endif
}

void WindowKeyFallback::deliver(quint32 nativeScanCode, bool pressed)
{
    const std::optional<LowLevelKeyEvent> e = translate(nativeScanCode, pressed);
    if (!e)
        return;
    if (pressed)
        held.insert(nativeScanCode);
    else
        held.remove(nativeScanCode);
    GlobalInputHook::keyboardEvent(LowLevelInput::Action, e->message, e->scanCode, e->flags);
}

// The releases would go to whichever window gets the focus next.
void WindowKeyFallback::releaseHeld()
{
    const QSet<quint32> keys = held;
    for (quint32 code : keys)
        deliver(code, false);
    held.clear();
}

bool WindowKeyFallback::eventFilter(QObject* object, QEvent* event)
{
    if (object != watched)
        return false;
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (!key->isAutoRepeat())
            deliver(key->nativeScanCode(), event->type() == QEvent::KeyPress);
        break;
    }
    case QEvent::FocusOut:
    case QEvent::Hide:
        releaseHeld();
        break;
    default:
        break;
    }
    // The window handles its keys as before.
    return false;
}
