// Replays saved inputs through one harness without libFuzzer, so the normal
// build can check that every input of the corpus still passes. Arguments are
// files or folders (read recursively); each file is one input.

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <algorithm>
#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int argc, char** argv)
{
    QStringList inputs;
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        if (QFileInfo(arg).isDir()) {
            QDirIterator it(arg, QDir::Files, QDirIterator::Subdirectories);
            QStringList found;
            while (it.hasNext())
                found << it.next();
            std::sort(found.begin(), found.end());
            inputs << found;
        } else if (QFileInfo(arg).isFile()) {
            inputs << arg;
        } else {
            std::fprintf(stderr, "replay: %s is neither a file nor a folder\n", argv[i]);
            return 2;
        }
    }
    if (inputs.isEmpty()) {
        std::fprintf(stderr, "replay: no inputs\n");
        return 2;
    }
    for (const QString& path : inputs) {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "replay: cannot read %s\n", qPrintable(path));
            return 2;
        }
        const QByteArray bytes = f.readAll();
        std::fprintf(stderr, "replay: %s\n", qPrintable(path));
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size()));
    }
    std::printf("replay: %d inputs passed\n", int(inputs.size()));
    return 0;
}
