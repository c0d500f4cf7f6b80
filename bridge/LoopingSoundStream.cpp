#include "bridge/LoopingSoundStream.h"

#include <QFile>

#include <cstring>

LoopingSoundStream::LoopingSoundStream(QObject* parent)
    : QIODevice(parent)
{
}

bool LoopingSoundStream::load(const QString& file)
{
    if (isOpen())
        close();
    sourceFile = file;
    content.clear();
    position = 0;
    wraps = 0;
    QFile f(file);
    if (f.open(QIODevice::ReadOnly))
        content = f.readAll();
    if (content.isEmpty())
        return false;
    return open(QIODevice::ReadOnly);
}

qint64 LoopingSoundStream::bytesAvailable() const
{
    // Endless: always at least one more pass of the file.
    return content.size() + QIODevice::bytesAvailable();
}

qint64 LoopingSoundStream::readData(char* data, qint64 maxSize)
{
    if (content.isEmpty())
        return -1;
    qint64 done = 0;
    while (done < maxSize) {
        const qint64 chunk = qMin(maxSize - done, qint64(content.size()) - position);
        std::memcpy(data + done, content.constData() + position, size_t(chunk));
        done += chunk;
        position += chunk;
        if (position == content.size()) {
            position = 0;
            ++wraps;
        }
    }
    return done;
}
