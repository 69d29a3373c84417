#include "questionset.h"

#include "platform/textcodec.h"
#include "shell/session.h"

namespace terravale {

QuestionSetError::QuestionSetError(int field, QuestionSet partial, const QString &cause)
    : FileError(QStringLiteral("Question set ends at read %1: %2").arg(field).arg(cause)),
      m_field(field), m_partial(std::move(partial))
{
}

QString restoreCommas(const QString &stored)
{
    QString text = stored;
    text.replace(QLatin1Char('&'), QLatin1Char(','));
    return text;
}

QString storeCommas(const QString &text)
{
    QString stored = text;
    stored.replace(QLatin1Char(','), QLatin1Char('&'));
    return stored;
}

QuestionSet readQuestionSet(FileChannel &channel)
{
    QuestionSet set;
    int field = 0;
    auto read = [&]() -> QString {
        ++field;
        try {
            return channel.readField();
        } catch (const FileError &error) {
            throw QuestionSetError(field, set, error.message());
        }
    };
    set.title = restoreCommas(read());
    read();
    for (int n = 1; n <= 10; ++n) {
        set.quest[n] = restoreCommas(read());
        set.answera[n] = restoreCommas(read());
        set.answerb[n] = restoreCommas(read());
        set.answerc[n] = restoreCommas(read());
        set.answerd[n] = restoreCommas(read());
        set.correct[n] = read();
        read();
    }
    return set;
}

QStringList questionSetLines(const QuestionSet &set)
{
    const QString blank = QStringLiteral(" ");
    QStringList lines;
    lines.reserve(kQuestionSetFields);
    lines << storeCommas(set.title) << blank;
    for (int n = 1; n <= 10; ++n) {
        lines << storeCommas(set.quest[n]) << storeCommas(set.answera[n]) << storeCommas(set.answerb[n])
              << storeCommas(set.answerc[n]) << storeCommas(set.answerd[n]) << set.correct[n] << blank;
    }
    return lines;
}

void writeQuestionSet(FileChannel &channel, const QuestionSet &set)
{
    for (const QString &line : questionSetLines(set))
        channel.writeLine(line);
}

bool questionSetCanHold(const QString &text)
{
    if (text.contains(QLatin1Char('&')) || text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n')))
        return false;
    if (text.startsWith(QLatin1Char('"')))
        return false;
    auto blank = [](QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); };
    if (!text.isEmpty() && (blank(text.front()) || blank(text.back())))
        return false;
    return firstUnencodable(text).isNull();
}

int correctChoice(const QString &field)
{
    const QString digit = field.trimmed();
    if (digit.size() != 1)
        return 0;
    const QChar c = digit.at(0);
    return c >= QLatin1Char('1') && c <= QLatin1Char('4') ? c.unicode() - '0' : 0;
}

QuestionSet sessionQuestionSet()
{
    const Session &s = session();
    QuestionSet set;
    set.title = s.worktitle;
    set.quest = s.quest;
    set.answera = s.answera;
    set.answerb = s.answerb;
    set.answerc = s.answerc;
    set.answerd = s.answerd;
    set.correct = s.correct;
    return set;
}

void storeInSession(const QuestionSet &set)
{
    Session &s = session();
    s.worktitle = set.title;
    s.quest = set.quest;
    s.answera = set.answera;
    s.answerb = set.answerb;
    s.answerc = set.answerc;
    s.answerd = set.answerd;
    s.correct = set.correct;
}

void loadquestions()
{
    storeInSession(readQuestionSet(fileChannel()));
}

} // namespace terravale
