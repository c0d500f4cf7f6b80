#include "app/DataFolder.h"
#include "FileSizeLimit.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

// The data folder: which one the program uses, and how an installed copy
// lays out each user's folder from the shipped data.
class TestDataFolder : public QObject
{
    Q_OBJECT
private slots:
    void init();

    void choose_data();
    void choose();
    void firstLayout();
    void upgradeKeepsWhatTheProgramWrote();
    void unwritableFilesAreReportedAndTheRestLaidOut();
    void fullDiskLeavesNoPartialFile();
    void emptyOwnFilesAreLaidOutAgain();
    void prepare_data();
    void prepare();
    void prepareFallsBackToTheShippedData();

private:
    QString path(const QString& rel) const { return dir->path() + "/" + rel; }
    void write(const QString& rel, const QByteArray& content);
    QByteArray read(const QString& rel) const;
    // An installed copy under prefix/: bin/q3config and share/q3config/modules.
    void makeInstalledCopy();

    std::unique_ptr<QTemporaryDir> dir;
};

void TestDataFolder::init()
{
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
}

void TestDataFolder::write(const QString& rel, const QByteArray& content)
{
    QVERIFY(QDir().mkpath(QFileInfo(path(rel)).absolutePath()));
    QFile f(path(rel));
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(content);
}

QByteArray TestDataFolder::read(const QString& rel) const
{
    QFile f(path(rel));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void TestDataFolder::makeInstalledCopy()
{
    const QString shipped = "prefix/share/q3config/modules/";
    write("prefix/bin/q3config", "#!");
    write(shipped + "setting/apConfig.bin", "[common]\nname=shipped\n");
    write(shipped + "setting/apConfigD.bin", "[common]\nname=factory\n");
    write(shipped + "setting/pD.bin", "[color]\nledType=2\n");
    write(shipped + "setting/HWDef.bin", "[common]\nmaxMacro=32\nmaxProfile=3\n");
    write(shipped + "i18n/lang_031000.ini", "[font]\ntotal=0\n");
    write(shipped + "media/01.wav", QByteArray(3000, 'w'));
    write(shipped + "img/skin1/background.png", QByteArray(5000, 'p'));
}

void TestDataFolder::choose_data()
{
    QTest::addColumn<QStringList>("files");     // relative to the temporary folder
    QTest::addColumn<bool>("readOnlyBeside");   // modules/ beside the executable not writable
    QTest::addColumn<bool>("perUser");

    QTest::newRow("build tree") << QStringList{"prefix/bin/modules/setting/HWDef.bin"} << false << false;
    QTest::newRow("installed") << QStringList{"prefix/share/q3config/modules/setting/HWDef.bin"} << false << true;
    QTest::newRow("build tree inside a prefix wins")
        << QStringList{"prefix/bin/modules/setting/HWDef.bin", "prefix/share/q3config/modules/setting/HWDef.bin"}
        << false << false;
    QTest::newRow("read-only copy beside an installed one")
        << QStringList{"prefix/bin/modules/setting/HWDef.bin", "prefix/share/q3config/modules/setting/HWDef.bin"}
        << true << true;
    QTest::newRow("nothing anywhere") << QStringList{} << false << false;
}

void TestDataFolder::choose()
{
    QFETCH(QStringList, files);
    QFETCH(bool, readOnlyBeside);
    QFETCH(bool, perUser);
    if (readOnlyBeside && geteuid() == 0)
        QSKIP("root may write anywhere");

    QVERIFY(QDir().mkpath(path("prefix/bin")));
    for (const QString& f : files)
        write(f, "x");
    if (readOnlyBeside)
        QVERIFY(QFile::setPermissions(path("prefix/bin/modules"), QFile::ReadOwner | QFile::ExeOwner));

    const DataFolder::Choice c = DataFolder::choose(path("prefix/bin"), path("home/.local/share"));
    if (readOnlyBeside)
        QFile::setPermissions(path("prefix/bin/modules"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QCOMPARE(c.perUser, perUser);
    if (perUser) {
        QCOMPARE(c.workingDirectory, path("home/.local/share/q3config"));
        QCOMPARE(c.shippedModules, path("prefix/share/q3config/modules"));
    } else {
        QCOMPARE(c.workingDirectory, path("prefix/bin"));
        QVERIFY(c.shippedModules.isEmpty());
    }
}

void TestDataFolder::firstLayout()
{
    makeInstalledCopy();
    QStringList errors;
    QVERIFY(DataFolder::layOut(path("prefix/share/q3config/modules"), path("user/modules"), &errors));
    QVERIFY(errors.isEmpty());
    for (const QString& rel : {"setting/apConfig.bin", "setting/apConfigD.bin", "setting/pD.bin",
                               "setting/HWDef.bin", "i18n/lang_031000.ini", "media/01.wav",
                               "img/skin1/background.png"}) {
        QCOMPARE(read("user/modules/" + rel), read("prefix/share/q3config/modules/" + rel));
    }
    // One profile file per on-board profile, each the factory profile.
    for (int i = 1; i <= 3; ++i)
        QCOMPARE(read(QString("user/modules/setting/p%1.bin").arg(i)), QByteArray("[color]\nledType=2\n"));
    QVERIFY(!QFileInfo::exists(path("user/modules/setting/p4.bin")));
}

void TestDataFolder::upgradeKeepsWhatTheProgramWrote()
{
    makeInstalledCopy();
    const QString shipped = path("prefix/share/q3config/modules");
    QVERIFY(DataFolder::layOut(shipped, path("user/modules"), nullptr));

    // The user worked with the program ...
    write("user/modules/setting/apConfig.bin", "[common]\nname=mine\n");
    write("user/modules/setting/p2.bin", "[color]\nledType=5\n");
    write("user/modules/macro/m0.bin", "[macro]\nname=jump\n");
    write("user/modules/img/skin1/my-background.png", "mine");
    QVERIFY(QFile::remove(path("user/modules/media/01.wav")));
    // ... a shipped file of the same size changed by hand is a damaged copy
    write("user/modules/img/skin1/background.png", QByteArray(5000, 'x'));
    // ... and an upgrade brings new shipped data.
    write("prefix/share/q3config/modules/i18n/lang_031000.ini", "[font]\ntotal=1\n");
    write("prefix/share/q3config/modules/i18n/lang_042000.ini", "[font]\ntotal=2\n");
    write("prefix/share/q3config/modules/setting/HWDef.bin", "[common]\nmaxMacro=32\nmaxProfile=4\n");
    write("prefix/share/q3config/modules/setting/apConfig.bin", "[common]\nname=shipped 2\n");
    write("prefix/share/q3config/modules/macro/m0.bin", "[macro]\nname=shipped\n");

    QStringList errors;
    QVERIFY(DataFolder::layOut(shipped, path("user/modules"), &errors));
    QVERIFY(errors.isEmpty());
    QCOMPARE(read("user/modules/setting/apConfig.bin"), QByteArray("[common]\nname=mine\n"));
    QCOMPARE(read("user/modules/setting/p2.bin"), QByteArray("[color]\nledType=5\n"));
    QCOMPARE(read("user/modules/macro/m0.bin"), QByteArray("[macro]\nname=jump\n"));
    QCOMPARE(read("user/modules/img/skin1/my-background.png"), QByteArray("mine"));
    QCOMPARE(read("user/modules/media/01.wav"), QByteArray(3000, 'w'));
    QCOMPARE(read("user/modules/img/skin1/background.png"), QByteArray(5000, 'p'));
    QCOMPARE(read("user/modules/i18n/lang_031000.ini"), QByteArray("[font]\ntotal=1\n"));
    QCOMPARE(read("user/modules/i18n/lang_042000.ini"), QByteArray("[font]\ntotal=2\n"));
    QCOMPARE(read("user/modules/setting/HWDef.bin"), QByteArray("[common]\nmaxMacro=32\nmaxProfile=4\n"));
    // A profile added by the new hardware definition starts as the factory profile.
    QCOMPARE(read("user/modules/setting/p4.bin"), QByteArray("[color]\nledType=2\n"));
}

void TestDataFolder::unwritableFilesAreReportedAndTheRestLaidOut()
{
    makeInstalledCopy();
    // A file where the settings folder should be: nothing can go in there.
    write("user/modules/setting", "in the way");
    QStringList errors;
    QVERIFY(!DataFolder::layOut(path("prefix/share/q3config/modules"), path("user/modules"), &errors));
    QVERIFY(!errors.isEmpty());
    for (const QString& e : errors)
        QVERIFY2(e.contains("setting"), qPrintable(e));
    QCOMPARE(read("user/modules/i18n/lang_031000.ini"), QByteArray("[font]\ntotal=0\n"));
    QCOMPARE(read("user/modules/media/01.wav"), QByteArray(3000, 'w'));
}

void TestDataFolder::fullDiskLeavesNoPartialFile()
{
    makeInstalledCopy();
    const QString shipped = path("prefix/share/q3config/modules");
    QStringList errors;
    {
        // The sound (3000 bytes) and the background (5000) do not fit.
        FileSizeLimit full(2000);
        QVERIFY(!DataFolder::layOut(shipped, path("user/modules"), &errors));
    }
    QVERIFY(!errors.isEmpty());
    QDirIterator it(path("user/modules"), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString rel = QDir(path("user/modules")).relativeFilePath(file);
        // Whatever is there is whole: its shipped content or the factory profile.
        if (rel.startsWith("setting/p") && rel != "setting/pD.bin")
            QCOMPARE(read("user/modules/" + rel), read("prefix/share/q3config/modules/setting/pD.bin"));
        else
            QVERIFY2(read("user/modules/" + rel) == read("prefix/share/q3config/modules/" + rel), qPrintable(rel));
    }
    QVERIFY(!QFileInfo::exists(path("user/modules/media/01.wav")));

    // With room again the next start completes the folder.
    errors.clear();
    QVERIFY(DataFolder::layOut(shipped, path("user/modules"), &errors));
    QCOMPARE(read("user/modules/media/01.wav"), QByteArray(3000, 'w'));
    QCOMPARE(read("user/modules/img/skin1/background.png"), QByteArray(5000, 'p'));
}

void TestDataFolder::emptyOwnFilesAreLaidOutAgain()
{
    makeInstalledCopy();
    const QString shipped = path("prefix/share/q3config/modules");
    QVERIFY(DataFolder::layOut(shipped, path("user/modules"), nullptr));
    // What an earlier version left after a full disk, beside the user's work.
    write("user/modules/setting/p1.bin", "");
    write("user/modules/setting/apConfig.bin", "");
    write("user/modules/setting/HWDef.bin", "");
    write("user/modules/setting/p2.bin", "[color]\nledType=5\n");

    QVERIFY(DataFolder::layOut(shipped, path("user/modules"), nullptr));
    QCOMPARE(read("user/modules/setting/p1.bin"), QByteArray("[color]\nledType=2\n"));
    QCOMPARE(read("user/modules/setting/apConfig.bin"), read("prefix/share/q3config/modules/setting/apConfig.bin"));
    QCOMPARE(read("user/modules/setting/HWDef.bin"), read("prefix/share/q3config/modules/setting/HWDef.bin"));
    QCOMPARE(read("user/modules/setting/p2.bin"), QByteArray("[color]\nledType=5\n"));
}

void TestDataFolder::prepare_data()
{
    QTest::addColumn<QString>("xdgDataHome"); // relative to the temporary folder; "" unset
    QTest::addColumn<QString>("expected");
    QTest::newRow("XDG_DATA_HOME") << "data" << "data/q3config";
    QTest::newRow("unset: ~/.local/share") << "" << "home/.local/share/q3config";
    QTest::newRow("relative: ignored") << "relative" << "home/.local/share/q3config";
}

void TestDataFolder::prepare()
{
    QFETCH(QString, xdgDataHome);
    QFETCH(QString, expected);
    makeInstalledCopy();
    const QByteArray oldHome = qgetenv("HOME");
    const QByteArray oldXdg = qgetenv("XDG_DATA_HOME");
    const QString before = QDir::currentPath();
    qputenv("HOME", path("home").toLocal8Bit());
    if (xdgDataHome.isEmpty())
        qunsetenv("XDG_DATA_HOME");
    else
        qputenv("XDG_DATA_HOME", (xdgDataHome == "relative" ? QString("relative") : path(xdgDataHome)).toLocal8Bit());

    const DataFolder::Choice c = DataFolder::prepare(path("prefix/bin/q3config"));
    const QString now = QDir::currentPath();
    QDir::setCurrent(before);
    qputenv("HOME", oldHome);
    if (oldXdg.isNull())
        qunsetenv("XDG_DATA_HOME");
    else
        qputenv("XDG_DATA_HOME", oldXdg);

    QVERIFY(c.perUser);
    QCOMPARE(QDir(now).canonicalPath(), QDir(path(expected)).canonicalPath());
    QCOMPARE(read(expected + "/modules/setting/apConfig.bin"), QByteArray("[common]\nname=shipped\n"));
    QCOMPARE(read(expected + "/modules/setting/p3.bin"), QByteArray("[color]\nledType=2\n"));
}

void TestDataFolder::prepareFallsBackToTheShippedData()
{
    makeInstalledCopy();
    write("blocked", "a file, not a folder");
    const QByteArray oldXdg = qgetenv("XDG_DATA_HOME");
    const QString before = QDir::currentPath();
    qputenv("XDG_DATA_HOME", path("blocked").toLocal8Bit());
    const DataFolder::Choice c = DataFolder::prepare(path("prefix/bin/q3config"));
    const QString now = QDir::currentPath();
    QDir::setCurrent(before);
    if (oldXdg.isNull())
        qunsetenv("XDG_DATA_HOME");
    else
        qputenv("XDG_DATA_HOME", oldXdg);

    // The program still starts, on the shipped data.
    QVERIFY(!c.perUser);
    QCOMPARE(QDir(now).canonicalPath(), QDir(path("prefix/share/q3config")).canonicalPath());
    QCOMPARE(c.workingDirectory, path("prefix/share/q3config"));
}

QTEST_GUILESS_MAIN(TestDataFolder)
#include "tst_datafolder.moc"
