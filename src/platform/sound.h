#pragma once
#include <QString>
#include <QStringList>
#include <memory>

namespace terravale {

// Plays WAV clips. A request returns at once and never fails: no device or no file is silence.
class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    virtual void play(const QString &programPath) = 0;
};

// Qt Multimedia back end; a new clip cuts off the one still playing.
class QtSoundPlayer : public SoundPlayer {
public:
    QtSoundPlayer();
    ~QtSoundPlayer() override;
    void play(const QString &programPath) override;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

class RecordingSoundPlayer : public SoundPlayer {
public:
    void play(const QString &programPath) override { played.append(programPath); }
    QStringList played;
};

SoundPlayer &soundPlayer();
void setSoundPlayer(std::shared_ptr<SoundPlayer> player);

} // namespace terravale
