#include "scoring.h"

#include "questionset.h"
#include "rules/session.h"

namespace terravale {

int markQuestion(const QString &correctField, int selectedChoice)
{
    const int correct = correctChoice(correctField);
    return correct != 0 && correct == selectedChoice ? 1 : 0;
}

QString wrongAnswerLine(int questionNumber, const QString &question)
{
    return numText(questionNumber) + QStringLiteral(". ") + question;
}

QuizResult scoreQuiz(const std::array<int, 11> &gotright, const std::array<QString, 11> &quest)
{
    QuizResult result;
    for (int n = 1; n <= 10; ++n) {
        result.score += gotright[n];
        if (gotright[n] == 0)
            result.wrongLines << wrongAnswerLine(n, quest[n]);
    }
    return result;
}

} // namespace terravale
