#pragma once
#include "rules/questionset.h"

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

// Both readers take the bytes of a file (UTF-8 with or without a byte order mark, UTF-16 with
// one, else Windows-1252; CR LF, LF or CR line ends) or its text. The first ten questions with
// four answers, exactly one of them correct, are taken. Texts are made to fit the wizard: line
// breaks and tabs become blanks; characters Windows-1252 lacks become a near equal ("−" gives
// "-") or are left out; "&" becomes "and"; a leading double quote turns the text's double quotes
// into single ones; then the text is shortened to its box. Each change, and each question left
// out, gives a note.

// Aiken: a question line (it may run on over further lines up to a blank line or its first
// choice), choices "A. text" or "A) text" with capital letters, then "ANSWER: B"; the keyword
// and the letter may be in either case, and the answer names the choice by its label. Aiken has
// no titles: `baseName` (the file's name without folder and extension) gives the title.
ExchangeImport readAiken(const QByteArray &bytes, const QString &baseName);
ExchangeImport readAiken(const QString &text, const QString &baseName);

// GIFT as Moodle reads it: "//" comment lines, "::title::", "$CATEGORY:", backslash escapes,
// "[html]" and the other format marks, "#feedback" and "####general feedback" (left out, noted),
// "%50%" weights (a part-marks answer leaves its question out), answers over several lines
// (blank lines inside braces allowed), and missing-word questions (the gap shown as "_____").
// The title is the first category's last part, or `baseName` when there is none.
ExchangeImport readGift(const QByteArray &bytes, const QString &baseName);
ExchangeImport readGift(const QString &text, const QString &baseName);

} // namespace terravale
