#pragma once
#include <QString>
#include <QStringList>
#include <memory>

class QSoundEffect;

namespace terravale {

// Plays WAV clips. A request returns at once and never fails: no device or no file is silence.
class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    virtual void play(const QString &programPath) = 0;
    // Readies a clip so that its first play starts at once; plays nothing.
    virtual void preload(const QString &) {}
};

// Qt Multimedia back end; a new clip cuts off the one still playing.
class QtSoundPlayer : public SoundPlayer {
public:
    QtSoundPlayer();
    ~QtSoundPlayer() override;
    void play(const QString &programPath) override;
    void preload(const QString &programPath) override;

private:
    QSoundEffect *effect(const QString &programPath);   // loaded once per file; null when missing
    struct Impl;
    std::unique_ptr<Impl> d;
};

class RecordingSoundPlayer : public SoundPlayer {
public:
    void play(const QString &programPath) override { played.append(programPath); }
    void preload(const QString &programPath) override { preloaded.append(programPath); }
    QStringList played;
    QStringList preloaded;
};

SoundPlayer &soundPlayer();
void setSoundPlayer(std::shared_ptr<SoundPlayer> player);

} // namespace terravale
