#include "bridge/LoopingSoundStream.h"

#include <QFile>

LoopingSoundStream::LoopingSoundStream(QObject* parent)
    : Phonon::AbstractMediaStream(parent)
{
    setStreamSize(-1);
    setStreamSeekable(false);
    later.setSingleShot(true);
    connect(&later, &QTimer::timeout, this, &LoopingSoundStream::deliver);
}

bool LoopingSoundStream::load(const QString& file)
{
    sourceFile = file;
    content.clear();
    QFile f(file);
    if (f.open(QIODevice::ReadOnly))
        content = f.readAll();
    wraps = 0;
    reset();
    return !content.isEmpty();
}

void LoopingSoundStream::reset()
{
    later.stop();
    wanted = false;
    position = 0;
    handedOut = 0;
    since.start();
}

void LoopingSoundStream::needData()
{
    wanted = true;
    deliver();
}

void LoopingSoundStream::enoughData()
{
    wanted = false;
    later.stop();
}

void LoopingSoundStream::deliver()
{
    if (!wanted)
        return;
    if (content.isEmpty()) {
        endOfData();
        wanted = false;
        return;
    }
    // The pace is counted from the start of the stream.
    const qint64 perSecond = qint64(content.size()) * qMax(1, passesPerSecond);
    const qint64 allowed = content.size() + perSecond * since.elapsed() / 1000;
    if (handedOut + chunkSize > allowed) {
        const qint64 waitMs = (handedOut + chunkSize - allowed) * 1000 / perSecond + 1;
        later.start(int(qMin<qint64>(waitMs, 1000)));
        return;
    }
    const qint64 n = qMin<qint64>(chunkSize, content.size() - position);
    wanted = false;
    handedOut += n;
    const QByteArray chunk = content.mid(int(position), int(n));
    position += n;
    if (position == content.size()) {
        position = 0;
        ++wraps;
    }
    writeData(chunk);
}
