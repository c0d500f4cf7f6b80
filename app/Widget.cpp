#include "app/Widget.h"

#include "app/AccessNotice.h"
#include "app/DeviceChangeNotifier.h"
#include "app/Diagnostics.h"
#include "app/Ui_Controler.h"
#include "app/UserEvent.h"
#include "bridge/myQQuickView.h"
#include "bridge/WindowNotices.h"
#include "device/DevInfo.h"
#include "storage/DataPaths.h"
#include "storage/StorageReport.h"

#include <QCoreApplication>

#include <cstdio>

Widget::Widget(QWidget* parent)
    : QWidget(parent)
{
    controller = new Ui_Controler;
    controller->setupWindow(this);
    controller->view->setLink(&hid);
    hid.setLightingReportHandler([this](const QVariantList& ledType) {
        controller->view->storeLightingReport(ledType);
    });

    deviceCheckTimer.setInterval(2048);
    deviceCheckTimer.setSingleShot(true);
    // A coarse timer may fire up to 5 % early; the check waits its full time.
    deviceCheckTimer.setTimerType(Qt::PreciseTimer);
    connect(&deviceCheckTimer, &QTimer::timeout, this, &Widget::checkDevice);

    // The keyboard indicator follows every find, loss and refusal of the link.
    connect(&hid, &Hid_Thread::linkChanged, this, &Widget::showLinkState, Qt::QueuedConnection);
    // Said on standard error by the report itself and in the scene's notice.
    StorageReport::instance().checkWritable(DataPaths::modules());

    deviceNotifier = DeviceChangeNotifier::create(this);
    connect(deviceNotifier, &DeviceChangeNotifier::deviceChanged,
            this, &Widget::deviceChangeNotified);
}

Widget::~Widget()
{
    hid.stopListener();
    // The event loop has ended; main flushes the deferred deletion.
    controller->deleteLater();
}

void Widget::checkDevice()
{
    hid.refreshDevices(DevInfoCatalogue::read(":/DevInfo.ini"));
    hid.swichCurDevice(hid.currentDevice());
    controller->view->syncFW();
    reportAccessProblem();
}

void Widget::reportAccessProblem()
{
    if (!hid.accessDenied()) {
        // The keyboard opened since: the notice has done its job.
        accessProblemReported = false;
        accessNoticePending = false;
        if (AccessNotice* shown = accessNotice())
            shown->close();
        return;
    }
    if (accessProblemReported)
        return;
    accessProblemReported = true;
    std::fprintf(stderr, "q3config: the Q3 keyboard is connected, but this user may not open it "
                         "(permission denied).\n%s\n",
                 qPrintable(Diagnostics::accessAdvice()));
    std::fflush(stderr);
    accessNoticePending = true;
    if (sceneStarted)
        showAccessNotice();
}

void Widget::showAccessNotice()
{
    accessNoticePending = false;
    if (AccessNotice* shown = accessNotice())
        shown->close();
    new AccessNotice(AccessNotice::texts(DataPaths::languageFolder(), controller->view->languageCode), this);
}

void Widget::showLinkState()
{
    WindowNotices* notices = controller->view->notices;
    const int state = int(hid.linkState());
    const bool found = state == WindowNotices::Connected && notices->keyboard() != WindowNotices::Connected;
    notices->setKeyboard(state);
    // A keyboard found again may have been changed elsewhere meanwhile. At
    // start the scene asks once its opening is over.
    if (found && sceneStarted)
        controller->view->compareWithKeyboard();
}

AccessNotice* Widget::accessNotice() const
{
    return findChild<AccessNotice*>(QString(), Qt::FindDirectChildrenOnly);
}

void Widget::deviceChangeNotified()
{
    deviceCheckTimer.start();
}

void Widget::keyboardHookCallback(uchar usage, uchar isDown, void* context)
{
    auto* window = static_cast<Widget*>(context);
    if (window && window->controller && window->controller->view)
        window->controller->view->notifyKeyboard(isDown, usage);
}

void Widget::mouseHookCallback(uchar code, uchar isDown, int x, int y, void* context)
{
    auto* window = static_cast<Widget*>(context);
    if (window && window->controller && window->controller->view)
        window->controller->view->notifyMouse(isDown, code, x, y);
}

void Widget::startScene()
{
    controller->setBusy(1);
    controller->view->initUI();
    QCoreApplication::postEvent(this, new UserEvent(UserEvent::SceneStart));
}

bool Widget::nativeEvent(const QByteArray& eventType, void* message, long* result)
{
    deviceNotifier->nativeMessage(eventType, message);
    // Every native message continues to Qt's own processing.
    return result && *result != 0;
}

void Widget::customEvent(QEvent* event)
{
    if (event->type() != QEvent::User)
        return;
    auto* e = dynamic_cast<UserEvent*>(event);
    if (!e || e->code != UserEvent::SceneStart)
        return;
    controller->setBusy(0);
    controller->view->runUI();
    sceneStarted = true;
    if (accessNoticePending)
        showAccessNotice();
}
