#pragma once
#include <QString>
#include <QStringList>
#include <functional>

namespace terravale {

// How close a score is to full marks; the results screen words it and picks its lines by it.
enum class ScoreBand { Full, Close, Far };

ScoreBand scoreBand(int score, int outof);

// "Excellent work. You have scored", "Good work. You have scored" or "You have scored".
QString scorePrefix(ScoreBand band);

// The prefix, " 7 out of 10." style.
QString scoreSentence(int score, int outof);

// The reward clips for an absolute score, in table order; empty for scores without a clip.
QStringList rewardClips(int score);

// One clip of the score's row, the one at draw(count) (a whole number from 0 to count - 1);
// empty when the score has no clip.
QString pickRewardClip(int score, const std::function<int(int count)> &draw);

} // namespace terravale
