#include "app/StartupEnvironment.h"
#include "app/Ui_Controler.h"
#include "app/UserEvent.h"
#include "app/Widget.h"
#include "bridge/myQQuickView.h"

#include <q3sim.h>

#include <QDir>
#include <QElapsedTimer>
#include <QQmlContext>
#include <QQuickItem>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

// The window and the scene, as main builds them, in a working directory that
// holds a modules/setting/apConfig.bin.
class TestShell : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();

    void windowSetup();
    void title_data();
    void title();
    void startupOrder();
    void otherUserEventsChangeNothing();
    void moves_data();
    void moves();
    void busyWithoutArgumentIsZero();
    void minimizeClosesTheWindow();
    void notificationsAreCoalesced();
    void checkDeviceFindsKeyboard();
    void replugIsFoundThroughDeviceNotifications();
    void executableDirectory_data();
    void executableDirectory();

private:
    void writeConfig(const QByteArray& text);
    QQuickItem* root(Widget& w) { return w.controller->view->rootObject(); }

    QTemporaryDir workDir;
};

void TestShell::initTestCase()
{
    QVERIFY(workDir.isValid());
    QVERIFY(QDir(workDir.path()).mkpath("modules/setting"));
    QVERIFY(QDir::setCurrent(workDir.path()));
}

void TestShell::init()
{
    q3sim::reset();
    writeConfig("[common]\nname=Q3 Test Title\n");
}

void TestShell::writeConfig(const QByteArray& text)
{
    QFile f("modules/setting/apConfig.bin");
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(text);
}

void TestShell::windowSetup()
{
    Widget w;
    QCOMPARE(w.objectName(), QString("Widget"));
    QCOMPARE(int(w.windowFlags()),
             int(Qt::Window | Qt::FramelessWindowHint | Qt::CustomizeWindowHint));
    QVERIFY(w.testAttribute(Qt::WA_TranslucentBackground));
    QCOMPARE(w.size(), QSize(1000, 600));

    myQQuickView* view = w.controller->view;
    QVERIFY(view);
    QCOMPARE(view->parentWidget(), &w);
    QCOMPARE(view->objectName(), QString("ui_View"));
    QCOMPARE(view->link(), &w.hid);
    QCOMPARE(view->status(), QQuickWidget::Ready);
    QCOMPARE(w.controller->window, &w);

    QQmlContext* ctx = view->rootContext();
    QCOMPARE(ctx->contextProperty("ui_View").value<QObject*>(), view);
    QCOMPARE(ctx->contextProperty("ui_Ctl").value<QObject*>(), w.controller);
    QCOMPARE(ctx->contextProperty("hid").value<QObject*>(), &w.hid);

    QCOMPARE(w.deviceCheckTimer.interval(), 2048);
    QVERIFY(w.deviceCheckTimer.isSingleShot());
    QVERIFY(!w.deviceCheckTimer.isActive());
}

void TestShell::title_data()
{
    QTest::addColumn<QByteArray>("config");
    QTest::addColumn<QString>("title");
    QTest::newRow("name") << QByteArray("[common]\nname=Q3 Test Title\n") << "Q3 Test Title";
    QTest::newRow("no name") << QByteArray("[common]\ntotal=0\n") << "";
    QTest::newRow("no file") << QByteArray() << "";
}

void TestShell::title()
{
    QFETCH(QByteArray, config);
    QFETCH(QString, title);
    if (config.isEmpty())
        QVERIFY(QFile::remove("modules/setting/apConfig.bin"));
    else
        writeConfig(config);

    Widget w;
    QCOMPARE(w.windowTitle(), title);

    // Read once at start, not followed later.
    writeConfig("[common]\nname=Changed\n");
    QCoreApplication::processEvents();
    QCOMPARE(w.windowTitle(), title);
}

void TestShell::startupOrder()
{
    Widget w;
    QQuickItem* scene = root(w);
    QVERIFY(scene);

    bool initialisedWhenShown = false;
    int shownCount = 0;
    connect(scene, &QQuickItem::visibleChanged, this, [&] {
        if (scene->isVisible()) {
            ++shownCount;
            initialisedWhenShown = scene->property("sceneInitialised").toBool();
        }
    });

    w.checkDevice();
    w.showNormal();
    w.startScene();

    // Busy at once, scene neither initialised nor visible until the queue runs.
    QVERIFY(scene->property("busy").toBool());
    QVERIFY(!w.controller->view->isEnabled());
    QVERIFY(!scene->property("sceneInitialised").toBool());
    QVERIFY(!scene->isVisible());

    QTRY_VERIFY(scene->isVisible());
    QCOMPARE(shownCount, 1);
    QVERIFY(initialisedWhenShown);
    // The start event released the overlay.
    QTRY_VERIFY(!scene->property("busy").toBool());
    QVERIFY(w.controller->view->isEnabled());
}

void TestShell::otherUserEventsChangeNothing()
{
    Widget w;
    QQuickItem* scene = root(w);
    w.showNormal();

    QCoreApplication::postEvent(&w, new UserEvent(2176));
    QCoreApplication::postEvent(&w, new UserEvent(0));
    QCoreApplication::postEvent(&w, new QEvent(QEvent::User));
    QCoreApplication::postEvent(&w, new QEvent(QEvent::Type(QEvent::User + 1)));
    QTest::qWait(100);

    QVERIFY(!scene->isVisible());
    QVERIFY(!scene->property("busy").toBool());
    QVERIFY(w.controller->view->isEnabled());

    // The right code does start it.
    QCoreApplication::postEvent(&w, new UserEvent(UserEvent::SceneStart));
    QTRY_VERIFY(scene->isVisible());
}

void TestShell::moves_data()
{
    QTest::addColumn<int>("dx");
    QTest::addColumn<int>("dy");
    QTest::newRow("none") << 0 << 0;
    QTest::newRow("left 30") << -30 << 0;
    QTest::newRow("down 12") << 0 << 12;
    QTest::newRow("both") << 25 << -7;
}

void TestShell::moves()
{
    QFETCH(int, dx);
    QFETCH(int, dy);
    Widget w;
    w.move(200, 150);
    w.showNormal();
    const QPoint start = w.pos();

    QPoint afterX;
    w.controller->onXChanged(dx);
    afterX = w.pos();
    w.controller->onYChanged(dy);

    QCOMPARE(afterX, start + QPoint(dx, 0));
    QCOMPARE(w.pos(), start + QPoint(dx, dy));
}

void TestShell::busyWithoutArgumentIsZero()
{
    Widget w;
    QQuickItem* scene = root(w);

    w.controller->setBusy();
    QVERIFY(scene->property("busy").toBool());
    QVERIFY(!w.controller->view->isEnabled());
    QTRY_VERIFY_WITH_TIMEOUT(!scene->property("busy").toBool(), 500);
    QVERIFY(w.controller->view->isEnabled());

    // A controller without a window or view does nothing.
    Ui_Controler bare;
    bare.setBusy(5);
    bare.onXChanged(10);
    bare.onMinimize();
}

void TestShell::minimizeClosesTheWindow()
{
    Widget w;
    w.showNormal();
    QVERIFY(w.isVisible());
    w.controller->onMinimize();
    QVERIFY(!w.isVisible());
    QVERIFY(!w.isMinimized());
}

void TestShell::notificationsAreCoalesced()
{
    Widget w;
    q3sim::clearTrace();

    for (int i = 0; i < 3; ++i) {
        if (i)
            QTest::qWait(500);
        w.deviceChangeNotified();
    }
    QElapsedTimer sinceLast;
    sinceLast.start();

    QTest::qWait(1500);
    QCOMPARE(q3sim::countCalls("hid_enumerate"), 0);
    QTRY_COMPARE_WITH_TIMEOUT(q3sim::countCalls("hid_enumerate"), 1, 1000);
    QVERIFY2(sinceLast.elapsed() >= 2040, qPrintable(QString::number(sinceLast.elapsed())));
    QTest::qWait(600);
    QCOMPARE(q3sim::countCalls("hid_enumerate"), 1);
}

void TestShell::checkDeviceFindsKeyboard()
{
    Widget w;
    QCOMPARE(w.hid.deviceCount(), 0);
    w.checkDevice();
    QCOMPARE(w.hid.deviceCount(), 1);
    QCOMPARE(w.hid.device(0).path,
             QString::fromStdString(q3sim::interfacePath(q3sim::CommandInterface)));
    QCOMPARE(w.hid.device(0).path2,
             QString::fromStdString(q3sim::interfacePath(q3sim::EventInterface)));

    q3sim::setPlugged(false);
    w.checkDevice();
    QVERIFY(w.hid.device(0).path.isEmpty());
}

void TestShell::replugIsFoundThroughDeviceNotifications()
{
    Widget w;
    w.checkDevice();
    QVERIFY(w.hid.isListening());
    const QString eventPath = QString::fromStdString(q3sim::interfacePath(q3sim::EventInterface));

    // Unplugged: the listener notices at once; the check 2048 ms after the
    // notification finds no keyboard.
    q3sim::setPlugged(false);
    QTRY_VERIFY_WITH_TIMEOUT(!w.hid.isListening(), 2000);
    QTRY_VERIFY_WITH_TIMEOUT(w.hid.device(0).path.isEmpty(), 4000);
    // Both interfaces were announced; the check runs once after the last.
    QTRY_VERIFY_WITH_TIMEOUT(!w.deviceCheckTimer.isActive(), 4000);

    // Plugged again: found once the notifications have been quiet for 2048 ms.
    q3sim::clearTrace();
    QElapsedTimer sincePlug;
    sincePlug.start();
    q3sim::setPlugged(true);
    QTRY_VERIFY_WITH_TIMEOUT(q3sim::countCalls("hid_enumerate") >= 1, 5000);
    QVERIFY2(sincePlug.elapsed() >= 2040, qPrintable(QString::number(sincePlug.elapsed())));
    QTRY_VERIFY_WITH_TIMEOUT(w.hid.isListening(), 1000);
    QCOMPARE(w.hid.device(0).path2, eventPath);

    // The restarted listener delivers the keyboard's reports again.
    q3sim::pushInputReport(q3sim::EventInterface, {0, 0, 0, 0, 3, 4, 5, 6, 7, 8, 9, 0});
    QTRY_COMPARE_WITH_TIMEOUT(q3sim::queuedInputReports(q3sim::EventInterface), size_t(0), 2000);
}

void TestShell::executableDirectory_data()
{
    QTest::addColumn<QString>("exe");
    QTest::addColumn<QString>("dir");
    QTest::newRow("nested") << workDir.path() + "/bin/q3config" << workDir.path() + "/bin";
    QTest::newRow("with spaces") << workDir.path() + "/my app/q3config" << workDir.path() + "/my app";
}

void TestShell::executableDirectory()
{
    QFETCH(QString, exe);
    QFETCH(QString, dir);
    QVERIFY(QDir().mkpath(dir));
    const QString before = QDir::currentPath();
    StartupEnvironment::makeExecutableDirectoryCurrent(exe);
    const QString now = QDir::currentPath();
    QDir::setCurrent(before);
    QCOMPARE(QDir(now).canonicalPath(), QDir(dir).canonicalPath());
}

QTEST_MAIN(TestShell)
#include "tst_shell.moc"
