#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>

// A sound file played as an endless stream: the file's bytes over and over.
// The background sound loops through one player and one decoding pipeline
// this way; restarting the player at each end of the file would build the
// pipeline's source anew every time, and the media back end keeps part of
// every one it built. The file must be a sequence of frames that may follow
// each other (the shipped background sound is raw MP3 frames).
class LoopingSoundStream : public QIODevice
{
    Q_OBJECT
public:
    explicit LoopingSoundStream(QObject* parent = nullptr);

    // Reads the file into memory and starts at its beginning. False, with
    // the stream closed, when the file is missing, unreadable or empty.
    bool load(const QString& file);
    QString fileName() const { return sourceFile; }
    // Times the stream has passed the end of the file.
    qint64 passes() const { return wraps; }

    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override;

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QString sourceFile;
    QByteArray content;
    qint64 position = 0;
    qint64 wraps = 0;
};
