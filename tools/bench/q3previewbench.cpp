// Measures the lighting preview and its floor, one measurement per process.
//
//   q3previewbench floor <interval ms> <seconds> <bin dir>
//       A bare Qt Quick window with one legend per key of the shipped layout,
//       every legend recoloured on every tick of a precise timer.
//   q3previewbench scene <effect> <seconds> <bin dir> [presses]
//       The program's own window and scene against the simulated keyboard,
//       the lighting page shown with the preview on <effect> at the fastest
//       speed; with "presses", keys are pressed through the bridge every
//       150 ms so that three rain rings keep going.
//   q3previewbench save picture|effect <bin dir>
//       The program's window against the simulated keyboard, the lighting
//       page set to a user picture or to an effect, and one click on ALL
//       SAVE: the time to the last report reaching the keyboard beside the
//       protocol's floor for the reports sent.
//   q3previewbench harness <effect> <seconds> <bin dir> [presses]
//       The same with the bridge's view showing only the lighting drawing and
//       its effect controller (PreviewHarness.qml), for a scene whose
//       lighting page has no preview.
//
// The scene runs with its sounds switched off (see sceneRun). Each run
// prints one line of key=value figures: ticks run, ticks expected,
// CPU seconds of the whole process per second, frames published.
// scripts/bench-preview.sh runs it under a virtual display.

#include "app/StartupEnvironment.h"
#include "app/Ui_Controler.h"
#include "app/Widget.h"
#include "bridge/HardwareDefinition.h"
#include "bridge/myQQuickView.h"
#include "preview/EffectPreview.h"

#include <QApplication>
#include <QColor>
#include <QDir>
#include <QElapsedTimer>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickView>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <thread>

#include <q3sim.h>

#include <sys/resource.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <vector>
#include <algorithm>

namespace {

constexpr int warmUpMs = 1000;

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6 + usage.ru_stime.tv_sec
           + usage.ru_stime.tv_usec / 1e6;
}

void runFor(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

bool waitFor(const std::function<bool()>& condition, int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > ms)
            return false;
        runFor(20);
    }
    return true;
}

void report(const char* what, double ticks, double expected, double cpu, double seconds, int frames)
{
    std::printf("%s ticks=%.0f expected=%.1f tick_ratio=%.4f cpu_per_s=%.4f frames_per_s=%.1f\n", what,
                ticks, expected, expected > 0 ? ticks / expected : 0.0, cpu / seconds, frames / seconds);
    std::fflush(stdout);
}

// Key sizes of the skins' key pictures by key type.
QSizeF keySize(int type)
{
    static const int widths[10] = {0, 29, 37, 45, 52, 60, 68, 83, 192, 29};
    if (type < 0 || type > 9)
        return {};
    return QSizeF(widths[type], type == 0 ? 0 : type == 9 ? 60 : 29);
}

int floorRun(int intervalMs, int seconds, const QString& binDir)
{
    const QVariantList hw = HardwareDefinition::load(binDir + "/modules/setting/HWDef.bin", 3);
    const int keys = hw.value(0).toInt();
    if (keys <= 0) {
        std::fprintf(stderr, "no keys in %s\n", qPrintable(binDir));
        return 1;
    }
    QQuickView view;
    view.setColor(Qt::black);
    view.resize(760, 260);
    QQmlComponent legend(view.engine());
    legend.setData("import QtQuick 2.15\n"
                   "Text { horizontalAlignment: Text.AlignHCenter; verticalAlignment: Text.AlignVCenter;"
                   " font.bold: true; font.pixelSize: 11 }",
                   QUrl());
    auto* root = new QQuickItem;
    view.setContent(QUrl(), nullptr, root);
    QVector<QQuickItem*> texts;
    for (int i = 0; i < keys; ++i) {
        const int base = 2 + 6 * i;
        auto* item = qobject_cast<QQuickItem*>(legend.create());
        if (!item) {
            std::fprintf(stderr, "%s\n", qPrintable(legend.errorString()));
            return 1;
        }
        const QSizeF size = keySize(hw[base + 2].toInt());
        item->setParentItem(root);
        item->setX(22 + hw[base].toDouble());
        item->setY(29 + hw[base + 1].toDouble());
        item->setSize(size);
        item->setProperty("text", hw[base + 3].toString());
        texts.append(item);
    }
    view.show();

    qint64 ticks = 0;
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    timer.setInterval(intervalMs);
    QObject::connect(&timer, &QTimer::timeout, [&]() {
        ++ticks;
        for (int i = 0; i < texts.size(); ++i)
            texts[i]->setProperty("color", QColor::fromHsv(int((ticks * 5 + i * 7) % 360), 255, 255));
    });
    int frames = 0;
    QObject::connect(&view, &QQuickWindow::frameSwapped, [&]() { ++frames; });
    timer.start();
    runFor(warmUpMs);

    ticks = 0;
    frames = 0;
    QElapsedTimer clock;
    clock.start();
    const double cpu0 = cpuSeconds();
    runFor(seconds * 1000);
    const double elapsed = clock.nsecsElapsed() / 1e9;
    report("floor", double(ticks), elapsed * 1000 / intervalMs, cpuSeconds() - cpu0, elapsed, frames);
    return 0;
}

EffectPreview* findPreview(QObject* root)
{
    if (!root)
        return nullptr;
    const QList<EffectPreview*> found = root->findChildren<EffectPreview*>();
    for (EffectPreview* p : found) {
        if (p->keyCount() > 0)
            return p;
    }
    return nullptr;
}

int sceneRun(int effect, int seconds, const QString& binDir, bool presses, bool harness)
{
    QDir::setCurrent(binDir);
    StartupEnvironment::chooseSceneRenderer();
    StartupEnvironment::ensureThreadPool();

    Widget window;
    window.checkDevice();
    myQQuickView* view = window.controller->view;
    if (harness) {
        view->setSource(QUrl("qrc:/bench/PreviewHarness.qml"));
        window.showNormal();
    } else {
        window.showNormal();
        window.startScene();
    }

    // Once the opening animation has shown the page frame, the lighting
    // page into view as its menu button does (which builds it).
    if (!harness) {
        auto* pages = view->rootObject()->findChild<QQuickItem*>("_fkPage");
        QObject* menu = view->rootObject()->findChild<QObject*>("fnItem");
        if (!pages || !menu || !waitFor([&]() { return pages->isVisible(); }, 20000)) {
            std::fprintf(stderr, "the page frame did not appear\n");
            return 1;
        }
        runFor(500);
        menu->setProperty("currentIndex", 2);
        QMetaObject::invokeMethod(menu, "indexChanged_btn", Q_ARG(int, 2));
    }
    EffectPreview* preview = nullptr;
    if (!waitFor([&]() { return (preview = findPreview(view->rootObject())) != nullptr; }, 20000)) {
        std::fprintf(stderr, "the scene has no effect preview with keys\n");
        return 1;
    }
    waitFor([&]() { return preview->isVisible(); }, 5000);
    // Sounds off, as the settings page switches them off: without a sound
    // card the stand-in audio sink decodes the looping background sound as
    // fast as it can, which would drown the figures.
    view->setEnableAudio(false);
    view->clearAllMedia();
    runFor(1500);
    if (!preview->isVisible())
        std::fprintf(stderr, "warning: the lighting page is not visible\n");

    if (qEnvironmentVariableIsSet("BENCH_FRAME_PERIOD"))
        preview->setFramePeriod(qEnvironmentVariableIntValue("BENCH_FRAME_PERIOD"));
    if (harness) {
        preview->setProperty("speedLV", 1);
        preview->setProperty("effectIndex", effect);
        QMetaObject::invokeMethod(preview, "play", Q_ARG(QVariant, effect));
    } else {
        // Through the page's own controls: speed slider at position 7,
        // full brightness, EFFECTS and the effect chosen from the list.
        QObject* page = view->rootObject()->findChild<QObject*>("_Page_Color");
        QObject* speed = page ? page->findChild<QObject*>("speed_Slider") : nullptr;
        QObject* brightness = page ? page->findChild<QObject*>("brightness_Slider") : nullptr;
        QObject* category = page ? page->findChild<QObject*>("_effect1") : nullptr;
        QObject* effects = page ? page->findChild<QObject*>("_effect3") : nullptr;
        if (!speed || !brightness || !category || !effects) {
            std::fprintf(stderr, "the lighting page lacks its controls\n");
            return 1;
        }
        speed->setProperty("currentIndex", 7);
        brightness->setProperty("currentIndex", 7);
        QMetaObject::invokeMethod(category, "setCurIndex", Q_ARG(QVariant, 1));
        QMetaObject::invokeMethod(category, "listElementClicked", Q_ARG(int, 1));
        QMetaObject::invokeMethod(effects, "setCurIndex", Q_ARG(QVariant, effect));
        QMetaObject::invokeMethod(effects, "listElementClicked", Q_ARG(int, effect));
        runFor(200);
        if (preview->effectIndex() != effect || preview->runningEffect() != effect || preview->speed() != 1)
            std::fprintf(stderr, "warning: the page shows effect %d (running %d) at speed %d\n",
                         preview->effectIndex(), preview->runningEffect(), preview->speed());
    }

    // Keys spread over the keyboard, pressed in turn through the bridge as
    // the global key capture does.
    const QVariantList hw = view->loadHWDef();
    QVector<int> usages;
    for (int i : {0, 40, 75, 100}) {
        const int base = 2 + 6 * i;
        if (base + 5 < hw.size() && hw[base + 5].toInt() > 0 && hw[base + 5].toInt() < 256)
            usages.append(hw[base + 5].toInt());
    }
    QTimer pressTimer;
    int next = 0;
    int ringsStarted = 0;
    QObject::connect(&pressTimer, &QTimer::timeout, [&]() {
        if (usages.isEmpty())
            return;
        const uchar usage = uchar(usages[next++ % usages.size()]);
        const int before = preview->loopCircleIndex();
        view->notifyKeyboard(1, usage);
        view->notifyKeyboard(0, usage);
        QTimer::singleShot(20, [&, before]() {
            if (preview->loopCircleIndex() != before)
                ++ringsStarted;
        });
    });
    if (presses)
        pressTimer.start(150);

    int frames = 0;
    QObject::connect(preview, &EffectPreview::frameChanged, [&]() { ++frames; });
    runFor(warmUpMs);

    frames = 0;
    ringsStarted = 0;
    preview->resetTickStats();
    const double cpu0 = cpuSeconds();
    runFor(seconds * 1000);
    const double cpu = cpuSeconds() - cpu0;
    const double elapsedMs = preview->msSinceStats();
    const double ticks = preview->ticksRun();
    char what[64];
    std::snprintf(what, sizeof what, "scene_%02X%s", effect, harness ? "_harness" : "");
    report(what, ticks, elapsedMs / preview->interval(), cpu, elapsedMs / 1000, frames);
    if (presses)
        std::printf("rings_started=%d interval_ms=%d\n", ringsStarted, preview->interval());
    std::fflush(stdout);
    pressTimer.stop();
    window.close();
    return 0;
}

// Delays the keyboard's protocol needs before the last report of these
// transfers can arrive: 8 ms after each data report sent, and 8 ms after
// each set request whose command sleeps (02H, 0CH, 0DH, 10H, 12H, 30H). That
// sleep runs on the calling thread while the transfer's own data reports go,
// so for one transfer the two overlap and the longer counts. Nothing after
// the last report counts.
double protocolFloorMs(const std::vector<q3sim::TransferTiming>& transfers)
{
    double ms = 0;
    for (size_t i = 0; i < transfers.size(); ++i) {
        const q3sim::TransferTiming& t = transfers[i];
        if (t.command >= 0x80)
            continue; // gets: the host reads as fast as the keyboard answers
        const int dataReports = std::max(0, t.reports - 1);
        const bool sleeps = t.command == 0x02 || t.command == 0x0C || t.command == 0x0D || t.command == 0x10
                            || t.command == 0x12 || t.command == 0x30;
        if (i + 1 == transfers.size())
            ms += 8.0 * std::max(0, dataReports - 1);
        else
            ms += std::max(8.0 * dataReports, sleeps ? 8.0 : 0.0);
    }
    return ms;
}

// ALL SAVE with the lighting page set to a user picture ("picture") or to
// effect 0AH ("effect"): the time from the click on the bottom bar's
// apply button to the last report reaching the keyboard, beside the
// protocol floor of the transfers that click caused.
int saveRun(const QString& kind, const QString& binDir)
{
    QDir::setCurrent(binDir);
    StartupEnvironment::chooseSceneRenderer();
    StartupEnvironment::ensureThreadPool();

    Widget window;
    window.checkDevice();
    myQQuickView* view = window.controller->view;
    window.showNormal();
    window.startScene();
    QQuickItem* root = nullptr;
    QQuickItem* pages = nullptr;
    if (!waitFor([&]() { return (root = view->rootObject()) && (pages = root->findChild<QQuickItem*>("_fkPage"))
                                 && pages->isVisible(); }, 20000)) {
        std::fprintf(stderr, "the page frame did not appear\n");
        return 1;
    }
    view->setEnableAudio(false);
    view->clearAllMedia();
    // Every page built, as once each has been opened: the figure is the
    // transfer, not a first build (BENCH_SAVE_COLD=1: only the lighting page
    // is built, as by opening it; the click builds the others, as at a
    // first ALL SAVE).
    QObject* frame = root->findChild<QObject*>("main_Q3");
    QVariant built;
    if (qEnvironmentVariableIsSet("BENCH_SAVE_COLD"))
        QMetaObject::invokeMethod(frame, "ensurePage", Q_RETURN_ARG(QVariant, built), Q_ARG(QVariant, 2));
    else
        QMetaObject::invokeMethod(frame, "ensureAllPages");
    QObject* page = root->findChild<QObject*>("_Page_Color");
    QObject* category = page ? page->findChild<QObject*>("_effect1") : nullptr;
    QObject* list = page ? page->findChild<QObject*>(kind == "picture" ? "_effect2" : "_effect3") : nullptr;
    auto* button = root->findChild<QQuickItem*>("btnTotalApply");
    if (!category || !list || !button) {
        std::fprintf(stderr, "the lighting page or the bottom bar lacks its controls\n");
        return 1;
    }
    const int categoryIndex = kind == "picture" ? 0 : 1;
    const int entry = kind == "picture" ? 0 : 0x0A;
    QMetaObject::invokeMethod(category, "setCurIndex", Q_ARG(QVariant, categoryIndex));
    QMetaObject::invokeMethod(category, "listElementClicked", Q_ARG(int, categoryIndex));
    QMetaObject::invokeMethod(list, "setCurIndex", Q_ARG(QVariant, entry));
    QMetaObject::invokeMethod(list, "listElementClicked", Q_ARG(int, entry));
    // Let the start-up transfers and the protection after the choice pass.
    runFor(3000);
    if (!waitFor([&]() { return window.hid.linkIdle() && view->isEnabled(); }, 10000)) {
        std::fprintf(stderr, "the link or the view stayed busy\n");
        return 1;
    }
    const size_t before = q3sim::transferTimings().size();
    if (before > 900)
        std::fprintf(stderr, "warning: %zu transfers recorded before the click\n", before);

    const QPoint at = button->mapToScene(QPointF(button->width() / 2, button->height() / 2)).toPoint();
    // A watcher thread notes when the keyboard records each transfer: the
    // click's handler runs on this thread and may go on after the last one.
    std::atomic<bool> watching{true};
    std::atomic<long long> lastNs{-1};
    std::vector<std::pair<size_t, long long>> timeline;
    const auto nowNs = [] {
        return std::chrono::duration_cast<std::chrono::nanoseconds>(
                   std::chrono::steady_clock::now().time_since_epoch()).count();
    };
    std::atomic<long long> clickNs{nowNs()};
    std::thread watcher([&] {
        size_t seen = before;
        while (watching.load()) {
            const size_t now = q3sim::transferTimings().size();
            if (now != seen) {
                seen = now;
                lastNs = nowNs() - clickNs.load();
                timeline.emplace_back(now - before, lastNs.load());
            }
            std::this_thread::sleep_for(std::chrono::microseconds(50));
        }
    });
    clickNs = nowNs();
    if (qEnvironmentVariableIsSet("BENCH_SAVE_DIRECT"))
        QMetaObject::invokeMethod(root->findChild<QObject*>("downItem"), "btnTotalApplyClicked");
    else
        QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, at);
    const double handledMs = (nowNs() - clickNs.load()) / 1e6;
    runFor(1500);
    watching = false;
    watcher.join();
    if (qEnvironmentVariableIsSet("BENCH_SAVE_TIMELINE")) {
        std::fprintf(stderr, "click handled after %.2f ms\n", handledMs);
        for (const auto& [n, ns] : timeline)
            std::fprintf(stderr, "transfer %zu recorded at %.2f ms\n", n, ns / 1e6);
    }
    const std::vector<q3sim::TransferTiming> all = q3sim::transferTimings();
    if (all.size() <= before || lastNs < 0) {
        std::fprintf(stderr, "the click sent nothing\n");
        return 1;
    }
    const std::vector<q3sim::TransferTiming> sent(all.begin() + long(before), all.end());
    int dataReports = 0;
    QString commands;
    for (const auto& t : sent) {
        if (t.command < 0x80)
            dataReports += std::max(0, t.reports - 1);
        commands += QString::asprintf("%02X", t.command) + (t.payloadBytes ? QString::asprintf("/%zu", t.payloadBytes) : QString())
                    + QString::asprintf(":%.1fms ", t.micros / 1000.0);
    }
    std::printf("save_%s ms=%.2f floor_ms=%.2f transfers=%zu data_reports=%d commands=%s\n", qPrintable(kind),
                lastNs.load() / 1e6, protocolFloorMs(sent), sent.size(), dataReports, qPrintable(commands.trimmed().replace(' ', ',')));
    std::fflush(stdout);
    window.close();
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc == 4 && QString::fromLocal8Bit(argv[1]) == "save") {
        // handled below
    } else if (argc < 5) {
        std::fprintf(stderr,
                     "usage: %s floor <interval ms> <seconds> <bin dir>\n"
                     "       %s scene|harness <effect> <seconds> <bin dir> [presses]\n"
                     "       %s save picture|effect <bin dir>\n",
                     argv[0], argv[0], argv[0]);
        return 2;
    }
    const QString mode = QString::fromLocal8Bit(argv[1]);
    const int value = QString::fromLocal8Bit(argv[2]).toInt(nullptr, 0);
    const int seconds = QString::fromLocal8Bit(argv[3]).toInt();
    const QString binDir = QDir(QString::fromLocal8Bit(argv[argc > 4 ? 4 : 3])).absolutePath();
    if (mode == "floor") {
        QGuiApplication app(argc, argv);
        return floorRun(value, seconds, binDir);
    }
    QApplication app(argc, argv);
    if (mode == "save") {
        const int result = saveRun(QString::fromLocal8Bit(argv[2]), QDir(QString::fromLocal8Bit(argv[3])).absolutePath());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return result;
    }
    const bool presses = argc > 5 && QString::fromLocal8Bit(argv[5]) == "presses";
    const int result = sceneRun(value, seconds, binDir, presses, mode == "harness");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return result;
}
