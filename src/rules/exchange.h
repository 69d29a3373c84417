#pragma once
#include "quiz/questionset.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace terravale {

// Worksheets in the plain-text quiz formats that learning platforms import and export:
// Aiken (question, "A. choice" lines, "ANSWER: B") and GIFT ("Question{=right ~wrong ~wrong ~wrong}").

// The wizard's box limits, in characters.
constexpr int kWizardTitleLength = 25;
constexpr int kWizardQuestionLength = 60;
constexpr int kWizardChoiceLength = 30;

// Why a worksheet cannot be written completely ("Question 3 has no text for choice B."), or an
// empty string. The writers leave such questions out, so callers check this first.
QString exportProblem(const QuestionSet &set);

// Aiken text of a worksheet's complete questions, CR LF line ends, a blank line after each
// question. Aiken has no titles. Line breaks inside a text are written as blanks.
QString aikenText(const QuestionSet &set);
// Several worksheets' questions one after another in one Aiken text.
QString aikenText(const QList<QuestionSet> &sets);

// GIFT text: a "$CATEGORY: <title>" line, then each complete question named "::<title> <n>::"
// with its choices on lines of their own ("=" before the correct one, "~" before the others),
// special characters escaped. CR LF line ends.
QString giftText(const QuestionSet &set);
// Several worksheets, each under its own category line.
QString giftText(const QList<QuestionSet> &sets);

// GIFT's escaping of ~ = # { } : and backslash.
QString giftEscape(const QString &text);

// What a reader makes of a file.
struct ExchangeImport {
    bool ok = false;     // false: nothing to take; `error` says why
    QString error;       // one sentence for the teacher
    QuestionSet set;     // the title and questions 1..count; later questions empty
    int count = 0;       // questions taken, 0 to 10
    QStringList notes;   // everything left out or changed, in file order
};

// Reads an Aiken file's bytes (UTF-8 with or without a byte order mark, UTF-16 with one, or
// else Windows-1252). The first ten questions with four choices and one answer are taken; their
// texts are made to fit the wizard. Aiken has no titles: `baseName` (the file's name without
// folder and extension) gives the title.
ExchangeImport readAiken(const QByteArray &bytes, const QString &baseName);
ExchangeImport readAiken(const QString &text, const QString &baseName);

// Reads a GIFT file's bytes, as readAiken does. The title is the first category's last part, or
// `baseName` when there is no category.
ExchangeImport readGift(const QByteArray &bytes, const QString &baseName);
ExchangeImport readGift(const QString &text, const QString &baseName);

} // namespace terravale
