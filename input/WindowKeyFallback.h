#pragma once

// Key events for the scene when the global capture is not there: on an X
// server without XInput 2.2, under a native Wayland session, or wherever the
// capture could not be installed. The window's own key presses and releases
// (it receives them while it has the focus) go to GlobalInputHook's key
// procedure as the low-level events the same physical keys give, so they
// reach the same receiver as captured keys, as the same USB usage codes.
//
// Native scan codes are read as X key codes (xcb and Wayland both report
// Linux input event codes + 8) or, on Windows, as set-1 scan codes with the
// extended flag in bit 8. Auto-repeated events are dropped; keys still held
// when the window loses the focus are released.

#include "input/X11KeyTranslation.h"

#include <QObject>
#include <QPointer>
#include <QSet>

class QWindow;

class WindowKeyFallback : public QObject
{
public:
    explicit WindowKeyFallback(QObject* parent = nullptr);
    ~WindowKeyFallback() override;

    // Whether the window's own keys are needed: the capture is not
    // installed, or the window does not live on the X server the capture
    // watches.
    static bool needed(bool captureInstalled, const QString& platformName);

    // Starts watching window (one at a time); null stops watching.
    void attach(QWindow* window);
    QWindow* window() const { return watched; }

    // The low-level event for the press or release of the key with this
    // native scan code; nullopt for keys without one.
    std::optional<LowLevelKeyEvent> translate(quint32 nativeScanCode, bool pressed);

protected:
    bool eventFilter(QObject* object, QEvent* event) override;

private:
    void deliver(quint32 nativeScanCode, bool pressed);
    void releaseHeld();

    QPointer<QWindow> watched;
    X11KeyTranslator x11;
    QSet<quint32> held;
};
