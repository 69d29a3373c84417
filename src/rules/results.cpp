#include "results.h"

#include "rules/session.h"

namespace terravale {

ScoreBand scoreBand(int score, int outof)
{
    if (score == outof)
        return ScoreBand::Full;
    if (score == outof - 1 || score == outof - 2)
        return ScoreBand::Close;
    return ScoreBand::Far;
}

QString scorePrefix(ScoreBand band)
{
    switch (band) {
    case ScoreBand::Full:
        return QStringLiteral("Excellent work. You have scored");
    case ScoreBand::Close:
        return QStringLiteral("Good work. You have scored");
    case ScoreBand::Far:
        break;
    }
    return QStringLiteral("You have scored");
}

QString scoreSentence(int score, int outof)
{
    return scorePrefix(scoreBand(score, outof)) + numText(score) + QStringLiteral(" out of") + numText(outof)
        + QStringLiteral(".");
}

QStringList rewardClips(int score)
{
    auto clips = [](std::initializer_list<const char *> names) {
        QStringList list;
        for (const char *name : names)
            list << QStringLiteral("wav\\") + QString::fromLatin1(name);
        return list;
    };
    switch (score) {
    case 12: return clips({"halleluj.wav"});
    case 11: return clips({"fanf4.wav", "slot_payoff.wav"});
    case 10: return clips({"fanf2.wav", "fanf3.wav"});
    case 9: return clips({"crowd.wav", "cheer2.wav", "klaxon.wav"});
    case 8: return clips({"flute.wav", "gong.wav", "clap2.wav"});
    case 7: return clips({"drumroll.wav", "laser2.wav", "whizz.wav"});
    case 6: return clips({"clap3.wav", "clown.wav"});
    default: return {};
    }
}

QString pickRewardClip(int score, const std::function<int(int count)> &draw)
{
    const QStringList clips = rewardClips(score);
    if (clips.isEmpty())
        return {};
    const int r = draw(int(clips.size()));
    return r >= 0 && r < clips.size() ? clips.at(r) : QString();
}

} // namespace terravale
