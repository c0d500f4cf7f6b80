// Runs the scene's Qt Quick tests against the real bridge (myQQuickView) and
// the simulated keyboard, in a temporary working directory laid out like the
// program's: modules/setting and modules/i18n copied from the source tree,
// and two stand-in skins under modules/img. Any QML warning fails the run.

#include "bridge/BridgeTypes.h"
#include "bridge/myQQuickView.h"
#include "bridge/SceneCall.h"
#include "bridge/SoundEffects.h"
#include "device/DevInfo.h"
#include "device/Hid_Thread.h"
#include "input/GlobalInputHook.h"
#include "input/WindowKeyFallback.h"
#include "preview/PreviewTypes.h"
#include "tests/FakeDialogs.h"
#include "tests/qml/scene/KeyboardProbe.h"
#include "tools/skingen/KeyTypes.h"

#include <q3sim.h>
#include "sim/Firmware.h"

#include <phonon/MediaObject>
#include <phonon/MediaSource>

#include <QApplication>
#include <QColor>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QKeyEvent>
#include <QPointer>
#include <QQuickItem>
#include <QQuickWindow>
#include <QMutex>
#include <QPainter>
#include <QQmlContext>
#include <QQmlEngine>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QtQuickTest>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

// ---- QML warnings ---------------------------------------------------------

QMutex warningMutex;
QStringList recordedWarnings;

bool isQmlWarning(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type != QtWarningMsg && type != QtCriticalMsg)
        return false;
    const QString category = QString::fromLatin1(context.category ? context.category : "");
    if (category == "qml" || category == "js")
        return true;
    static const QRegularExpression sourceLine(R"((\.qml|\.js)(:\d+)+)");
    if (message.contains(sourceLine))
        return true;
    for (const char* sign : {"ReferenceError", "TypeError", "Binding loop", "Unable to assign",
                             "undefined", "QML "}) {
        if (message.contains(QLatin1String(sign)))
            return true;
    }
    return false;
}

// Records QML warnings and prints every message. It never hands messages on:
// the test logger's own handler must not be called once logging has ended.
void messageHandler(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (isQmlWarning(type, context, message)) {
        QMutexLocker lock(&warningMutex);
        recordedWarnings << message;
    }
    const QString line = qFormatLogMessage(type, context, message);
    std::fprintf(stderr, "%s\n", qPrintable(line));
    std::fflush(stderr);
    if (type == QtFatalMsg)
        std::abort();
}

void watchWarnings()
{
    qInstallMessageHandler(messageHandler);
}

// ---- stand-in skins ---------------------------------------------------------

struct Picture
{
    const char* path;
    int width;
    int height;
};

// Every picture the main scene and the global settings page name, at the
// sizes their layout expects.
const Picture skinPictures[] = {
    {"background.png", 1000, 600},
    {"frame/frameBackground.png", 1000, 600},
    {"frame/decoration1.png", 40, 40},
    {"frame/decoration2.png", 40, 40},
    {"frame/web_0.png", 120, 36},
    {"frame/web_1.png", 120, 36},
    {"common/slider_BASE.png", 151, 23},
    {"common/draw_line.png", 141, 1},
    {"common/filelist_BASE.png", 151, 200},
    {"common/draw_inputValue.png", 39, 18},
    {"common/draw_paletteIndex.png", 145, 31},
    {"common/checkbox_0.png", 13, 13},
    {"common/checkbox_1.png", 13, 13},
    {"common/draw_palette.png", 96, 18},
    {"common/reset_0.png", 21, 21},
    {"common/reset_1.png", 21, 21},
    {"common/apply_0.png", 21, 21},
    {"common/apply_1.png", 21, 21},
    {"common/fram_2btn.png", 80, 30},
    {"common/add_0.png", 21, 21},
    {"common/add_1.png", 21, 21},
    {"common/delete_0.png", 21, 21},
    {"common/delete_1.png", 21, 21},
    {"common/record_0.png", 21, 21},
    {"common/record_1.png", 21, 21},
    {"common/stop_0.png", 21, 21},
    {"common/stop_1.png", 21, 21},
    {"common/solid-delete_0.png", 21, 21},
    {"common/solid-delete_1.png", 21, 21},
    {"common/solid-cut_0.png", 21, 21},
    {"common/solid-cut_1.png", 21, 21},
    {"common/solid-paste_0.png", 21, 21},
    {"common/solid-paste_1.png", 21, 21},
    {"common/solid-copy_0.png", 21, 21},
    {"common/solid-copy_1.png", 21, 21},
    {"common/slider_FILLER_0.png", 21, 21},
    {"common/slider_FILLER_1.png", 21, 21},
    {"common/btnGroup_4_BASE.png", 311, 30},
    {"common/btnGroup_8_BASE.png", 311, 50},
    {"common/btnGroup_FILLER_0.png", 76, 22},
    {"common/btnGroup_FILLER_1.png", 76, 22},
    {"common/btnGroup2_FILLER_0.png", 76, 18},
    {"common/btnGroup2_FILLER_1.png", 76, 18},
    {"common/slider_11_BASE.png", 315, 24},
    {"common/slider_11_FILLER_0.png", 28, 10},
    {"common/slider_11_FILLER_1.png", 28, 10},
    {"common/btnFileListFrame.png", 151, 23},
    {"common/btnFrame.png", 80, 30},
    {"list_center/globalsettingBackground.png", 340, 420},
    {"list_center/fnColorBackground.png", 759, 442},
    {"list_center/fnKeydefineBackground.png", 759, 442},
    {"list_center/fnMacroBackground.png", 759, 442},
    {"list_center/fnCommonBackground.png", 759, 442},
    {"list_dn/listDnContainer.png", 960, 48},
    {"list_fn/listFnBtn_0.png", 150, 37},
    {"list_fn/listFnBtn_1.png", 150, 37},
    {"list_fn/fnKeydefine_0.png", 24, 24},
    {"list_fn/fnKeydefine_1.png", 24, 24},
    {"list_fn/fnMacro_0.png", 24, 24},
    {"list_fn/fnMacro_1.png", 24, 24},
    {"list_fn/fnColor_0.png", 24, 24},
    {"list_fn/fnColor_1.png", 24, 24},
    {"list_pf/listPfContainer.png", 80, 400},
    {"list_pf/profileFW_0.png", 49, 26},
    {"list_pf/profileFW_1.png", 49, 26},
    {"list_up/listUpContainer.png", 960, 40},
    {"list_up/applicationSetting_0.png", 32, 32},
    {"list_up/applicationSetting_1.png", 32, 32},
    {"list_up/applicationMinimize_0.png", 32, 32},
    {"list_up/applicationMinimize_1.png", 32, 32},
    {"model_ms/model_Q4_Color.png", 300, 150},
    {"model_ms/model_Q4_KeyDefine.png", 300, 150},
};

bool writePicture(const QString& file, int width, int height, const QColor& fill, const QColor& edge)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(fill);
    QPainter painter(&image);
    painter.setPen(edge);
    painter.drawRect(0, 0, width - 1, height - 1);
    painter.end();
    return QDir().mkpath(QFileInfo(file).absolutePath()) && image.save(file, "PNG");
}

bool writeSkin(const QString& folder, const QColor& accent)
{
    for (const Picture& p : skinPictures) {
        if (!writePicture(folder + "/" + p.path, p.width, p.height, QColor(20, 24, 30, 200), accent))
            return false;
    }
    // The keys of the keyboard drawings, at the sizes the real skins have.
    for (const KeyType& k : keyTypes) {
        for (int state = 0; state < 2; ++state) {
            const QString file = QString("%1/model_kb/k%2-%3.png").arg(folder).arg(k.type).arg(state);
            const QColor fill = state == 0 ? QColor(30, 30, 36, 255) : QColor(0, 0, 0, 0);
            if (!writePicture(file, k.width, k.height, fill, accent))
                return false;
        }
    }
    return true;
}

bool copyFolder(const QString& from, const QString& to)
{
    QDir().mkpath(to);
    QDirIterator it(from, QDir::Files);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString target = to + "/" + it.fileName();
        QFile::remove(target);
        if (!QFile::copy(source, target))
            return false;
        QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner);
    }
    return true;
}

} // namespace

// Published to the tests as "ui_Ctl": records the window calls in order.
class ControllerStandIn : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QStringList calls READ calls NOTIFY callsChanged)
public:
    QStringList calls() const { return m_calls; }
    Q_INVOKABLE void clear()
    {
        m_calls.clear();
        emit callsChanged();
    }

public slots:
    void onMinimize() { record("onMinimize"); }
    void onXChanged(int x) { record(QString("onXChanged %1").arg(x)); }
    void onYChanged(int y) { record(QString("onYChanged %1").arg(y)); }
    void setBusy(int busyTime) { record(QString("setBusy %1").arg(busyTime)); }
    void setBusy() { setBusy(0); }

signals:
    void callsChanged();

private:
    void record(const QString& call)
    {
        m_calls << call;
        emit callsChanged();
    }
    QStringList m_calls;
};

// Published to the tests as "sceneTest": the working directory, the bridge's
// sound state, the picture dialog's answer and the recorded QML warnings.
class SceneTestHelper : public QObject
{
    Q_OBJECT
public:
    myQQuickView* view = nullptr;
    FakeDialogs* dialogs = nullptr;
    QString workDir;

    // Installs the warning recorder again (the test logger replaces it).
    Q_INVOKABLE void watchWarnings() { ::watchWarnings(); }

    Q_INVOKABLE QStringList takeWarnings()
    {
        QMutexLocker lock(&warningMutex);
        const QStringList taken = recordedWarnings;
        recordedWarnings.clear();
        return taken;
    }

    Q_INVOKABLE bool audioEnabled() const { return view->sounds->audioEnabled; }

    // Whether the background sound has a source (playMedia_Index(0) gives it
    // one, clearAllMedia takes it away).
    Q_INVOKABLE bool backgroundStarted() const
    {
        // No player yet: nothing has played.
        return view->sounds->mediaBackground
               && view->sounds->mediaBackground->currentSource().type() != Phonon::MediaSource::Empty;
    }

    // What the next picture dialog returns; "" cancels it.
    Q_INVOKABLE void setNextPicture(const QString& path) { dialogs->nextPath = path; }

    // A readable picture in the working directory (1000 x 600 unless told);
    // its absolute path.
    Q_INVOKABLE QString makePicture(const QString& name, int width = 1000, int height = 600)
    {
        const QString file = QDir(workDir).absoluteFilePath(name);
        writePicture(file, width, height, QColor(60, 20, 80), Qt::white);
        return file;
    }

    // Moves skin folder n out of modules/img and back.
    Q_INVOKABLE bool hideSkin(int n)
    {
        return QDir(workDir).rename(QString("modules/img/skin%1").arg(n),
                                    QString("skin%1.hidden").arg(n));
    }
    Q_INVOKABLE bool showSkin(int n)
    {
        return QDir(workDir).rename(QString("skin%1.hidden").arg(n),
                                    QString("modules/img/skin%1").arg(n));
    }

    Q_INVOKABLE bool effectStarted(int index) const
    {
        if (index < 1 || index > 4)
            return false;
        const auto* player = view->sounds->mediaEffects[size_t(index - 1)];
        return player && !player->currentSource().url().isEmpty();
    }

    // The factory settings file that ui_View.resetApconfig copies.
    Q_INVOKABLE void setFactorySetting(int index, const QVariant& value)
    {
        QSettings factory(factoryFile, QSettings::IniFormat);
        factory.setValue(QString("common/%1").arg(index), value);
        factory.sync();
    }
    Q_INVOKABLE bool restoreFactorySettings()
    {
        QFile::remove(factoryFile);
        const bool copied = QFile::copy(sourceModules + "/setting/apConfigD.bin", factoryFile);
        QFile::setPermissions(factoryFile, QFile::ReadOwner | QFile::WriteOwner);
        return copied;
    }

    // A value of the default profile (pD.bin), as the profile files hold
    // lists: "2, 63, 4, ...". restoreDefaultProfile() brings back the
    // shipped file.
    Q_INVOKABLE bool setDefaultProfileValue(const QString& key, const QVariantList& values)
    {
        QStringList texts;
        for (const QVariant& v : values)
            texts << v.toString();
        QSettings profile(defaultProfileFile, QSettings::IniFormat);
        profile.setValue(key, texts);
        profile.sync();
        return profile.status() == QSettings::NoError;
    }
    Q_INVOKABLE bool restoreDefaultProfile()
    {
        QFile::remove(defaultProfileFile);
        const bool copied = QFile::copy(sourceModules + "/setting/pD.bin", defaultProfileFile);
        QFile::setPermissions(defaultProfileFile, QFile::ReadOwner | QFile::WriteOwner);
        return copied;
    }

    // The simulated keyboard: a control command (see q3sim::runControlCommand)
    // and its reply, or "error: ..." when it was not understood.
    Q_INVOKABLE QString simCommand(const QString& line)
    {
        std::string reply;
        const bool ok = q3sim::runControlCommand(line.toStdString(), reply);
        return (ok ? QString() : QString("error: ")) + QString::fromStdString(reply);
    }

    Q_INVOKABLE int simCurrentProfile() const { return q3sim::currentProfile(); }

    // Command codes of the feature reports the keyboard received since the
    // last clearTrace(), oldest first.
    Q_INVOKABLE QVariantList featureCommands() const
    {
        QVariantList codes;
        for (const q3sim::TraceEntry& e : q3sim::trace()) {
            if (e.call == "hid_send_feature_report" && e.result >= 0 && e.data.size() >= 2)
                codes << int(e.data[1]);
        }
        return codes;
    }
    Q_INVOKABLE void clearTrace() { q3sim::clearTrace(); }

    // What the next file dialog returns; "" cancels it.
    Q_INVOKABLE void setNextPath(const QString& path) { dialogs->nextPath = path; }

    Q_INVOKABLE QString absolutePath(const QString& name) const
    {
        return QDir(workDir).absoluteFilePath(name);
    }

    Q_INVOKABLE bool fileExists(const QString& path) const { return QFile::exists(path); }

    // The filter of every file dialog shown so far, oldest first.
    Q_INVOKABLE QStringList dialogFilters() const { return dialogs->filters; }

    // The simulated keyboard's memory: macro slot n (128 bytes), the current
    // profile's key matrix (128 entries of 16 bits, as the keyboard holds
    // them), and the three option bytes of 02H / 82H.
    Q_INVOKABLE QVariantList simMacro(int slot) const
    {
        QVariantList bytes;
        const q3sim::KeyboardState state = q3sim::keyboardState();
        if (slot >= 0 && slot < int(state.macros.size())) {
            for (unsigned char b : state.macros[size_t(slot)])
                bytes << int(b);
        }
        return bytes;
    }
    Q_INVOKABLE QVariantList simKeyMatrix() const
    {
        QVariantList entries;
        const q3sim::KeyboardState state = q3sim::keyboardState();
        for (int i = 0; i < 128; ++i)
            entries << int(state.current().keyEntry(i));
        return entries;
    }
    Q_INVOKABLE QVariantList simOptions() const
    {
        QVariantList bytes;
        const q3sim::KeyboardState state = q3sim::keyboardState();
        for (unsigned char b : state.options)
            bytes << int(b);
        return bytes;
    }
    Q_INVOKABLE void setSimOptions(int b1, int b2, int b3)
    {
        q3sim::withFirmware([&](q3sim::Firmware& fw) {
            fw.state().options = {uchar(b1), uchar(b2), uchar(b3)};
        });
    }

    // Removes what the current profile holds under key (for example
    // "keydefine3/33"), as in a profile file that never had it.
    Q_INVOKABLE void removeProfileValue(const QString& key)
    {
        if (QSettings* s = view->profiles.current())
            s->remove(key);
    }

    // Stores value under key in the current profile, as a hand-edited
    // profile file may hold it.
    Q_INVOKABLE void setProfileValue(const QString& key, const QVariant& value)
    {
        view->profiles.setValue(key, value);
    }

    // The window-key fallback in place of the global capture: the test
    // window's key events reach scene's detectKeyboard the way captured keys
    // reach the program's scene. A null scene ends it.
    Q_INVOKABLE void useWindowKeys(QObject* scene)
    {
        windowKeys.attach(nullptr);
        hook.reset();
        sceneRoot = scene;
        auto* item = qobject_cast<QQuickItem*>(scene);
        if (!item || !item->window())
            return;
        hook = std::make_unique<GlobalInputHook>(false);
        hook->uninstallHooks();   // only the window's keys, never the display's
        hook->setKeyboardCallback(&SceneTestHelper::windowKey, this);
        windowKeys.attach(item->window());
    }

    // A key event with X key code xKeyCode delivered to the test window.
    Q_INVOKABLE void sendWindowKey(int xKeyCode, bool pressed)
    {
        QWindow* window = windowKeys.window();
        if (!window)
            return;
        QKeyEvent e(pressed ? QEvent::KeyPress : QEvent::KeyRelease, 0, Qt::NoModifier,
                    quint32(xKeyCode), 0, 0);
        QCoreApplication::sendEvent(window, &e);
    }

    static void windowKey(unsigned char usage, unsigned char isDown, void* context)
    {
        auto* self = static_cast<SceneTestHelper*>(context);
        callScene(self->sceneRoot, "detectKeyboard", {bool(isDown), int(usage)}, Qt::QueuedConnection);
    }

    std::unique_ptr<GlobalInputHook> hook;
    WindowKeyFallback windowKeys;
    QPointer<QObject> sceneRoot;

    QString sourceModules;
    const QString factoryFile = "modules/setting/apConfigD.bin";
    const QString defaultProfileFile = "modules/setting/pD.bin";
};

class SceneSetup : public QObject
{
    Q_OBJECT
public:
    SceneSetup()
    {
        // The bridge is a widget, so the test needs a QApplication before
        // quick_test_main would make a QGuiApplication.
        static int argc = 1;
        static char name[] = "tst_scene";
        static char* argv[] = {name, nullptr};
        app = std::make_unique<QApplication>(argc, argv);
        QCoreApplication::setApplicationName("tst_scene");
        watchWarnings();
    }

    ~SceneSetup() override
    {
        if (hid)
            hid->stopListener();
        view.reset();
        hid.reset();
        dialogs.reset();
        QDir::setCurrent(QDir::tempPath());
        workDir.reset();
        app.reset();
        if (failed) {
            std::fflush(nullptr);
            std::_Exit(1);
        }
    }

public slots:
    void qmlEngineAvailable(QQmlEngine* engine)
    {
        watchWarnings();
        registerPreviewTypes();
        registerBridgeTypes();
        if (!view)
            prepare();
        QQmlContext* ctx = engine->rootContext();
        ctx->setContextProperty("ui_View", view.get());
        ctx->setContextProperty("hid", hid.get());
        ctx->setContextProperty("ui_Ctl", &controller);
        ctx->setContextProperty("sceneTest", &helper);
        ctx->setContextProperty("keyboardProbe", &probe);
    }

    // QML warnings that no test claimed (raised outside the test functions,
    // for example while a scene was destroyed) fail the run.
    void cleanupTestCase()
    {
        const QStringList left = helper.takeWarnings();
        if (!left.isEmpty()) {
            std::fprintf(stderr, "FAIL!  : tst_scene: %d QML warning(s) outside the tests:\n",
                         int(left.size()));
            for (const QString& w : left)
                std::fprintf(stderr, "    %s\n", qPrintable(w));
            failed = true;
        }
    }

private:
    void prepare()
    {
        workDir = std::make_unique<QTemporaryDir>();
        const QString root = workDir->path();
        const QString modules = QString::fromLocal8Bit(Q3_SOURCE_MODULES);
        if (!copyFolder(modules + "/setting", root + "/modules/setting")
            || !copyFolder(modules + "/i18n", root + "/modules/i18n")
            || !writeSkin(root + "/modules/img/skin1", QColor(0, 200, 255))
            || !writeSkin(root + "/modules/img/skin2", QColor(255, 120, 0))) {
            qFatal("cannot lay out the working directory %s", qPrintable(root));
        }
        QDir::setCurrent(root);

        dialogs = std::make_unique<FakeDialogs>();
        q3sim::reset();
        hid = std::make_unique<Hid_Thread>();
        hid->refreshDevices(DevInfoCatalogue::read(":/DevInfo.ini"));
        view = std::make_unique<myQQuickView>();
        view->setLink(hid.get());
        view->syncFW();

        helper.view = view.get();
        helper.dialogs = dialogs.get();
        helper.workDir = root;
        helper.sourceModules = modules;
        probe.hid = hid.get();
        probe.view = view.get();
    }

    std::unique_ptr<QApplication> app;
    std::unique_ptr<QTemporaryDir> workDir;
    std::unique_ptr<FakeDialogs> dialogs;
    std::unique_ptr<Hid_Thread> hid;
    std::unique_ptr<myQQuickView> view;
    ControllerStandIn controller;
    SceneTestHelper helper;
    KeyboardProbe probe;
    bool failed = false;
};

QUICK_TEST_MAIN_WITH_SETUP(tst_scene, SceneSetup)

#include "tst_scene.moc"
