#pragma once

// Shared by the fuzz harnesses: one application object for the run, a fresh
// folder for every input, quiet logging and checks that abort, so that both
// libFuzzer and the corpus replay notice them.

#include "app/StartupEnvironment.h"

#include <QGuiApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <vector>

#define FUZZ_CHECK(cond)                                                                      \
    do {                                                                                      \
        if (!(cond)) {                                                                        \
            std::fprintf(stderr, "fuzz check failed: %s (%s:%d)\n", #cond, __FILE__, __LINE__); \
            std::abort();                                                                     \
        }                                                                                     \
    } while (0)

namespace fuzz {

// The readers log what they refuse; a million lines of it would only slow
// the run. Fatal messages still end it.
inline void quietMessages(QtMsgType type, const QMessageLogContext&, const QString& text)
{
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "%s\n", qPrintable(text));
        std::abort();
    }
}

// The event loop, the thread pool and queued calls need an application
// object; made once, on the first input. It is the program's kind, so that
// Qt's graphics types are known to Qt's readers as they are in the program.
inline void ensureApplication()
{
    if (QCoreApplication::instance())
        return;
    static int argc = 1;
    static char name[] = "q3fuzz";
    static char* argv[] = {name, nullptr};
    qInstallMessageHandler(quietMessages);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    new QGuiApplication(argc, argv);
    StartupEnvironment::ensureThreadPool();
}

// The folder the inputs are written to, emptied for every input. QSettings
// keeps what it parsed by path and looks only at size and modification
// time, so every file written here gets a modification time of its own:
// an input is never answered from the previous one's cache. (A fresh path
// per input would grow that cache instead, and the leak check after every
// input would then take most of the time.)
class Scratch
{
public:
    // The folder, empty.
    QString fresh()
    {
        QDir dir(root.path() + "/input");
        if (dir.exists()) {
            for (const QString& entry : dir.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)) {
                if (!dir.remove(entry))
                    QDir(dir.filePath(entry)).removeRecursively();
            }
        } else {
            dir.mkpath(".");
        }
        return dir.path();
    }

    // Writes the input to `name` inside the folder; returns its path.
    QString write(const QString& name, const uint8_t* data, size_t size)
    {
        const QString path = root.path() + "/input/" + name;
        QFile f(path);
        if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            f.write(reinterpret_cast<const char*>(data), qint64(size));
            f.setFileTime(QDateTime::fromSecsSinceEpoch(1000000000 + qint64(++count)),
                          QFileDevice::FileModificationTime);
        }
        return path;
    }

private:
    QTemporaryDir root;
    quint64 count = 0;
};

inline Scratch& scratch()
{
    static Scratch s;
    return s;
}

// A shipped data file, from the source tree.
inline QString shippedFile(const char* relative)
{
    return QString(Q3_SOURCE_DIR) + "/" + relative;
}

// Reads the input as a sequence of fields.
class Reader
{
public:
    Reader(const uint8_t* data, size_t size) : p(data), end(data + size) {}
    bool atEnd() const { return p >= end; }
    uint8_t byte() { return p < end ? *p++ : 0; }
    // Up to `max` bytes, fewer at the end of the input.
    std::vector<unsigned char> bytes(size_t max)
    {
        const size_t n = std::min(max, size_t(end - p));
        std::vector<unsigned char> out(p, p + n);
        p += n;
        return out;
    }

private:
    const uint8_t* p;
    const uint8_t* end;
};

}
