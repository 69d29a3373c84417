#pragma once
#include <QString>
#include <array>

namespace terravale {

struct QuestionSet;
struct Session;

// What a teacher typed into the wizard: a title, ten questions, four choices and four tick boxes
// per question (choice k of question q at 4q + k).
struct WorksheetEntries {
    QString title;
    std::array<QString, 10> questions;
    std::array<QString, 40> choices;
    std::array<bool, 40> ticks{};
};

inline const QString kNoTitleMessage = QStringLiteral("You have not chosen a title for your worksheet");
inline const QString kSavedMessage = QStringLiteral("Your worksheet has been saved.");
inline const QString kSaveProblemMessage = QStringLiteral("There was a problem saving your worksheet");
inline const QString kShortenedMessage =
    QStringLiteral("Some texts of this worksheet were longer than the wizard allows and have been shortened.");

// Why a title cannot name a worksheet file or be read back from the catalogue, or an empty string.
QString titleProblem(const QString &title);

// Why a question or choice text would not read back from a worksheet file as typed, naming its
// box (question 1..10; choice 0..3 for A..D, or -1 for the question box); an empty string if none.
QString textProblem(const QString &text, int question, int choice = -1);

// The wizard's checks in their fixed order; the first failure's message, or an empty string.
QString validationMessage(const WorksheetEntries &entries);

// The entries as a question set (the ticked choice's digit as the correct answer).
QuestionSet questionSetOf(const WorksheetEntries &entries);

// The set as the wizard shows it: its texts, and a tick on each question's correct choice. Throws
// FileError when a correct-choice field is not a digit 1 to 4 (it would tick no box of its question).
WorksheetEntries entriesOf(const QuestionSet &set);

// Saves validated entries. A title the wizard would refuse (one that leaves the folder or names the
// program's own files included) is refused with that message; then the catalogue is checked
// (created when missing; refused when unreadable, full, or listing the title in other letter
// case), the worksheet is written and its title listed. Nothing is written when a check fails; a new worksheet file is removed again
// when listing it fails. Returns the message to show.
QString storeWorksheet(Session &session, const WorksheetEntries &entries);

} // namespace terravale
