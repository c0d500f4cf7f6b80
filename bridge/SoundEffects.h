#pragma once

#include <QObject>

#include <array>

class LoopingSoundStream;

namespace Phonon {
class MediaObject;
class AudioOutput;
}

// The scene's sounds: a background sound (index 0) that repeats once started
// and starts when effect 1 (the start-up sound) ends, and effects 1 to 4.
// The background repeats as one endless stream of its file, so a long run
// costs no more than its first pass. The players (and with them the sound
// back end) are made when the first sound plays, so a start with sounds
// switched off never loads the back end.
class SoundEffects : public QObject
{
    Q_OBJECT
public:
    explicit SoundEffects(QObject* parent = nullptr);
    ~SoundEffects() override;

    bool audioEnabled = true;
    // Null until the first sound plays (ensurePlayers).
    Phonon::MediaObject* mediaBackground = nullptr;
    LoopingSoundStream* backgroundStream = nullptr;
    std::array<Phonon::MediaObject*, 4> mediaEffects{};

    // Index 0: the background; 1 to 4: that effect, from its start. Nothing
    // while audio is off, nor for other indexes.
    void playIndex(int index);
    // Ignores the audio switch.
    void playBackground();
    void clearAll();
    // Makes the five players, each with its own audio output, once.
    void ensurePlayers();

    static QString sourceOf(int index);
};
