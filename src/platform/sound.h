#pragma once
#include <QString>
#include <QStringList>
#include <chrono>
#include <memory>

namespace terravale {

// Plays WAV clips. A request returns at once and never fails: no device or no file is silence.
class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    virtual void play(const QString &programPath) = 0;
    // Readies a clip so that its first play starts at once; plays nothing.
    virtual void preload(const QString &) {}
};

// SDL2_mixer back end. Each clip is loaded once and played on a free channel, so clips overlap
// and repeat without limit. A worker thread opens the audio device at the first request and
// closes it after `idleClose` without sound, so a program at rest keeps no audio thread running.
class MixerSoundPlayer : public SoundPlayer {
public:
    explicit MixerSoundPlayer(std::chrono::milliseconds idleClose = std::chrono::milliseconds(2500));
    ~MixerSoundPlayer() override;   // waits briefly for the device to close, never for a clip to end
    void play(const QString &programPath) override;
    void preload(const QString &programPath) override;

    // What the worker has done so far, for tests and diagnostics.
    struct Counts {
        int started = 0;     // clips that began on a channel
        int opened = 0;      // times the device was opened
        int closed = 0;      // times it was closed again
        int handled = 0;     // requests taken off the queue, whatever became of them
        bool deviceOpen = false;
    };
    Counts counts() const;

    struct Shared;

private:
    void enqueue(const QString &programPath, bool playIt);
    std::shared_ptr<Shared> d;
};

SoundPlayer &soundPlayer();
void setSoundPlayer(std::shared_ptr<SoundPlayer> player);

} // namespace terravale
