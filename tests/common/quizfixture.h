#pragma once
// Question-set files for the quiz tests, built line by line.
#include "rules/questionset.h"
#include "rules/session.h"

#include <QByteArray>
#include <QStringList>

namespace quizfixture {

// A set whose texts name their place ("Question 3", "3B"), correct choice cycling 1..4.
inline terravale::QuestionSet sampleSet(const QString &title = QStringLiteral("Sample set"))
{
    terravale::QuestionSet set;
    set.title = title;
    for (int n = 1; n <= 10; ++n) {
        const QString num = QString::number(n);
        set.quest[n] = QStringLiteral("Question ") + num;
        set.answera[n] = num + QStringLiteral("A");
        set.answerb[n] = num + QStringLiteral("B");
        set.answerc[n] = num + QStringLiteral("C");
        set.answerd[n] = num + QStringLiteral("D");
        set.correct[n] = QString::number((n - 1) % 4 + 1);
    }
    return set;
}

// Windows-1252 bytes of the given lines, each ended by `eol`.
inline QByteArray fileBytes(const QStringList &lines, const QByteArray &eol = "\r\n")
{
    QByteArray bytes;
    for (const QString &line : lines)
        bytes += line.toLatin1() + eol;
    return bytes;
}

} // namespace quizfixture
