// q3langcs: computes, checks or updates the check value ("font/cs") of
// q3config language files.
//
//   q3langcs FILE...           print the check value the strings give
//   q3langcs --check FILE...   exit 1 unless every stored value matches
//   q3langcs --write FILE...   store the matching value in each file
//
// Exit status: 0 success, 1 mismatch or unusable strings, 2 usage or file error.
#include "LangCheck.h"

#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>
#include <QTextStream>

namespace {

QTextStream& out()
{
    static QTextStream s(stdout);
    return s;
}

QTextStream& err()
{
    static QTextStream s(stderr);
    return s;
}

int usage()
{
    err() << "usage: q3langcs [--check | --write] FILE...\n"
             "  without an option: print the check value of each file's strings\n"
             "  --check: exit 1 unless each file's font/cs matches its strings\n"
             "  --write: set font/cs of each file to the value its strings give\n";
    return 2;
}

void reportProblems(const QString& path, const langcheck::FileReport& r)
{
    for (const QString& p : r.problems)
        err() << path << ": " << p << "\n";
}

int writeFile(const QString& path, const langcheck::FileReport& r)
{
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly)) {
        err() << path << ": cannot read\n";
        return 2;
    }
    const QByteArray before = in.readAll();
    in.close();
    if (r.matches()) {
        out() << path << ": font/cs " << r.computed << " already matches\n";
        return 0;
    }
    QSaveFile save(path);
    if (!save.open(QIODevice::WriteOnly) || save.write(langcheck::withCheckValue(before, r.computed)) < 0
        || !save.commit()) {
        err() << path << ": cannot write\n";
        return 2;
    }
    const langcheck::FileReport after = langcheck::inspect(path);
    if (!after.matches()) {
        err() << path << ": font/cs still reads " << after.stored << " after writing " << r.computed
              << " (is cs also set outside the [font] group?)\n";
        return 1;
    }
    out() << path << ": font/cs " << (r.stored.isEmpty() ? QString("(none)") : r.stored) << " -> "
          << r.computed << "\n";
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments();
    args.removeFirst();
    enum { Print, Check, Write } mode = Print;
    if (!args.isEmpty() && args.first() == "--check") {
        mode = Check;
        args.removeFirst();
    } else if (!args.isEmpty() && args.first() == "--write") {
        mode = Write;
        args.removeFirst();
    }
    if (args.isEmpty() || args.first().startsWith("-"))
        return usage();

    int status = 0;
    for (const QString& path : args) {
        const langcheck::FileReport r = langcheck::inspect(path);
        if (!r.readable) {
            err() << path << ": cannot read\n";
            status = qMax(status, 2);
            continue;
        }
        reportProblems(path, r);
        if (!r.problems.isEmpty())
            status = qMax(status, 1);
        switch (mode) {
        case Print:
            out() << (args.size() > 1 ? path + ": " : QString()) << r.computed << "\n";
            break;
        case Check:
            if (r.matches()) {
                out() << path << ": ok (" << r.total << " strings, font/cs " << r.computed << ")\n";
            } else {
                err() << path << ": font/cs is " << (r.stored.isEmpty() ? QString("empty") : r.stored)
                      << ", the strings give " << r.computed << "\n";
                status = qMax(status, 1);
            }
            break;
        case Write:
            status = qMax(status, writeFile(path, r));
            break;
        }
    }
    return status;
}
