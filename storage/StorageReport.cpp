#include "storage/StorageReport.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <cstdio>

StorageReport& StorageReport::instance()
{
    static StorageReport report;
    return report;
}

void StorageReport::reset()
{
    told.clear();
    folder.clear();
}

void StorageReport::tell(const QString& where, const QString& problem)
{
    const QString shown = QDir::toNativeSeparators(QFileInfo(where).absoluteFilePath());
    if (told.contains(shown))
        return;
    told.insert(shown);
    folder = shown;
    std::fprintf(stderr, "q3config: cannot write in \"%s\": %s. Changes will not be kept.\n",
                 qPrintable(shown), qPrintable(problem));
    std::fflush(stderr);
    emit changesNotKept(shown, problem);
}

void StorageReport::writeFailed(const QString& path, const QString& problem)
{
    tell(QFileInfo(path).absolutePath(), QString("%1 (%2)").arg(problem, QFileInfo(path).fileName()));
}

bool StorageReport::checkWritable(const QString& modulesFolder)
{
    for (const char* sub : {"setting", "macro"}) {
        const QString dir = modulesFolder + "/" + sub;
        const QFileInfo info(dir);
        if (!info.isDir()) {
            if (QDir().mkpath(dir))
                continue;
            tell(dir, "the folder is missing and cannot be created");
            return false;
        }
        if (!info.isWritable()) {
            tell(dir, "the folder is read-only");
            return false;
        }
        // The files the program writes itself; the shipped ones may be read-only.
        static const QRegularExpression own("^(apConfig|p[0-9]+)\\.bin$");
        const QStringList files = QDir(dir).entryList({"*.bin"}, QDir::Files);
        for (const QString& name : files) {
            if (QString(sub) == "setting" && !own.match(name).hasMatch())
                continue;
            const QFileInfo file(dir + "/" + name);
            if (!file.isWritable()) {
                tell(dir, QString("%1 is read-only").arg(name));
                return false;
            }
        }
    }
    return true;
}
