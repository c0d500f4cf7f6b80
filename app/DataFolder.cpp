#include "app/DataFolder.h"

#include "app/StartupEnvironment.h"
#include "storage/FileReplace.h"
#include "storage/WrittenByProgram.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTextStream>

#include <cstdio>

namespace {

const char* const applicationFolder = "q3config";
constexpr int maxProfileFiles = 10;

bool sameContent(const QString& a, const QString& b)
{
    QFile fa(a);
    QFile fb(b);
    if (fa.size() != fb.size())
        return false;
    if (!fa.open(QIODevice::ReadOnly) || !fb.open(QIODevice::ReadOnly))
        return false;
    while (!fa.atEnd()) {
        const QByteArray chunk = fa.read(64 * 1024);
        if (chunk != fb.read(chunk.size()))
            return false;
    }
    return true;
}

// "maxProfile=" of the hardware definition, bounded; 0 when absent.
int profileCount(const QString& hwDef)
{
    QFile file(hwDef);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return 0;
    static const QRegularExpression line("^\\s*maxProfile\\s*=\\s*(\\d+)\\s*$");
    while (!file.atEnd()) {
        const QRegularExpressionMatch m = line.match(QString::fromUtf8(file.readLine()).trimmed());
        if (m.hasMatch())
            return qBound(0, m.captured(1).toInt(), maxProfileFiles);
    }
    return 0;
}

// A file of the program's own that holds nothing at all (left by a write
// that failed on a full disk). One that holds something unreadable is the
// settings readers' to move aside and report; it is never written over here.
bool needsLayingOutAgain(const QString& target)
{
    const QFileInfo info(target);
    return info.isFile() && info.size() == 0;
}

bool copyInto(const QString& source, const QString& target, QStringList* errors)
{
    if (!QDir().mkpath(QFileInfo(target).absolutePath()) || !FileReplace::copyOver(source, target)) {
        if (errors)
            errors->append(QString("cannot write %1").arg(QDir::toNativeSeparators(target)));
        return false;
    }
    return true;
}

} // namespace

QString DataFolder::installedDataOf(const QString& executableDir)
{
    return QDir::cleanPath(executableDir + "/../share/" + applicationFolder + "/modules");
}

QString DataFolder::userDataHome()
{
    const QString xdg = qEnvironmentVariable("XDG_DATA_HOME");
    if (!xdg.isEmpty() && QDir::isAbsolutePath(xdg))
        return QDir::cleanPath(xdg);
#ifdef _WIN32
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
#else
    return QDir::homePath() + "/.local/share";
#endif
}

DataFolder::Choice DataFolder::choose(const QString& executableDir, const QString& dataHome)
{
    Choice choice;
    choice.workingDirectory = executableDir;
    const QFileInfo beside(executableDir + "/modules");
    if (beside.isDir() && beside.isWritable())
        return choice;
    const QString shipped = installedDataOf(executableDir);
    if (QFileInfo(shipped).isDir() && !dataHome.isEmpty()) {
        choice.workingDirectory = QDir::cleanPath(dataHome + "/" + applicationFolder);
        choice.shippedModules = shipped;
        choice.perUser = true;
    }
    return choice;
}

bool DataFolder::isWrittenByProgram(const QString& relativePath)
{
    static const QRegularExpression own(QString::fromLatin1(DataPaths::writtenByProgramPattern));
    return own.match(relativePath).hasMatch();
}

bool DataFolder::layOut(const QString& shippedModules, const QString& targetModules, QStringList* errors)
{
    bool ok = QDir().mkpath(targetModules);
    if (!ok && errors)
        errors->append(QString("cannot create %1").arg(QDir::toNativeSeparators(targetModules)));

    const QDir shipped(shippedModules);
    QDirIterator it(shippedModules, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString rel = shipped.relativeFilePath(source);
        const QString target = targetModules + "/" + rel;
        const bool present = QFileInfo::exists(target);
        if (present && isWrittenByProgram(rel) && !needsLayingOutAgain(target))
            continue;
        if (present && !isWrittenByProgram(rel) && sameContent(source, target))
            continue;
        ok = copyInto(source, target, errors) && ok;
    }

    const QString factoryProfile = targetModules + "/setting/pD.bin";
    if (QFileInfo::exists(factoryProfile)) {
        const int profiles = profileCount(targetModules + "/setting/HWDef.bin");
        for (int i = 1; i <= profiles; ++i) {
            const QString profile = QString("%1/setting/p%2.bin").arg(targetModules).arg(i);
            if (!QFileInfo::exists(profile) || needsLayingOutAgain(profile))
                ok = copyInto(factoryProfile, profile, errors) && ok;
        }
    }
    return ok;
}

DataFolder::Choice DataFolder::prepare(const QString& applicationFilePath)
{
    const QString executableDir = QFileInfo(applicationFilePath).absolutePath();
    Choice choice = choose(executableDir, userDataHome());
    if (!choice.perUser) {
        StartupEnvironment::makeExecutableDirectoryCurrent(applicationFilePath);
        return choice;
    }
    QStringList errors;
    if (!layOut(choice.shippedModules, choice.workingDirectory + "/modules", &errors)) {
        for (const QString& error : errors)
            std::fprintf(stderr, "q3config: %s\n", qPrintable(error));
    }
    if (!QDir::setCurrent(choice.workingDirectory)) {
        // Without a folder of its own the program still runs on the shipped
        // data; what it would write is lost.
        std::fprintf(stderr, "q3config: cannot use %s; running on the shipped data, settings will not be kept\n",
                     qPrintable(QDir::toNativeSeparators(choice.workingDirectory)));
        choice.workingDirectory = QFileInfo(choice.shippedModules).absolutePath();
        choice.perUser = false;
        QDir::setCurrent(choice.workingDirectory);
    }
    return choice;
}
