#pragma once

#include "device/Hid_Thread.h"

#include <QTimer>
#include <QWidget>

class AccessNotice;
class DeviceChangeNotifier;
class Ui_Controler;

// The frameless, translucent main window. Its only content is the scene view.
class Widget : public QWidget
{
    Q_OBJECT
public:
    explicit Widget(QWidget* parent = nullptr);
    ~Widget() override;

    // Starts the scene: busy overlay on, the scene's initUI queued, then the
    // start event that releases the overlay and runs the opening animation.
    void startScene();

    // A device-change notification: (re)arms the delayed presence check, so
    // a burst of notifications gives one check after the last of them.
    void deviceChangeNotified();

    // Receivers of the global key and button capture, registered with the
    // window as context: they hand each event to the scene through the view.
    // A null context does nothing.
    static void keyboardHookCallback(uchar usage, uchar isDown, void* context);
    static void mouseHookCallback(uchar code, uchar isDown, int x, int y, void* context);

    QTimer deviceCheckTimer;
    Ui_Controler* controller = nullptr;
    Hid_Thread hid;

public slots:
    void checkDevice();

protected:
    bool nativeEvent(const QByteArray& eventType, void* message, long* result) override;
    void customEvent(QEvent* event) override;

private:
    // The keyboard is there but this user may not open it: said once on
    // standard error and in the window (as soon as the scene has started),
    // again only after access worked in between. The notice goes away by
    // itself once the keyboard opens.
    void reportAccessProblem();
    void showAccessNotice();

    // The scene's keyboard indicator from the link's state.
    void showLinkState();

    DeviceChangeNotifier* deviceNotifier = nullptr;
    bool sceneStarted = false;
    bool accessProblemReported = false;
    bool accessNoticePending = false;

public:
    // The notice on screen, or null.
    AccessNotice* accessNotice() const;
};
