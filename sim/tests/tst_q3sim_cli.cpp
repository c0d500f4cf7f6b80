// The q3sim tool driving the simulated keyboard of a running program over
// the control socket: the program is q3sim_probe in its "serve" mode (linked
// against the real hidapi, run with LD_PRELOAD=libq3sim.so), which prints
// every report it reads from the event interface.

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <cstring>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// The environment of every process started here: no simulation settings
// from outside, the default socket folder in `runtimeDir`.
QProcessEnvironment environment(const QString& runtimeDir, const QStringList& env)
{
    QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
    for (const QString& key : e.keys())
        if (key.startsWith("Q3SIM_") || key == "LD_PRELOAD")
            e.remove(key);
    e.insert("XDG_RUNTIME_DIR", runtimeDir);
    for (const QString& assignment : env)
        e.insert(assignment.section('=', 0, 0), assignment.section('=', 1));
    return e;
}

// q3sim_probe serve, preloaded.
class Probe {
public:
    Probe(const QString& runtimeDir, const QStringList& env)
    {
        m_process.setProcessEnvironment(environment(runtimeDir, QStringList{"LD_PRELOAD=" Q3SIM_LIBRARY} + env));
        m_process.start(Q3SIM_PROBE, {"serve"});
    }
    ~Probe()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }

    // Waits (at most 10 s) until the probe has printed `line`.
    bool waitForLine(const QString& line)
    {
        QElapsedTimer timer;
        timer.start();
        while (!lines().contains(line)) {
            if (timer.elapsed() > 10000 || m_process.state() == QProcess::NotRunning)
                return false;
            m_process.waitForReadyRead(100);
        }
        return true;
    }
    bool ready() { return waitForLine("ready"); }

    QStringList lines()
    {
        m_output += QString::fromLocal8Bit(m_process.readAllStandardOutput());
        return m_output.split('\n', Qt::SkipEmptyParts);
    }

    void send(const QByteArray& line) { m_process.write(line); }

    // Tells it to stop; true when it ended normally within `ms`.
    bool quit(int ms = 5000)
    {
        m_process.write("quit\n");
        m_process.closeWriteChannel();
        return m_process.waitForFinished(ms) && m_process.exitStatus() == QProcess::NormalExit
            && m_process.exitCode() == 0;
    }

    QString errors() { return QString::fromLocal8Bit(m_process.readAllStandardError()); }

private:
    QProcess m_process;
    QString m_output;
};

struct CliRun {
    bool finished = false;
    int exitCode = -1;
    QString out;
    QString err;
};

CliRun q3sim(const QString& runtimeDir, const QStringList& args, const QStringList& env = {})
{
    QProcess process;
    process.setProcessEnvironment(environment(runtimeDir, env));
    process.start(Q3SIM_CLI, args);
    CliRun run;
    run.finished = process.waitForFinished(15000) && process.exitStatus() == QProcess::NormalExit;
    if (!run.finished)
        process.kill();
    run.exitCode = process.exitCode();
    run.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    run.err = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
}

QString describe(const CliRun& run)
{
    return QString("exit %1\nstdout: %2\nstderr: %3").arg(run.exitCode).arg(run.out, run.err);
}

// A socket file nobody serves, as a crashed program leaves it.
bool makeStaleSocket(const QString& path)
{
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(path);
    std::memcpy(address.sun_path, name.constData(), name.size() + 1);
    const bool ok = bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 && listen(fd, 1) == 0;
    close(fd);
    return ok;
}

bool isSocket(const QString& path)
{
    struct stat status {};
    return lstat(QFile::encodeName(path).constData(), &status) == 0 && S_ISSOCK(status.st_mode);
}

QString defaultSocket(const QString& runtimeDir)
{
    return runtimeDir + "/q3sim-" + QString::number(getuid()) + ".sock";
}

} // namespace

class TestQ3SimCli : public QObject {
    Q_OBJECT

private slots:
    void commands_data();
    void commands();
    void nothingListening_data();
    void nothingListening();
    void defaultSocketPath_data();
    void defaultSocketPath();
    void staleSocketIsReplaced();
    void liveSocketIsLeftAlone();
    void forkedChildLeavesTheSocketAlone();
    void exitRemovesTheSocketEvenWithAClientConnected();
};

void TestQ3SimCli::commands_data()
{
    // Steps: a q3sim command line, or "@<line>" to wait for the probe to print <line>.
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<int>("exitCode");   // of the last command
    QTest::addColumn<QString>("output"); // regular expression the last command's stdout (exit 0) or stderr matches
    QTest::addColumn<QString>("absent"); // regular expression it must not match (empty: none)

    const QString keyRows = R"(  keys:\n(   (?: [0-9a-f]{4}){16}\n){8})";
    QTest::newRow("state") << QStringList{"state"} << 0
                           << "^plugged: yes\ninterfaces: command event\nfirmware: 01 0a, layout mode 3\n"
                              "options: 00 01 00\nsensitivity: 02\ncurrent profile: 0 of 3\n[\\s\\S]*"
                              "profile 0 \\(current\\):\n  led type: 01 04 02 00 00 00 00\n"
                              "  colours: 3f 00 00, 3f 1f 00, [^\n]*\n" + keyRows + "  pictures: none\n"
                              "profile 1:\n[\\s\\S]*  pictures: 0\nprofile 2:\n[\\s\\S]*  pictures: 0 1\n$"
                           << "picture 0 plane|macro 0:";
    QTest::newRow("state --pictures") << QStringList{"state --pictures"} << 0
                                      << "profile 1:\n[\\s\\S]*  picture 0 plane 3:\n    30 31 32 33"
                                      << "";
    QTest::newRow("lighting reaches the program and the state")
        << QStringList{"lighting 5 4 3 2 1 0 0", "@event: 12 00 00 00 00 05 04 03 02 01 00 00 00", "state"} << 0
        << "profile 0 \\(current\\):\n  led type: 05 04 03 02 01 00 00\n" << "";
    QTest::newRow("lighting in hex, other profile")
        << QStringList{"profile 2", "lighting 0x10 0x0a 1 0 6 0 1",
                       "@event: 12 00 00 00 00 10 0a 01 00 06 00 01 00", "state"} << 0
        << "current profile: 2 of 3\n[\\s\\S]*profile 2 \\(current\\):\n  led type: 10 0a 01 00 06 00 01\n"
        << "";
    QTest::newRow("report") << QStringList{"report 01 02 0a ff", "@event: 4 01 02 0a ff", "state"} << 0 << "plugged: yes" << "";
    QTest::newRow("unplug") << QStringList{"unplug", "@event read failed", "state"} << 0 << "^plugged: no\n" << "";
    QTest::newRow("unplug and plug") << QStringList{"unplug", "@event read failed", "plug", "lighting 1 1 1 1 1 1 1",
                                                   "@event: 12 00 00 00 00 01 01 01 01 01 01 01 00", "state"}
                                     << 0 << "^plugged: yes\n" << "";
    QTest::newRow("interfaces") << QStringList{"interfaces command", "@event read failed", "state"} << 0
                                << "\ninterfaces: command\n" << "";
    QTest::newRow("fail-call") << QStringList{"fail-call hid_read_timeout 1", "@event read failed", "state"} << 0
                               << "\nfaults: none\n" << "";
    QTest::newRow("faults shown") << QStringList{"fail-open 2", "stall-data on", "unplug-after 5", "state"} << 0
                                  << "\nfaults: data stalled, unplug after 5 reports, fail-open 2\n" << "";
    QTest::newRow("trace") << QStringList{"lighting 5 4 3 2 1 0 0", "@event: 12 00 00 00 00 05 04 03 02 01 00 00 00", "trace"}
                           << 0
                           << "^hid_init - -> 0\n[\\s\\S]*\nhid_read_timeout q3sim:04d9:a1cd:ff02 length=65 timeout=20 "
                              "\\[00 00 00 00 05 04 03 02 01 00 00 00\\] -> 12\n"
                           << "";
    QTest::newRow("trace N") << QStringList{"trace 2"} << 0 << "^hid_[^\n]*\nhid_[^\n]*\n$" << "";
    QTest::newRow("clear-trace") << QStringList{"clear-trace", "trace"} << 0 << "^(hid_[^\n]*\n)*$" << "hid_init";
    QTest::newRow("reset") << QStringList{"profile 1", "unplug", "reset", "state"} << 0
                           << "^plugged: yes\n[\\s\\S]*current profile: 0 of 3\n" << "";
    QTest::newRow("help") << QStringList{"help"} << 0 << "\nlighting <type> <brightness>" << "";

    QTest::newRow("unknown command") << QStringList{"jump"} << 1 << "unknown command 'jump'" << "";
    QTest::newRow("no such profile") << QStringList{"profile 3"} << 1 << "no profile 3" << "";
    QTest::newRow("lighting, too few bytes") << QStringList{"lighting 1 2"} << 1 << "usage: lighting" << "";
    QTest::newRow("lighting, not a byte") << QStringList{"lighting 1 2 3 4 5 6 256"} << 1 << "usage: lighting" << "";
    QTest::newRow("lighting while unplugged") << QStringList{"unplug", "lighting 1 2 3 4 5 6 7"} << 1 << "unplugged" << "";
    QTest::newRow("fail-call, unknown function") << QStringList{"fail-call hid_close 1"} << 1 << "hid_close" << "";
    QTest::newRow("state, unknown option") << QStringList{"state --all"} << 1 << "usage: state" << "";
}

void TestQ3SimCli::commands()
{
    QFETCH(QStringList, steps);
    QFETCH(int, exitCode);
    QFETCH(QString, output);
    QFETCH(QString, absent);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString socket = dir.filePath("control.sock");
    Probe probe(dir.path(), {"Q3SIM_SOCKET=" + socket});
    QVERIFY2(probe.ready(), qPrintable(probe.errors()));

    CliRun run;
    for (int i = 0; i < steps.size(); ++i) {
        if (steps[i].startsWith('@')) {
            QVERIFY2(probe.waitForLine(steps[i].mid(1)), qPrintable(probe.lines().join('\n')));
            continue;
        }
        run = q3sim(dir.path(), QStringList{"--socket", socket} + steps[i].split(' '));
        QVERIFY2(run.finished, qPrintable(steps[i]));
        if (i < steps.size() - 1)
            QVERIFY2(run.exitCode == 0, qPrintable(steps[i] + ": " + describe(run)));
    }
    QVERIFY2(run.exitCode == exitCode, qPrintable(describe(run)));
    const QString text = exitCode == 0 ? run.out : run.err;
    QVERIFY2(QRegularExpression(output).match(text).hasMatch(), qPrintable(describe(run)));
    if (!absent.isEmpty())
        QVERIFY2(!QRegularExpression(absent).match(text).hasMatch(), qPrintable(describe(run)));
    QVERIFY(probe.quit());
}

void TestQ3SimCli::nothingListening_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("no file") << "none";
    QTest::newRow("stale socket file") << "stale";
    QTest::newRow("regular file") << "file";
}

void TestQ3SimCli::nothingListening()
{
    QFETCH(QString, kind);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString socket = dir.filePath("control.sock");
    if (kind == "stale")
        QVERIFY(makeStaleSocket(socket));
    else if (kind == "file")
        QVERIFY(QFile(socket).open(QIODevice::WriteOnly));

    QElapsedTimer timer;
    timer.start();
    const CliRun run = q3sim(dir.path(), {"--socket", socket, "state"});
    QVERIFY(run.finished);
    QVERIFY2(run.exitCode == 3, qPrintable(describe(run)));
    QVERIFY2(run.err.contains(socket), qPrintable(run.err));
    QVERIFY(run.out.isEmpty());
    QVERIFY(timer.elapsed() < 5000);

    const CliRun usage = q3sim(dir.path(), {"--socket"});
    QCOMPARE(usage.exitCode, 2);
}

void TestQ3SimCli::defaultSocketPath_data()
{
    // Where the probe serves and how the tool finds it.
    QTest::addColumn<bool>("probeSetsSocket");
    QTest::addColumn<QString>("toolFindsItBy");  // "default", "variable", "option"

    QTest::newRow("default path, found by default") << false << "default";
    QTest::newRow("Q3SIM_SOCKET, found by the variable") << true << "variable";
    QTest::newRow("Q3SIM_SOCKET, found by --socket") << true << "option";
}

void TestQ3SimCli::defaultSocketPath()
{
    QFETCH(bool, probeSetsSocket);
    QFETCH(QString, toolFindsItBy);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString chosen = dir.filePath("chosen.sock");
    const QString path = probeSetsSocket ? chosen : defaultSocket(dir.path());
    Probe probe(dir.path(), probeSetsSocket ? QStringList{"Q3SIM_SOCKET=" + chosen} : QStringList{});
    QVERIFY2(probe.ready(), qPrintable(probe.errors()));
    QVERIFY(isSocket(path));
    QCOMPARE(isSocket(defaultSocket(dir.path())), !probeSetsSocket);

    const CliRun run = toolFindsItBy == "default" ? q3sim(dir.path(), {"profile", "1"})
        : toolFindsItBy == "variable"             ? q3sim(dir.path(), {"profile", "1"}, {"Q3SIM_SOCKET=" + path})
                                                  : q3sim(dir.path(), {"--socket", path, "profile", "1"});
    QVERIFY2(run.exitCode == 0, qPrintable(describe(run)));
    const CliRun state = q3sim(dir.path(), {"--socket", path, "state"});
    QVERIFY2(state.out.contains("current profile: 1 of 3\n"), qPrintable(describe(state)));
    QVERIFY(probe.quit());
    QVERIFY(!isSocket(path));
}

void TestQ3SimCli::staleSocketIsReplaced()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString socket = dir.filePath("control.sock");
    QVERIFY(makeStaleSocket(socket));
    Probe probe(dir.path(), {"Q3SIM_SOCKET=" + socket});
    QVERIFY2(probe.ready(), qPrintable(probe.errors()));
    const CliRun run = q3sim(dir.path(), {"--socket", socket, "state"});
    QVERIFY2(run.exitCode == 0 && run.out.startsWith("plugged: yes\n"), qPrintable(describe(run)));
    QVERIFY(probe.quit());
    QVERIFY(!isSocket(socket));
}

void TestQ3SimCli::liveSocketIsLeftAlone()
{
    // A second preloaded process (a child of the program, say) finds the
    // socket answered: it neither takes it over nor removes it at its exit.
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString socket = dir.filePath("control.sock");
    Probe first(dir.path(), {"Q3SIM_SOCKET=" + socket});
    QVERIFY2(first.ready(), qPrintable(first.errors()));
    QCOMPARE(q3sim(dir.path(), {"--socket", socket, "profile", "2"}).exitCode, 0);

    Probe second(dir.path(), {"Q3SIM_SOCKET=" + socket});
    QVERIFY2(second.ready(), qPrintable(second.errors()));
    QCOMPARE(q3sim(dir.path(), {"--socket", socket, "lighting", "9", "9", "9", "9", "9", "9", "9"}).exitCode, 0);
    QVERIFY(first.waitForLine("event: 12 00 00 00 00 09 09 09 09 09 09 09 00"));
    QVERIFY(second.quit());
    QVERIFY(second.errors().isEmpty());

    QVERIFY(isSocket(socket));
    const CliRun state = q3sim(dir.path(), {"--socket", socket, "state"});
    QVERIFY2(state.out.contains("current profile: 2 of 3\n"), qPrintable(describe(state)));
    QVERIFY(!second.lines().contains("event: 12 00 00 00 00 09 09 09 09 09 09 09 00"));
    QVERIFY(first.quit());
    QVERIFY(!isSocket(socket));
}

void TestQ3SimCli::forkedChildLeavesTheSocketAlone()
{
    // A child forked by the program ends normally: the socket is its
    // parent's, and stays.
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString socket = dir.filePath("control.sock");
    Probe probe(dir.path(), {"Q3SIM_SOCKET=" + socket});
    QVERIFY2(probe.ready(), qPrintable(probe.errors()));
    probe.send("fork\n");
    QVERIFY2(probe.waitForLine("forked: 0"), qPrintable(probe.lines().join('\n')));
    QVERIFY(isSocket(socket));
    const CliRun run = q3sim(dir.path(), {"--socket", socket, "state"});
    QVERIFY2(run.exitCode == 0, qPrintable(describe(run)));
    QVERIFY(probe.quit());
    QVERIFY(!isSocket(socket));
}

void TestQ3SimCli::exitRemovesTheSocketEvenWithAClientConnected()
{
    // A client that connects and says nothing holds the serving thread in
    // its read; the program still ends at once, and tidies up.
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString socket = dir.filePath("control.sock");
    Probe probe(dir.path(), {"Q3SIM_SOCKET=" + socket});
    QVERIFY2(probe.ready(), qPrintable(probe.errors()));

    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(socket);
    std::memcpy(address.sun_path, name.constData(), name.size() + 1);
    QCOMPARE(::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);

    QElapsedTimer timer;
    timer.start();
    QVERIFY(probe.quit(3000));
    QVERIFY2(timer.elapsed() < 3000, qPrintable(QString::number(timer.elapsed())));
    QVERIFY(probe.errors().isEmpty());
    QVERIFY(!isSocket(socket));
    ::close(fd);
}

QTEST_GUILESS_MAIN(TestQ3SimCli)
#include "tst_q3sim_cli.moc"
