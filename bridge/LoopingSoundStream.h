#pragma once

#include <phonon/AbstractMediaStream>

#include <QByteArray>
#include <QElapsedTimer>
#include <QString>
#include <QTimer>

// A sound file played as an endless stream: the file's bytes over and over.
// The background sound loops through one player and one decoding pipeline
// this way; restarting the player at each end of the file would build the
// pipeline's source anew every time, and the media back end keeps part of
// every one it built. The file must be a sequence of frames that may follow
// each other (the shipped background sound is raw MP3 frames).
//
// The stream hands out at most `passesPerSecond` passes of the file per
// second (one by default). A real output takes far less (the file plays for
// seconds); an output that does not play in real time would otherwise
// decode as fast as it can, forever.
class LoopingSoundStream : public Phonon::AbstractMediaStream
{
    Q_OBJECT
public:
    explicit LoopingSoundStream(QObject* parent = nullptr);

    // Reads the file into memory and starts at its beginning. False when
    // the file is missing, unreadable or empty.
    bool load(const QString& file);
    QString fileName() const { return sourceFile; }
    // Times the stream has passed the end of the file.
    qint64 passes() const { return wraps; }
    int passesPerSecond = 1;

protected:
    void reset() override;
    void needData() override;
    void enoughData() override;

private:
    void deliver();

    static constexpr int chunkSize = 4096;
    QString sourceFile;
    QByteArray content;
    qint64 position = 0;
    qint64 wraps = 0;
    qint64 handedOut = 0;  // since `since` started
    QElapsedTimer since;
    QTimer later;          // a delivery held back by the pace
    bool wanted = false;
};
