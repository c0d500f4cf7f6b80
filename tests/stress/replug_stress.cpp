// Replug stress: the whole program (window, scene, bridge, device link) on
// the simulated keyboard, unplugged and plugged again many times at random
// points: during set transfers, during get queries on the GUI thread, while
// the listener reads, and between the reports of a data phase. It reports
// how long the GUI thread was blocked at most, and file descriptors,
// threads and resident memory before and after. A crash ends the process
// (the calling script reports it).
//
// Usage: q3_replug_stress <modules folder to copy> [cycles] [seed]

#include "app/StartupEnvironment.h"
#include "app/Ui_Controler.h"
#include "app/Widget.h"
#include "bridge/myQQuickView.h"

#include "../CopyTree.h"

#include <q3sim.h>

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <random>
#include <thread>

namespace {

int countEntries(const char* folder)
{
    return int(QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System).size());
}

long residentKiB()
{
    QFile f("/proc/self/statm");
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    return QString(f.readAll()).split(' ').value(1).toLong() * 4;
}


struct Snapshot
{
    int fds, threads;
    long rss;
};

Snapshot snapshot()
{
    return {countEntries("/proc/self/fd"), countEntries("/proc/self/task"), residentKiB()};
}

// Keeps the event loop busy with a short timer and remembers the longest
// gap between two of its ticks: the longest time the GUI thread was blocked.
class Heartbeat : public QObject
{
public:
    Heartbeat()
    {
        clock.start();
        timer.setInterval(2);
        connect(&timer, &QTimer::timeout, this, [this] {
            const qint64 now = clock.elapsed();
            longest = std::max(longest, now - last);
            last = now;
        });
        timer.start();
    }
    void restart() { last = clock.elapsed(); longest = 0; }
    qint64 longest = 0;

private:
    QElapsedTimer clock;
    qint64 last = 0;
    QTimer timer;
};

// Pumps events for `ms` milliseconds.
void settle(int ms)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

}

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <modules folder> [cycles] [seed]\n", argv[0]);
        return 2;
    }
    const int cycles = argc > 2 ? std::max(1, atoi(argv[2])) : 1000;
    const unsigned seed = argc > 3 ? unsigned(atoi(argv[3])) : std::random_device{}();
    std::mt19937 random(seed);
    auto pick = [&random](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };

    QTemporaryDir work;
    if (!copyTree(QDir(argv[1]).absolutePath(), work.path() + "/modules")) {
        std::fprintf(stderr, "cannot copy %s\n", argv[1]);
        return 2;
    }
    QDir::setCurrent(work.path());
    StartupEnvironment::chooseSceneRenderer();
    StartupEnvironment::ensureThreadPool();

    Widget window;
    window.checkDevice();
    window.showNormal();
    window.startScene();
    settle(1500);
    myQQuickView* view = window.controller->view;

    const QVariantList matrix = [] {
        QVariantList m;
        for (int i = 0; i < 256; ++i)
            m << (i % 2 ? 0 : i / 2);
        return m;
    }();
    QVariantList picture;
    for (int i = 0; i < 384; ++i)
        picture << (i * 7) % 256;

    Heartbeat heartbeat;
    const char* pointNames[] = {"set transfer", "get query", "listener read", "data phase"};
    int perPoint[4] = {0, 0, 0, 0};
    qint64 longestBlock = 0;
    int longestAt = -1;
    Snapshot before{};

    for (int cycle = 0; cycle < cycles; ++cycle) {
        if (cycle == 20) {
            settle(500);
            before = snapshot();
        }
        const int point = pick(0, 3);
        ++perPoint[point];
        heartbeat.restart();
        std::thread unplugger;
        switch (point) {
        case 0: // a set transfer is running on a pool worker
            view->ui_08H_SetLEDType(uchar(pick(0, 11)), 7, 3, 0, 1, 0, 0);
            view->ui_0C0DH_SetKeyMatrix(matrix);
            unplugger = std::thread([delay = pick(0, 30)] {
                std::this_thread::sleep_for(std::chrono::milliseconds(delay));
                q3sim::setPlugged(false);
            });
            break;
        case 1: // a get query blocks the GUI thread
            unplugger = std::thread([delay = pick(0, 15)] {
                std::this_thread::sleep_for(std::chrono::milliseconds(delay));
                q3sim::setPlugged(false);
            });
            if (pick(0, 1))
                view->syncLed();
            else
                view->ui_8C8DH_GetKeyMatrix();
            break;
        case 2: // only the listener is reading
            settle(pick(0, 40));
            q3sim::setPlugged(false);
            break;
        case 3: // gone after a few reports of a data phase
            q3sim::runControlCommand("unplug-after " + std::to_string(pick(1, 9)));
            view->ui_12H_SetUserPicture(uchar(pick(0, 4)), 0, picture);
            break;
        }
        settle(pick(5, 40));
        if (unplugger.joinable())
            unplugger.join();
        q3sim::runControlCommand("unplug-after 0");
        q3sim::setPlugged(false);
        settle(pick(0, 20));
        q3sim::setPlugged(true);
        // What the presence check does 2048 ms after the last notification;
        // run at once so that cycles need not wait for it.
        window.checkDevice();
        settle(10);
        // The simulation's own call record is not the program's memory.
        q3sim::clearTrace();
        if (heartbeat.longest > longestBlock) {
            longestBlock = heartbeat.longest;
            longestAt = point;
        }
        if ((cycle + 1) % 100 == 0) {
            std::printf("  %d cycles, longest GUI block so far %lld ms\n", cycle + 1, longestBlock);
            std::fflush(stdout);
        }
    }
    // The last deferred presence check and any transfer still running end.
    settle(3000);
    const Snapshot after = snapshot();
    const bool found = window.hid.deviceCount() > 0 && !window.hid.device(0).path.isEmpty()
                       && window.hid.isListening();

    std::printf("replug stress: %d cycles (seed %u): set transfer %d, get query %d, listener read %d, data phase %d\n",
                cycles, seed, perPoint[0], perPoint[1], perPoint[2], perPoint[3]);
    std::printf("longest GUI block: %lld ms (during %s); bound of the link wait: %d ms\n", longestBlock,
                longestAt >= 0 ? pointNames[longestAt] : "-", 255 * 8);
    std::printf("file descriptors: %d -> %d\nthreads: %d -> %d\nresident memory: %ld -> %ld KiB\n",
                before.fds, after.fds, before.threads, after.threads, before.rss, after.rss);
    std::printf("keyboard found again after the last cycle: %s\n", found ? "yes" : "no");
    std::fflush(stdout);
    const bool ok = found && after.fds <= before.fds && after.threads <= before.threads
                    && longestBlock <= 255 * 8;
    window.close();
    return ok ? 0 : 1;
}
