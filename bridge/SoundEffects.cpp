#include "bridge/SoundEffects.h"

#include "bridge/LoopingSoundStream.h"
#include "storage/DataPaths.h"

#include <phonon/AudioOutput>
#include <phonon/MediaObject>
#include <phonon/MediaSource>
#include <phonon/Path>

#include <QDir>
#include <QUrl>

namespace {
// The sound files lie beside the program, which is the working directory.
QUrl fileUrl(int index)
{
    return QUrl::fromLocalFile(QDir::current().absoluteFilePath(SoundEffects::sourceOf(index)));
}

Phonon::MediaObject* makePlayer(QObject* parent)
{
    auto* media = new Phonon::MediaObject(parent);
    // Nothing here listens to the player's ticks; left at its default, the
    // back end still wakes the GUI thread 25 times a second while it plays
    // (for ticks and its prefinish mark), which a looping background sound
    // does all the time.
    media->setTickInterval(1000);
    auto* output = new Phonon::AudioOutput(Phonon::MusicCategory, parent);
    Phonon::createPath(media, output);
    return media;
}
}

SoundEffects::SoundEffects(QObject* parent)
    : QObject(parent)
{
    backgroundStream = new LoopingSoundStream(this);
}

SoundEffects::~SoundEffects()
{
    // The background player lets go of the stream before the stream goes.
    delete mediaBackground;
    for (auto* effect : mediaEffects)
        delete effect;
}

void SoundEffects::ensurePlayers()
{
    if (mediaBackground)
        return;
    mediaBackground = makePlayer(this);
    for (auto& effect : mediaEffects)
        effect = makePlayer(this);
    // The endless stream only ends when the back end gives up on it: start
    // it again then, but not over and over for a file it cannot play.
    connect(mediaBackground, &Phonon::MediaObject::finished, this, [this] {
        if (backgroundStream->passes() > 0)
            playBackground();
    });
    connect(mediaEffects[0], &Phonon::MediaObject::finished, this, &SoundEffects::playBackground);
}

QString SoundEffects::sourceOf(int index)
{
    return index == 0 ? DataPaths::mediaFolder() + "/00.mp3"
                      : DataPaths::mediaFolder() + QString("/%1.wav").arg(index, 2, 10, QChar('0'));
}

void SoundEffects::playIndex(int index)
{
    if (!audioEnabled)
        return;
    if (index == 0) {
        playBackground();
        return;
    }
    if (index < 1 || index > 4)
        return;
    ensurePlayers();
    Phonon::MediaObject* effect = mediaEffects[size_t(index - 1)];
    effect->clear();
    effect->setCurrentSource(Phonon::MediaSource(fileUrl(index)));
    effect->play();
}

void SoundEffects::playBackground()
{
    ensurePlayers();
    // The player lets go of the stream before it is read again from the start.
    mediaBackground->clear();
    // A missing or empty file is handed to the player as it is, which
    // leaves the background silent and says so through its own state.
    if (backgroundStream->load(fileUrl(0).toLocalFile()))
        mediaBackground->setCurrentSource(Phonon::MediaSource(backgroundStream));
    else
        mediaBackground->setCurrentSource(Phonon::MediaSource(fileUrl(0)));
    mediaBackground->play();
}

void SoundEffects::clearAll()
{
    if (!mediaBackground)
        return; // nothing has played yet
    mediaBackground->clear();
    for (auto* effect : mediaEffects)
        effect->clear();
}
