#include "sound.h"

#include "paths.h"

#include <QFileInfo>
#include <QHash>
#include <QSoundEffect>
#include <QUrl>

namespace terravale {

struct QtSoundPlayer::Impl {
    QHash<QString, QSoundEffect *> effects;
    QSoundEffect *last = nullptr;
};

QtSoundPlayer::QtSoundPlayer() : d(std::make_unique<Impl>()) {}

QtSoundPlayer::~QtSoundPlayer()
{
    qDeleteAll(d->effects);
}

QSoundEffect *QtSoundPlayer::effect(const QString &programPath)
{
    const QFileInfo info(resolvePath(programPath));
    if (!info.isFile())
        return nullptr;
    QSoundEffect *&effect = d->effects[info.absoluteFilePath()];
    if (!effect) {
        effect = new QSoundEffect;
        effect->setSource(QUrl::fromLocalFile(info.absoluteFilePath()));
    }
    return effect;
}

void QtSoundPlayer::preload(const QString &programPath)
{
    effect(programPath);
}

void QtSoundPlayer::play(const QString &programPath)
{
    QSoundEffect *effect = this->effect(programPath);
    if (!effect)
        return;
    if (d->last && d->last != effect)
        d->last->stop();
    d->last = effect;
    effect->stop();
    effect->play();
}

namespace {
std::shared_ptr<SoundPlayer> &current()
{
    static std::shared_ptr<SoundPlayer> player;
    return player;
}
} // namespace

SoundPlayer &soundPlayer()
{
    if (!current())
        current() = std::make_shared<QtSoundPlayer>();
    return *current();
}

void setSoundPlayer(std::shared_ptr<SoundPlayer> player) { current() = std::move(player); }

} // namespace terravale
