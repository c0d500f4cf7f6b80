// The check value computation of q3langcs, its reading of language files and
// its in-place rewriting of "font/cs".
#include "LangCheck.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class TestLangCs : public QObject
{
    Q_OBJECT
private slots:
    void checkValue_data();
    void checkValue();
    void inspect_data();
    void inspect();
    void editsAndTheCheck_data();
    void editsAndTheCheck();
    void withCheckValue_data();
    void withCheckValue();
    void tool_data();
    void tool();

private:
    QString writeFile(const QByteArray& content);
    QByteArray readFile(const QString& path);
    QTemporaryDir m_dir;
    int m_files = 0;
};

QString TestLangCs::writeFile(const QByteArray& content)
{
    const QString path = m_dir.filePath(QString("lang_%1.ini").arg(++m_files));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(content) != content.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

QByteArray TestLangCs::readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void TestLangCs::checkValue_data()
{
    QTest::addColumn<qint64>("sum");
    QTest::addColumn<QString>("value");
    QTest::newRow("no strings") << qint64(0) << "7418700";    // 74, 187, 0, 0
    QTest::newRow("sum 100") << qint64(100) << "17431881";    // 174, 31, 88, 1
}

void TestLangCs::checkValue()
{
    QFETCH(qint64, sum);
    QFETCH(QString, value);
    QCOMPARE(langcheck::checkValue(sum), value);
}

void TestLangCs::inspect_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<int>("total");
    QTest::addColumn<qint64>("sum");
    QTest::addColumn<int>("problems");

    QTest::newRow("empty file") << QByteArray() << 0 << qint64(0) << 0;
    QTest::newRow("plain ASCII")
        << QByteArray("[font]\ntotal=3\n[strings]\n1=AB\n2=CDE\n3=\n") << 3 << qint64(5) << 0;
    QTest::newRow("UTF-8 counts characters, not bytes")
        << QByteArray("[font]\ntotal=2\n[strings]\n1=Gr\xc3\xb6\xc3\x9f" "e\n2=\xe4\xba\xae\xe5\xba\xa6\n")
        << 2 << qint64(7) << 0;
    QTest::newRow("a character outside the BMP counts two units")
        << QByteArray("[font]\ntotal=1\n[strings]\n1=\xf0\x9f\x98\x80\n") << 1 << qint64(2) << 0;
    QTest::newRow("quoted spaces count")
        << QByteArray("[font]\ntotal=2\n[strings]\n1=\"KEY \"\n2=\" A \"\n") << 2 << qint64(7) << 0;
    QTest::newRow("strings past the total are not counted")
        << QByteArray("[font]\ntotal=1\n[strings]\n1=AB\n2=CDEF\n") << 1 << qint64(2) << 0;
    QTest::newRow("a missing string counts 0 and is reported")
        << QByteArray("[font]\ntotal=2\n[strings]\n1=AB\n") << 2 << qint64(2) << 1;
    QTest::newRow("an unquoted comma makes a list, read as empty and reported")
        << QByteArray("[font]\ntotal=2\n[strings]\n1=A, B\n2=\"A, B\"\n") << 2 << qint64(4) << 1;
    QTest::newRow("a damaged total is refused")
        << QByteArray("[font]\ntotal=99999999\n") << 0 << qint64(0) << 1;
}

void TestLangCs::inspect()
{
    QFETCH(QByteArray, ini);
    QFETCH(int, total);
    QFETCH(qint64, sum);
    QFETCH(int, problems);

    const langcheck::FileReport r = langcheck::inspect(writeFile(ini));
    QVERIFY(r.readable);
    QCOMPARE(r.total, total);
    QCOMPARE(r.sum, sum);
    QCOMPARE(r.computed, langcheck::checkValue(sum));
    QCOMPARE(r.problems.size(), problems);
    QVERIFY(!langcheck::inspect(m_dir.filePath("missing.ini")).readable);
}

// A translator's edit that keeps every length keeps the check value; any
// change of length breaks it.
void TestLangCs::editsAndTheCheck_data()
{
    QTest::addColumn<QByteArray>("from");
    QTest::addColumn<QByteArray>("to");
    QTest::addColumn<bool>("matches");
    QTest::newRow("character replaced") << QByteArray("2=LOOP") << QByteArray("2=LOUP") << true;
    QTest::newRow("character replaced by an umlaut") << QByteArray("2=LOOP") << QByteArray("2=L\xc3\x96OP") << true;
    QTest::newRow("character added") << QByteArray("2=LOOP") << QByteArray("2=LOOPS") << false;
    QTest::newRow("character removed") << QByteArray("2=LOOP") << QByteArray("2=LOP") << false;
}

void TestLangCs::editsAndTheCheck()
{
    QFETCH(QByteArray, from);
    QFETCH(QByteArray, to);
    QFETCH(bool, matches);

    const QByteArray base("[font]\nfamily=Arial\ntotal=2\ncs=0\n[strings]\n1=OPTIONS\n2=LOOP\n");
    const QByteArray verified = langcheck::withCheckValue(base, langcheck::checkValue(11));
    QVERIFY(langcheck::inspect(writeFile(verified)).matches());

    QByteArray edited = verified;
    edited.replace(from, to);
    QVERIFY(edited != verified);
    QCOMPARE(langcheck::inspect(writeFile(edited)).matches(), matches);
}

void TestLangCs::withCheckValue_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after");

    QTest::newRow("only the value changes")
        << QByteArray("; comment\n[font]\nfamily=\"A, B\"\ncs=123\ntotal=1\n\n[strings]\n1=\"x\"\n")
        << QByteArray("; comment\n[font]\nfamily=\"A, B\"\ncs=V\ntotal=1\n\n[strings]\n1=\"x\"\n");
    QTest::newRow("CRLF line endings stay")
        << QByteArray("[font]\r\ncs=1\r\ntotal=0\r\n") << QByteArray("[font]\r\ncs=V\r\ntotal=0\r\n");
    QTest::newRow("spacing and a trailing comment stay")
        << QByteArray("[font]\n  cs = 12 ; old\n") << QByteArray("[font]\n  cs = V ; old\n");
    QTest::newRow("a quoted value is replaced whole")
        << QByteArray("[font]\ncs=\"1;2\"\n") << QByteArray("[font]\ncs=V\n");
    QTest::newRow("no line ending after the value")
        << QByteArray("[font]\ncs=1") << QByteArray("[font]\ncs=V");
    QTest::newRow("cs of another group is left alone")
        << QByteArray("[other]\ncs=5\n[font]\ncs=6\n") << QByteArray("[other]\ncs=5\n[font]\ncs=V\n");
    QTest::newRow("a similar key is not the value")
        << QByteArray("[font]\ncsx=1\n") << QByteArray("[font]\ncs=V\ncsx=1\n");
    QTest::newRow("missing key goes under the header")
        << QByteArray("[font]\r\nfamily=Arial\r\n") << QByteArray("[font]\r\ncs=V\r\nfamily=Arial\r\n");
    QTest::newRow("missing group is appended")
        << QByteArray("[strings]\n1=A") << QByteArray("[strings]\n1=A\n[font]\ncs=V\n");
    QTest::newRow("empty file") << QByteArray() << QByteArray("[font]\ncs=V\n");
}

void TestLangCs::withCheckValue()
{
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    QCOMPARE(langcheck::withCheckValue(before, "V"), after);
}

// The executable end to end: exit status and what it leaves in the file.
void TestLangCs::tool_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QByteArray>("content");     // empty: no such file
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("output");      // expected start of stdout
    QTest::addColumn<QByteArray>("contentAfter");

    // One string of length 1: 75, 188, 70, 0.
    const QByteArray good("; note\n[font]\ntotal=1\ncs=75188700\n[strings]\n1=A\n");
    const QByteArray stale("; note\n[font]\ntotal=1\ncs=7418700\n[strings]\n1=A\n");
    QTest::newRow("print") << QStringList() << stale << 0 << QByteArray("75188700\n") << stale;
    QTest::newRow("check, matching") << QStringList{"--check"} << good << 0 << QByteArray() << good;
    QTest::newRow("check, stale") << QStringList{"--check"} << stale << 1 << QByteArray() << stale;
    QTest::newRow("check, no file") << QStringList{"--check"} << QByteArray() << 2 << QByteArray()
                                    << QByteArray();
    QTest::newRow("write, stale") << QStringList{"--write"} << stale << 0 << QByteArray() << good;
    QTest::newRow("write, matching") << QStringList{"--write"} << good << 0 << QByteArray() << good;
    QTest::newRow("unknown option") << QStringList{"--fix"} << stale << 2 << QByteArray() << stale;
}

void TestLangCs::tool()
{
    QFETCH(QStringList, options);
    QFETCH(QByteArray, content);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, output);
    QFETCH(QByteArray, contentAfter);

    const QString path = content.isEmpty() ? m_dir.filePath("none.ini") : writeFile(content);
    QProcess p;
    p.start(Q3LANGCS_PATH, options + QStringList{path});
    QVERIFY(p.waitForFinished(20000));
    QCOMPARE(p.exitStatus(), QProcess::NormalExit);
    QCOMPARE(p.exitCode(), exitCode);
    QVERIFY(p.readAllStandardOutput().startsWith(output));
    QCOMPARE(readFile(path), contentAfter);
}

QTEST_GUILESS_MAIN(TestLangCs)
#include "tst_q3langcs.moc"
