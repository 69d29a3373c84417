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

// A set that cannot be used: the file ended before the 72nd field, or a correct-choice line is
// not a digit 1 to 4. `field` is the 1-based number of the read at fault; `partial` holds every
// field read before it.
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
// QuestionSetError when the file ends early or a correct-choice line is not a digit 1 to 4.
// Anything after the 72nd field is left unread.
QuestionSet readQuestionSet(FileChannel &channel);

// The line a title, question or choice is written as: commas stored as "&", and the text put in
// double quotes when it begins or ends with a blank, so the field reader keeps those blanks.
QString storedLine(const QString &text);

// The 72 lines of a set as they are written (texts as storedLine gives them, digit lines unchanged).
QStringList questionSetLines(const QuestionSet &set);

// Writes the set's 72 lines on the channel (already open for writing; the caller closes it).
void writeQuestionSet(FileChannel &channel, const QuestionSet &set);

// Why a text would not read back as written, or kind None.
struct TextFault {
    enum Kind {
        None,
        Control,        // a control character (line breaks and tabs included)
        Unencodable,    // a character Windows-1252 lacks, or half of a UTF-16 pair
        Ampersand,      // "&" reads back as ","
        LeadingQuote,   // a field that begins with a double quote is read as a quoted field
        QuoteAndBlank,  // leading or trailing blanks need quotes, which cannot hold a double quote
    };
    Kind kind = None;
    QString character;      // the character at fault as typed (two UTF-16 units for an emoji)
    char32_t codePoint = 0; // its code point
};
TextFault questionSetTextFault(const QString &text);

// "U+0041", "U+1F30D".
QString codePointName(char32_t codePoint);

// True when a text survives a write and a read unchanged.
bool questionSetCanHold(const QString &text);

// The number of the correct choice, 1 to 4, or 0 when the field is not such a digit.
int correctChoice(const QString &field);

// Reads a set from the open file channel into session().set. The session is changed only when
// all 72 fields were read; otherwise QuestionSetError passes to the caller and nothing changes.
void loadquestions();

// Opens a question-set file on the channel, reads the set and closes the file. A file that cannot
// be opened or read throws FileError (QuestionSetError for a set that cannot be used) and leaves
// the channel closed.
QuestionSet readQuestionSetFile(const QString &programPath);

// The same into session().set, which stays as it was when the read fails.
void loadQuestionFile(const QString &programPath);

} // namespace terravale
