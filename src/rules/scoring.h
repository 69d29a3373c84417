#pragma once
#include <QString>
#include <QStringList>
#include <array>

namespace terravale {

// The mark of one question: 1 when the selected choice (1..4; 0 or 5 for none) is the one the
// correct-choice field names, else 0. A field that is not a digit 1 to 4 never marks right.
int markQuestion(const QString &correctField, int selectedChoice);

// A line of the wrong-answers list: " 3. " then the question text.
QString wrongAnswerLine(int questionNumber, const QString &question);

struct QuizResult {
    int score = 0;
    QStringList wrongLines;   // one per question marked 0, in question order
};

// Sums the marks of questions 1 to 10 and lists the ones marked 0.
QuizResult scoreQuiz(const std::array<int, 11> &gotright, const std::array<QString, 11> &quest);

} // namespace terravale
