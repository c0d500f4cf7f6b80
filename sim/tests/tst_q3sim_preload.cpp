// libq3sim.so as a drop-in replacement of the real hidapi library: a client
// linked against libhidapi-hidraw (q3sim_probe) run with LD_PRELOAD, set up
// through the environment and driven through the control FIFO.

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <dlfcn.h>
#include <sys/stat.h>

namespace {

struct ProbeRun {
    bool finished = false;
    int exitCode = -1;
    QString out;
    QString err;
};

ProbeRun runProbe(const QStringList& args, const QStringList& env, bool preload = true)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const QString& key : environment.keys())
        if (key.startsWith("Q3SIM_") || key == "LD_PRELOAD")
            environment.remove(key);
    if (preload)
        environment.insert("LD_PRELOAD", Q3SIM_LIBRARY);
    for (const QString& assignment : env)
        environment.insert(assignment.section('=', 0, 0), assignment.section('=', 1));

    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(Q3SIM_PROBE, args);
    ProbeRun run;
    run.finished = process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit;
    if (!run.finished)
        process.kill();
    run.exitCode = process.exitCode();
    run.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    run.err = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
}

#define VERIFY_RUN(run)                                                                         \
    QVERIFY2((run).finished && (run).exitCode == 0,                                             \
             qPrintable("probe failed (" + QString::number((run).exitCode) + "): " + (run).out \
                        + (run).err))

} // namespace

class TestQ3SimPreload : public QObject {
    Q_OBJECT

private slots:
    void exportsEveryHidapiFunction_data();
    void exportsEveryHidapiFunction();
    void environmentSetsUpTheKeyboard_data();
    void environmentSetsUpTheKeyboard();
    void controlFifoDrivesTheKeyboard();
    void traceFileGetsOneLinePerCall();
};

void TestQ3SimPreload::exportsEveryHidapiFunction_data()
{
    QTest::addColumn<QString>("name");
    for (const char* name :
         {"hid_init", "hid_exit", "hid_enumerate", "hid_free_enumeration", "hid_open", "hid_open_path",
          "hid_write", "hid_read_timeout", "hid_read", "hid_set_nonblocking", "hid_send_feature_report",
          "hid_get_feature_report", "hid_get_input_report", "hid_close", "hid_get_manufacturer_string",
          "hid_get_product_string", "hid_get_serial_number_string", "hid_get_device_info",
          "hid_get_indexed_string", "hid_error", "hid_version", "hid_version_str"})
        QTest::newRow(name) << name;
}

void TestQ3SimPreload::exportsEveryHidapiFunction()
{
    QFETCH(QString, name);
    void* library = dlopen(Q3SIM_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    QVERIFY2(library, dlerror());
    void* symbol = dlsym(library, name.toLatin1().constData());
    QVERIFY2(symbol, qPrintable(name + " is not exported"));
    Dl_info where{};
    QVERIFY(dladdr(symbol, &where));
    QVERIFY2(QString(where.dli_fname).endsWith("libq3sim.so"), where.dli_fname);

    if (name == "hid_version") {
        struct Version { int major, minor, patch; };
        const auto* version = reinterpret_cast<const Version* (*)()>(symbol)();
        QCOMPARE(QString("%1.%2.%3").arg(version->major).arg(version->minor).arg(version->patch),
                 QString("0.13.1"));
    } else if (name == "hid_version_str") {
        QCOMPARE(QString(reinterpret_cast<const char* (*)()>(symbol)()), QString("0.13.1"));
    }
}

void TestQ3SimPreload::environmentSetsUpTheKeyboard_data()
{
    QTest::addColumn<bool>("preload");
    QTest::addColumn<QStringList>("env");
    QTest::addColumn<QString>("paths");

    const QString both = "paths: q3sim:04d9:a1cd:ff01 q3sim:04d9:a1cd:ff02\n";
    QTest::newRow("default") << true << QStringList{} << both;
    QTest::newRow("both") << true << QStringList{"Q3SIM_INTERFACES=both"} << both;
    QTest::newRow("command only") << true << QStringList{"Q3SIM_INTERFACES=command"}
                                  << "paths: q3sim:04d9:a1cd:ff01\n";
    QTest::newRow("event only") << true << QStringList{"Q3SIM_INTERFACES=event"}
                                << "paths: q3sim:04d9:a1cd:ff02\n";
    QTest::newRow("none") << true << QStringList{"Q3SIM_INTERFACES=none"} << "paths:\n";
    QTest::newRow("unknown value shows both") << true << QStringList{"Q3SIM_INTERFACES=keyboard"} << both;
    QTest::newRow("unplugged") << true << QStringList{"Q3SIM_UNPLUGGED=1"} << "paths:\n";
    QTest::newRow("unplugged=0") << true << QStringList{"Q3SIM_UNPLUGGED=0"} << both;
    // Without the preload the real library answers (and knows no simulated device).
    QTest::newRow("real hidapi") << false << QStringList{} << "paths:\n";
}

void TestQ3SimPreload::environmentSetsUpTheKeyboard()
{
    QFETCH(bool, preload);
    QFETCH(QStringList, env);
    QFETCH(QString, paths);

    const ProbeRun run = runProbe({"enumerate"}, env, preload);
    VERIFY_RUN(run);
    QCOMPARE(run.out, paths);
}

void TestQ3SimPreload::controlFifoDrivesTheKeyboard()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString fifo = dir.filePath("control");  // created by the library
    const ProbeRun run = runProbe({"control", fifo}, {"Q3SIM_CONTROL=" + fifo});
    VERIFY_RUN(run);
    QCOMPARE(run.out, QString("paths:\n"
                              "paths: q3sim:04d9:a1cd:ff02\n"
                              "read: 4 01 02 0a ff\n"
                              "read after unplug: -1\n"
                              "paths: q3sim:04d9:a1cd:ff01 q3sim:04d9:a1cd:ff02\n"
                              "first open: failed\n"
                              "second open: ok\n"));
    struct stat status {};
    QCOMPARE(stat(QFile::encodeName(fifo).constData(), &status), 0);
    QVERIFY(S_ISFIFO(status.st_mode));

    // An existing FIFO is reused.
    const ProbeRun again = runProbe({"control", fifo}, {"Q3SIM_CONTROL=" + fifo});
    VERIFY_RUN(again);
    QCOMPARE(again.out, run.out);
}

void TestQ3SimPreload::traceFileGetsOneLinePerCall()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString tracePath = dir.filePath("trace.log");
    for (int i = 0; i < 2; ++i) {  // the file is appended to, not rewritten
        const ProbeRun run = runProbe({"calls"}, {"Q3SIM_TRACE=" + tracePath});
        VERIFY_RUN(run);
    }

    QFile file(tracePath);
    QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
    const QRegularExpression stamped(R"(^\[\s*\d+\.\d{3}\] (.*)$)");
    QStringList lines;
    for (const QString& line : QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts)) {
        const QRegularExpressionMatch match = stamped.match(line);
        QVERIFY2(match.hasMatch(), qPrintable(line));
        lines << match.captured(1);
    }

    const QString path = "q3sim:04d9:a1cd:ff01";
    QString output = "00 aa";
    for (int i = 2; i < 65; ++i)
        output += " 00";
    const QStringList session{
        "hid_open " + path + " vid=04d9 pid=a1cd -> 0",
        "hid_send_feature_report " + path + " [00 05 01 02 03 04 05 06 07] -> 9",
        "hid_get_feature_report " + path + " length=9 report_id=0 [00 05 01 02 03 04 05 06 07] -> 9",
        "hid_write " + path + " [" + output + "] -> 65",
        "hid_read_timeout " + path + " length=65 timeout=0 -> 0",
        "hid_close " + path + " -> 0",
        "hid_exit - -> 0",
    };
    QCOMPARE(lines, session + session);
}

QTEST_GUILESS_MAIN(TestQ3SimPreload)
#include "tst_q3sim_preload.moc"
