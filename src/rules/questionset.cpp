#include "questionset.h"

#include "platform/textcodec.h"
#include "rules/session.h"

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
        if (correctChoice(set.correct[n]) == 0) {
            throw QuestionSetError(field, set,
                                   QStringLiteral("question %1 has no correct choice 1 to 4: ").arg(n) + set.correct[n]);
        }
        read();
    }
    return set;
}

namespace {
bool isFieldBlank(QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); }

bool needsQuotes(const QString &stored)
{
    return !stored.isEmpty() && (isFieldBlank(stored.front()) || isFieldBlank(stored.back()));
}

bool isControl(char32_t c) { return c < 0x20 || c == 0x7f || (c >= 0x80 && c < 0xa0); }
} // namespace

QString storedLine(const QString &text)
{
    const QString stored = storeCommas(text);
    return needsQuotes(stored) ? QLatin1Char('"') + stored + QLatin1Char('"') : stored;
}

QStringList questionSetLines(const QuestionSet &set)
{
    const QString blank = QStringLiteral(" ");
    QStringList lines;
    lines.reserve(kQuestionSetFields);
    lines << storedLine(set.title) << blank;
    for (int n = 1; n <= 10; ++n) {
        lines << storedLine(set.quest[n]) << storedLine(set.answera[n]) << storedLine(set.answerb[n])
              << storedLine(set.answerc[n]) << storedLine(set.answerd[n]) << set.correct[n] << blank;
    }
    return lines;
}

void writeQuestionSet(FileChannel &channel, const QuestionSet &set)
{
    for (const QString &line : questionSetLines(set))
        channel.writeLine(line);
}

QString codePointName(char32_t codePoint)
{
    return QStringLiteral("U+%1").arg(uint(codePoint), 4, 16, QLatin1Char('0')).toUpper();
}

TextFault questionSetTextFault(const QString &text)
{
    const auto fault = [](TextFault::Kind kind, const QString &character, char32_t codePoint) {
        return TextFault{kind, character, codePoint};
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            return fault(TextFault::Unencodable, text.mid(i, 2), QChar::surrogateToUcs4(c, text.at(i + 1)));
        if (isControl(c.unicode()))
            return fault(TextFault::Control, QString(c), c.unicode());
        if (c.isSurrogate() || !firstUnencodable(QString(c)).isNull())
            return fault(TextFault::Unencodable, QString(c), c.unicode());
    }
    if (text.contains(QLatin1Char('&')))
        return fault(TextFault::Ampersand, QStringLiteral("&"), U'&');
    const QString stored = storeCommas(text);
    if (stored.startsWith(QLatin1Char('"')))
        return fault(TextFault::LeadingQuote, QStringLiteral("\""), U'"');
    if (needsQuotes(stored) && stored.contains(QLatin1Char('"')))
        return fault(TextFault::QuoteAndBlank, QStringLiteral("\""), U'"');
    return {};
}

bool questionSetCanHold(const QString &text)
{
    return questionSetTextFault(text).kind == TextFault::None;
}

int correctChoice(const QString &field)
{
    const QString digit = field.trimmed();
    if (digit.size() != 1)
        return 0;
    const QChar c = digit.at(0);
    return c >= QLatin1Char('1') && c <= QLatin1Char('4') ? c.unicode() - '0' : 0;
}

void loadquestions()
{
    session().set = readQuestionSet(fileChannel());
}

QuestionSet readQuestionSetFile(const QString &programPath)
{
    ChannelGuard guard;
    fileChannel().openRead(programPath);
    QuestionSet set = readQuestionSet(fileChannel());
    fileChannel().close();
    return set;
}

void loadQuestionFile(const QString &programPath)
{
    session().set = readQuestionSetFile(programPath);
}

} // namespace terravale
