#pragma once
#include "platform/filechannel.h"

#include <QString>
#include <QStringList>
#include <array>

namespace terravale {

class FileChannel;

// A title and ten questions, each with four choices and the digit ("1".."4") of the correct one.
// Arrays are indexed 1 to 10; index 0 is unused, as in the session record.
struct QuestionSet {
    QString title;
    std::array<QString, 11> quest;
    std::array<QString, 11> answera;
    std::array<QString, 11> answerb;
    std::array<QString, 11> answerc;
    std::array<QString, 11> answerd;
    std::array<QString, 11> correct;

    bool operator==(const QuestionSet &) const = default;
};

// Lines in a question set file: title, blank line, ten blocks of seven.
constexpr int kQuestionSetFields = 72;

// A read that ran out before the 72nd field. `field` is the 1-based number of the read that
// failed; `partial` holds every field read before it.
class QuestionSetError : public FileError {
public:
    QuestionSetError(int field, QuestionSet partial, const QString &cause);
    int field() const { return m_field; }
    const QuestionSet &partial() const { return m_partial; }

private:
    int m_field;
    QuestionSet m_partial;
};

// "&" stands for "," in the file.
QString restoreCommas(const QString &stored);
QString storeCommas(const QString &text);

// Reads the 72 fields of a set from the channel (already open for reading); throws
// QuestionSetError when the file ends early. Anything after the 72nd field is left unread.
QuestionSet readQuestionSet(FileChannel &channel);

// The 72 lines of a set as they are written (commas stored as "&", digit lines unchanged).
QStringList questionSetLines(const QuestionSet &set);

// Writes the set's 72 lines on the channel (already open for writing; the caller closes it).
void writeQuestionSet(FileChannel &channel, const QuestionSet &set);

// True when a text survives a write and a read unchanged: no comma stand-in "&", no leading or
// trailing blanks, no line break, no leading double quote, and Windows-1252 can hold it.
bool questionSetCanHold(const QString &text);

// The number of the correct choice, 1 to 4, or 0 when the field is not such a digit.
int correctChoice(const QString &field);

// The session's question-set fields as a set, and back.
QuestionSet sessionQuestionSet();
void storeInSession(const QuestionSet &set);

// Reads a set from the open file channel into the session. The session is changed only when
// all 72 fields were read; otherwise QuestionSetError passes to the caller and nothing changes.
void loadquestions();

} // namespace terravale
