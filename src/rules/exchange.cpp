#include "exchange.h"

#include "platform/textcodec.h"
#include "rules/authoring.h"

#include <QHash>
#include <QRegularExpression>
#include <QStringDecoder>

#include <algorithm>
#include <optional>
#include <variant>
#include <vector>

namespace terravale {

using namespace Qt::StringLiterals;

namespace {

const QString kCrLf = u"\r\n"_s;
const QString kGap = u"_____"_s;
constexpr size_t npos = size_t(-1);

bool isControl(char32_t c) { return c < 0x20 || c == 0x7f || (c >= 0x80 && c < 0xa0); }
bool isBlank(QChar c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\v' || c == u'\f'; }
bool isLineBreak(QChar c) { return c == u'\n' || c == u'\r' || c == QChar(0x2028) || c == QChar(0x2029); }

// Trims ASCII blanks only, so a no-break space typed at either end is kept.
QString trimBlanks(const QString &text)
{
    qsizetype begin = 0, end = text.size();
    while (begin < end && isBlank(text.at(begin)))
        ++begin;
    while (end > begin && isBlank(text.at(end - 1)))
        --end;
    return text.mid(begin, end - begin);
}

// Line breaks (with the blanks around them) and tabs become one blank; the ends are trimmed.
QString oneLine(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (isLineBreak(c)) {
            while (!out.isEmpty() && (out.back() == u' ' || out.back() == u'\t'))
                out.chop(1);
            while (i + 1 < text.size() && (isBlank(text.at(i + 1)) || isLineBreak(text.at(i + 1))))
                ++i;
            out += u' ';
        } else if (c == u'\t' || c == u'\v' || c == u'\f') {
            out += u' ';
        } else {
            out += c;
        }
    }
    return trimBlanks(out);
}

QString quoted(const QString &text) { return u'"' + text + u'"'; }

// The start of a text, for naming a question in a note.
QString excerpt(const QString &text)
{
    const QString line = oneLine(text);
    return line.size() > 40 ? trimBlanks(line.left(40)) + u'…' : line;
}

QString where(int line, const QString &text)
{
    const QString start = excerpt(text);
    return start.isEmpty() ? u"Line %1: "_s.arg(line) : u"Line %1 (%2): "_s.arg(line).arg(quoted(start));
}

QString counted(int n, const QString &one, const QString &many)
{
    return QString::number(n) + u' ' + (n == 1 ? one : many);
}

QString joinedSentence(const QStringList &parts)
{
    if (parts.size() <= 1)
        return parts.join(QString());
    return parts.mid(0, parts.size() - 1).join(u", "_s) + u" and "_s + parts.back();
}

// ---------------------------------------------------------------------------------------------
// Text that suits the wizard: Windows-1252 characters only, no control characters, "&" written
// out, no leading double quote, within the box's length.

bool encodable(QChar c)
{
    return !c.isSurrogate() && !isControl(c.unicode()) && firstUnencodable(QString::fromRawData(&c, 1)).isNull();
}

bool encodable(const QString &text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return encodable(c); });
}

// What stands in for a character Windows-1252 lacks; an empty string leaves it out.
QString standIn(char32_t cp)
{
    switch (cp) {
    case 0x2010: case 0x2011: case 0x2012: case 0x2015: case 0x2043: case 0x2212:
        return u"-"_s;
    case 0x2190:
        return u"<-"_s;
    case 0x2192:
        return u"->"_s;
    case 0x2194:
        return u"<->"_s;
    case 0x21D2:
        return u"=>"_s;
    case 0x2264:
        return u"<="_s;
    case 0x2265:
        return u">="_s;
    case 0x2032:
        return u"'"_s;
    case 0x200B: case 0x200C: case 0x200D: case 0x2060: case 0xFEFF:
        return {};
    default:
        break;
    }
    const QString compat = QString::fromUcs4(&cp, 1).normalized(QString::NormalizationForm_KC);
    if (!compat.isEmpty() && compat.size() <= 4 && encodable(compat))
        return compat;
    return {};
}

struct Fixed {
    QString text;
    QStringList changes;   // '"★" (U+2605) was left out', '"&" became "and"', ...
    bool quotes = false;   // double quotes became single ones
};

// `titleRules`: also the characters a title cannot hold (they become blanks, '"' becomes "'")
// and ".." (becomes ".").
Fixed fixCharacters(const QString &input, bool titleRules)
{
    static const QString kTitleOnly = u"/\\<>:|?*,"_s;
    Fixed fixed;
    QString &out = fixed.text;
    bool separator = false; // a separator was left out: a blank stands in for it
    bool dropped = false;   // a character was left out just before
    auto addChange = [&fixed](const QString &change) {
        if (!fixed.changes.contains(change))
            fixed.changes << change;
    };
    auto append = [&](QString piece) {
        if (piece.isEmpty())
            return;
        const bool afterBlank = !out.isEmpty() && out.back() == u' ';
        if (piece.front() == u' ' && afterBlank && (dropped || separator))
            piece.remove(0, 1);
        if (separator && !out.isEmpty() && !afterBlank && !piece.isEmpty() && piece.front() != u' ')
            out += u' ';
        separator = dropped = false;
        out += piece;
    };
    const QString text = oneLine(input);
    out.reserve(text.size() + 8);
    const bool plainText = encodable(text) && !text.contains(u'&') && (!titleRules || !text.contains(u'"'));
    if (plainText && !titleRules)
        out = text;
    for (qsizetype i = 0; i < text.size() && !(plainText && !titleRules); ++i) {
        const QChar c = text.at(i);
        char32_t cp = c.unicode();
        QString typed(c);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            cp = QChar::surrogateToUcs4(c, text.at(i + 1));
            typed = text.mid(i, 2);
            ++i;
        } else if (c.isSurrogate()) {
            addChange(u"an unknown character (%1) was left out"_s.arg(codePointName(cp)));
            dropped = true;
            continue;
        }
        if (isControl(cp)) {
            addChange(u"the control character %1 was left out"_s.arg(codePointName(cp)));
            dropped = true;
            continue;
        }
        if (cp == u'&') {
            if (!out.isEmpty() && out.back() != u' ')
                out += u' ';
            append(u"and"_s);
            separator = true;
            addChange(u"\"&\" became \"and\""_s);
            continue;
        }
        if (titleRules && cp == u'"') {
            append(u"'"_s);
            addChange(u"double quotes became single quotes"_s);
            continue;
        }
        if (titleRules && kTitleOnly.contains(c)) {
            separator = true;
            addChange(quoted(typed) + u" was left out"_s);
            continue;
        }
        if (typed.size() == 2 || !encodable(c)) {
            const QString instead = standIn(cp);
            if (instead.isEmpty()) {
                addChange(u"%1 (%2) was left out"_s.arg(quoted(typed), codePointName(cp)));
                dropped = true;
            } else {
                addChange(u"%1 (%2) became %3"_s.arg(quoted(typed), codePointName(cp), quoted(instead)));
                append(instead);
            }
            continue;
        }
        append(typed);
    }
    if (titleRules && out.contains(u".."_s)) {
        while (out.contains(u".."_s))
            out.replace(u".."_s, u"."_s);
        addChange(u"\"..\" became \".\""_s);
    }
    out = trimBlanks(out);
    if (!titleRules && out.startsWith(u'"')) {
        out.replace(u'"', u'\'');
        fixed.quotes = true;
    }
    return fixed;
}

// Cuts a text to `limit` characters; true when it had to.
bool cutTo(QString &text, int limit)
{
    if (text.size() <= limit)
        return false;
    text = trimBlanks(text.left(limit));
    return true;
}

// A text made to fit a box; notes go to `notes`, each starting with `prefix` and naming `box`.
QString fitText(const QString &raw, int limit, const QString &prefix, const QString &box, QStringList &notes)
{
    Fixed fixed = fixCharacters(raw, false);
    if (!fixed.changes.isEmpty()) {
        notes << prefix + box + u" held characters a worksheet cannot store: "_s + joinedSentence(fixed.changes)
                     + u'.';
    }
    if (fixed.quotes) {
        notes << prefix + box
                     + u" began with a double quote, which a worksheet text cannot; its double quotes became single ones."_s;
    }
    const qsizetype length = fixed.text.size();
    if (cutTo(fixed.text, limit)) {
        notes << prefix + box
                     + u" had %1 characters; the wizard's box takes %2, so it was shortened to %3."_s.arg(length).arg(
                         limit).arg(quoted(fixed.text));
    }
    // Anything the checks above missed is left out rather than handed to the wizard.
    for (TextFault fault = questionSetTextFault(fixed.text); fault.kind != TextFault::None;
         fault = questionSetTextFault(fixed.text)) {
        const qsizetype at = fixed.text.indexOf(fault.character);
        if (at < 0)
            return {};
        fixed.text = trimBlanks(fixed.text.remove(at, fault.character.size()));
    }
    return fixed.text;
}

// The title the wizard can take, or an empty one; `origin` names where it came from.
QString fitTitle(const QString &raw, const QString &origin, QStringList &notes)
{
    Fixed fixed = fixCharacters(raw, true);
    QString title = fixed.text;
    const qsizetype length = title.size();
    const bool cut = cutTo(title, kWizardTitleLength);
    if (!fixed.changes.isEmpty()) {
        notes << origin + u" held characters a worksheet title cannot have: "_s + joinedSentence(fixed.changes)
                     + u"; the title became "_s + quoted(title) + u'.';
    }
    if (cut) {
        notes << u"The title %1 had %2 characters; the wizard's title box takes %3, so it was shortened to %4."_s.arg(
            quoted(fixed.text)).arg(length).arg(kWizardTitleLength).arg(quoted(title));
    }
    if (title.isEmpty()) {
        notes << u"The file gives no title; please choose one in the wizard."_s;
        return {};
    }
    if (const QString problem = titleProblem(title); !problem.isEmpty()) {
        notes << problem + u". The title was left empty for you to choose."_s;
        return {};
    }
    return title;
}

// ---------------------------------------------------------------------------------------------
// What both readers find: questions that may be taken, and notes on everything else.

struct Candidate {
    int line = 0;
    QString question;
    QString name;             // GIFT question title, used when the question has no text
    QStringList choices;
    int right = -1;           // index into choices
    QStringList problems;     // why it cannot be taken
    QStringList changes;      // what taking it changes
};

struct Note {
    QString text;
};

using Item = std::variant<Candidate, Note>;

struct Parsed {
    QString error;            // the file is damaged
    std::vector<Item> items;
    std::optional<QString> category;
    int categoryLine = 0;
};

const QString kLeftOut = u" It was left out."_s;

// Fills question `n` of the set, or says why the candidate cannot be taken.
bool takeCandidate(const Candidate &c, int n, QuestionSet &set, QStringList &notes)
{
    const QString prefix = u"Question %1 (line %2): "_s.arg(n).arg(c.line);
    QStringList changes;
    QString question = fitText(c.question, kWizardQuestionLength, prefix, u"the question"_s, changes);
    if (question.isEmpty() && !c.name.isEmpty()) {
        QStringList nameChanges;
        question = fitText(c.name, kWizardQuestionLength, prefix, u"its title"_s, nameChanges);
        if (!question.isEmpty()) {
            changes << prefix + u"it had no question text, so its title %1 became the question."_s.arg(quoted(question));
            changes << nameChanges;
        }
    }
    QStringList problems;
    if (question.isEmpty())
        problems << u"it has no question text a worksheet can store"_s;
    std::array<QString, 4> choices;
    for (int k = 0; k < 4; ++k) {
        const QString box = u"choice "_s + QChar(u'A' + k);
        choices[k] = fitText(c.choices.at(k), kWizardChoiceLength, prefix, box, changes);
        if (choices[k].isEmpty())
            problems << box + u" holds nothing a worksheet can store"_s;
    }
    if (!problems.isEmpty()) {
        notes << where(c.line, c.question) + joinedSentence(problems) + u'.' + kLeftOut;
        return false;
    }
    for (int a = 0; a < 4; ++a) {
        for (int b = a + 1; b < 4; ++b) {
            if (choices[a] == choices[b] && c.choices.at(a) != c.choices.at(b)) {
                changes << prefix + u"choices %1 and %2 now read the same; please tell them apart in the wizard."_s.arg(
                    QChar(u'A' + a)).arg(QChar(u'A' + b));
            }
        }
    }
    set.quest[n] = question;
    set.answera[n] = choices[0];
    set.answerb[n] = choices[1];
    set.answerc[n] = choices[2];
    set.answerd[n] = choices[3];
    set.correct[n] = QString::number(c.right + 1);
    for (const QString &change : c.changes)
        notes << prefix + change;
    notes << changes;
    return true;
}

ExchangeImport assemble(const Parsed &parsed, const QStringList &leadNotes, const QString &title, const QString &titleOrigin)
{
    ExchangeImport result;
    if (!parsed.error.isEmpty()) {
        result.error = parsed.error;
        return result;
    }
    result.notes = leadNotes;
    result.set.title = fitTitle(title, titleOrigin, result.notes);
    int beyond = 0, beyondLine = 0;
    for (const Item &item : parsed.items) {
        if (const Note *note = std::get_if<Note>(&item)) {
            result.notes << note->text;
            continue;
        }
        const Candidate &c = std::get<Candidate>(item);
        if (!c.problems.isEmpty()) {
            result.notes << where(c.line, c.question.isEmpty() ? c.name : c.question) + joinedSentence(c.problems)
                                + u'.' + kLeftOut;
        } else if (result.count < 10) {
            if (takeCandidate(c, result.count + 1, result.set, result.notes))
                ++result.count;
        } else if (beyond++ == 0) {
            beyondLine = c.line;
        }
    }
    if (beyond > 0) {
        result.notes << u"A worksheet has ten questions, so the %1 from line %2 on %3 left out."_s.arg(
            counted(beyond, u"further question"_s, u"further questions"_s)).arg(beyondLine).arg(
            beyond == 1 ? u"was"_s : u"were"_s);
    }
    if (result.count == 0) {
        result.set = QuestionSet{};
        result.error = u"No question in this file is one the wizard can take: a multiple-choice question with four "
                       "answers, one of them correct."_s;
        return result;
    }
    if (result.count < 10) {
        result.notes << u"Only %1 could be taken; questions %2 to 10 of the worksheet are empty."_s.arg(
            counted(result.count, u"question"_s, u"questions"_s)).arg(result.count + 1);
    }
    result.ok = true;
    return result;
}

// ---------------------------------------------------------------------------------------------
// Bytes to text.

struct Decoded {
    QString text;
    QString error;
    QStringList notes;
};

Decoded decode(const QByteArray &bytes)
{
    Decoded d;
    auto with = [&bytes](QStringConverter::Encoding encoding, qsizetype skip, bool *failed) {
        QStringDecoder decoder(encoding);
        QString text = decoder(QByteArrayView(bytes).sliced(skip));
        *failed = decoder.hasError();
        return text;
    };
    bool failed = false;
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        d.text = with(QStringConverter::Utf8, 3, &failed);
    } else if (bytes.startsWith("\xFF\xFE")) {
        d.text = with(QStringConverter::Utf16LE, 2, &failed);
    } else if (bytes.startsWith("\xFE\xFF")) {
        d.text = with(QStringConverter::Utf16BE, 2, &failed);
    } else if (bytes.contains('\0')) {
        d.error = u"This is not a text file."_s;
        return d;
    } else {
        d.text = with(QStringConverter::Utf8, 0, &failed);
        if (failed) {
            d.text = decodeCp1252(bytes);
            d.notes << u"The file is not in UTF-8; it was read as Windows-1252."_s;
            failed = false;
        }
    }
    if (failed)
        d.notes << u"Some bytes of the file are not valid text; they were read as unknown characters."_s;
    return d;
}

QString withoutBom(const QString &text)
{
    return text.startsWith(QChar(0xFEFF)) ? text.mid(1) : text;
}

QStringList splitLines(const QString &text)
{
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != u'\n' && c != u'\r')
            continue;
        lines << text.mid(start, i - start);
        if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
            ++i;
        start = i + 1;
    }
    lines << text.mid(start);
    return lines;
}

// "ANSWER: B" (any letter case, blanks before the colon allowed): what follows the colon.
std::optional<QString> answerValue(const QString &line)
{
    if (!line.startsWith(u"answer"_s, Qt::CaseInsensitive))
        return std::nullopt;
    qsizetype i = 6;
    while (i < line.size() && isBlank(line.at(i)))
        ++i;
    if (i >= line.size() || line.at(i) != u':')
        return std::nullopt;
    return trimBlanks(line.mid(i + 1));
}

// "A. text" or "A) text" (capital letter, then a blank or the line end): the letter and the text.
std::optional<std::pair<QChar, QString>> choiceOf(const QString &line)
{
    if (line.size() < 2 || line.at(0) < u'A' || line.at(0) > u'Z' || (line.at(1) != u'.' && line.at(1) != u')'))
        return std::nullopt;
    if (line.size() > 2 && !isBlank(line.at(2)))
        return std::nullopt;
    return std::pair{line.at(0), trimBlanks(line.mid(2))};
}

// ---------------------------------------------------------------------------------------------
// Aiken.

Parsed parseAiken(const QString &text)
{
    static const QRegularExpression singleLetter(u"(?<![A-Za-z])[A-Za-z](?![A-Za-z])"_s);

    Parsed parsed;
    const QStringList lines = splitLines(text);
    enum { ExpectQuestion, InQuestion, InChoices } state = ExpectQuestion;
    bool blankSince = false;
    Candidate c;
    QString labels;
    auto damaged = [&](int lineNo, const QString &found) {
        const bool anyAnswer = std::any_of(lines.begin(), lines.end(), [](const QString &line) {
            return answerValue(trimBlanks(line)).has_value();
        });
        if (!anyAnswer) {
            parsed.error = u"This is not an Aiken file: no line begins with \"ANSWER:\"."_s;
        } else if (state == InQuestion) {
            parsed.error = u"The question on line %1 (%2) has no choices (\"A. text\") and no ANSWER line."_s.arg(
                c.line).arg(quoted(excerpt(c.question)));
        } else if (found.isNull()) {
            parsed.error = u"The question on line %1 (%2) has no ANSWER line; the file ends after its choices."_s.arg(
                c.line).arg(quoted(excerpt(c.question)));
        } else {
            parsed.error = u"The question on line %1 (%2) has no ANSWER line: line %3 (%4) is neither a choice "
                           "(\"A. text\") nor \"ANSWER: B\"."_s.arg(c.line).arg(quoted(excerpt(c.question)))
                               .arg(lineNo).arg(quoted(excerpt(found)));
        }
    };
    for (int i = 0; i < lines.size() && parsed.error.isEmpty(); ++i) {
        const QString t = trimBlanks(lines.at(i));
        if (t.isEmpty()) {
            blankSince = true;
            continue;
        }
        if (state == ExpectQuestion) {
            c = Candidate{};
            c.line = i + 1;
            c.question = t;
            labels.clear();
            state = InQuestion;
            blankSince = false;
            continue;
        }
        if (const std::optional<QString> answer = answerValue(t)) {
            const QString &value = *answer;
            QStringList letters;
            for (auto it = singleLetter.globalMatch(value); it.hasNext();)
                letters << it.next().captured().toUpper();
            if (c.choices.size() != 4) {
                c.problems << (c.choices.isEmpty() ? u"it has no choices"_s
                                                   : u"it has %1; a worksheet question has exactly four"_s.arg(
                                                         counted(int(c.choices.size()), u"choice"_s, u"choices"_s)));
            }
            if (c.choices.isEmpty()) {
                // Nothing to name.
            } else if (letters.isEmpty()) {
                c.problems << u"its ANSWER line names no choice"_s;
            } else if (letters.size() > 1) {
                c.problems << u"its ANSWER line names %1 correct choices (%2); a worksheet question has exactly one"_s
                                  .arg(letters.size()).arg(letters.join(u", "_s));
            } else {
                const qsizetype at = labels.indexOf(letters.front());
                if (at < 0)
                    c.problems << u"its ANSWER names %1, but it has no choice %1"_s.arg(letters.front());
                else if (labels.count(letters.front()) > 1)
                    c.problems << u"several of its choices are labelled %1"_s.arg(letters.front());
                else
                    c.right = int(at);
            }
            for (qsizetype k = 0; k < c.choices.size(); ++k) {
                if (oneLine(c.choices.at(k)).isEmpty())
                    c.problems << u"its choice %1 is empty"_s.arg(labels.at(k));
            }
            if (c.problems.isEmpty() && labels != u"ABCD"_s) {
                c.changes << u"its choices were labelled %1; they keep their order and are shown as A to D."_s.arg(
                    joinedSentence(QString(labels).split(QString(), Qt::SkipEmptyParts)));
            }
            parsed.items.emplace_back(c);
            state = ExpectQuestion;
            continue;
        }
        if (const auto choice = choiceOf(t)) {
            labels += choice->first;
            c.choices << choice->second;
            state = InChoices;
            continue;
        }
        if (state == InQuestion && !blankSince) {
            c.question += u' ' + t;
            continue;
        }
        damaged(i + 1, t);
    }
    if (parsed.error.isEmpty() && state != ExpectQuestion)
        damaged(int(lines.size()), QString());
    return parsed;
}

// ---------------------------------------------------------------------------------------------
// GIFT.

// One character of a GIFT text; `escaped` when a backslash made it plain text.
struct Unit {
    QChar c;
    bool escaped = false;
    int line = 0;
};
using Units = std::vector<Unit>;

bool is(const Unit &u, char16_t c) { return !u.escaped && u.c == c; }
bool isSpace(const Unit &u) { return !u.escaped && isBlank(u.c); }

Units trimmed(const Units &units)
{
    auto begin = units.begin(), end = units.end();
    while (begin != end && isSpace(*begin))
        ++begin;
    while (end != begin && isSpace(*(end - 1)))
        --end;
    return Units(begin, end);
}

Units slice(const Units &units, size_t from, size_t to)
{
    from = std::min(from, units.size());
    to = std::clamp(to, from, units.size());
    return Units(units.begin() + qsizetype(from), units.begin() + qsizetype(to));
}

QString plain(const Units &units)
{
    QString text;
    text.reserve(qsizetype(units.size()));
    for (const Unit &u : units)
        text += u.c;
    return text;
}

// Index of the first unescaped `c` at or after `from`, or npos.
size_t find(const Units &units, char16_t c, size_t from = 0)
{
    for (size_t i = from; i < units.size(); ++i) {
        if (is(units[i], c))
            return i;
    }
    return npos;
}

void appendLine(Units &units, const QString &line, int lineNo)
{
    static const QString kEscapable = u"\\~=#{}:"_s;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line.at(i);
        if (c == u'\\' && i + 1 < line.size()) {
            const QChar next = line.at(i + 1);
            if (kEscapable.contains(next)) {
                units.push_back({next, true, lineNo});
                ++i;
                continue;
            }
            if (next == u'n') {
                units.push_back({QChar(u'\n'), true, lineNo});
                ++i;
                continue;
            }
        }
        units.push_back({c, false, lineNo});
    }
}

enum class TextFormat { Moodle, Html, Plain, Markdown };

// Takes a leading "[html]", "[moodle]", "[plain]" or "[markdown]" off a text.
TextFormat takeFormat(Units &units, TextFormat fallback)
{
    units = trimmed(units);
    if (units.empty() || !is(units.front(), u'['))
        return fallback;
    const size_t close = find(units, u']');
    if (close == npos)
        return fallback;
    const QString name = plain(slice(units, 1, close));
    TextFormat format;
    if (name == u"html"_s)
        format = TextFormat::Html;
    else if (name == u"moodle"_s)
        format = TextFormat::Moodle;
    else if (name == u"plain"_s)
        format = TextFormat::Plain;
    else if (name == u"markdown"_s)
        format = TextFormat::Markdown;
    else
        return fallback;
    units = slice(units, close + 1, units.size());
    return format;
}

// HTML as the plain text it shows.
QString htmlText(const QString &html)
{
    static const QRegularExpression tag(u"<(/?)([A-Za-z][A-Za-z0-9]*)[^<>]*>|<!--.*?-->"_s,
                                        QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression entity(u"&(#[0-9]{1,8}|#[xX][0-9A-Fa-f]{1,8}|[A-Za-z]{2,8});"_s);
    static const QRegularExpression blanks(u"\\s+"_s);
    static const QStringList breaking = {u"br"_s, u"p"_s, u"div"_s, u"li"_s, u"tr"_s, u"td"_s, u"th"_s};
    QString text;
    qsizetype last = 0;
    for (auto it = tag.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        text += QStringView(html).sliced(last, m.capturedStart() - last);
        if (breaking.contains(m.captured(2).toLower()))
            text += u' ';
        last = m.capturedEnd();
    }
    text += QStringView(html).sliced(last);
    text.replace(blanks, u" "_s);
    QString out;
    last = 0;
    for (auto it = entity.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const QString name = m.captured(1);
        QString value;
        if (name.startsWith(u'#')) {
            bool ok = false;
            const bool hex = name.size() > 1 && (name.at(1) == u'x' || name.at(1) == u'X');
            const char32_t cp = name.mid(hex ? 2 : 1).toUInt(&ok, hex ? 16 : 10);
            const bool valid = ok && cp > 0 && cp <= 0x10FFFF && !(cp >= 0xD800 && cp <= 0xDFFF);
            value = valid ? QString::fromUcs4(&cp, 1) : QString(QChar(0xFFFD));
        } else {
            static const QHash<QString, QString> named = {
                {u"amp"_s, u"&"_s},       {u"lt"_s, u"<"_s},         {u"gt"_s, u">"_s},
                {u"quot"_s, u"\""_s},     {u"apos"_s, u"'"_s},       {u"nbsp"_s, QString(QChar(0xA0))},
                {u"ndash"_s, u"–"_s},     {u"mdash"_s, u"—"_s},      {u"lsquo"_s, u"‘"_s},
                {u"rsquo"_s, u"’"_s},     {u"ldquo"_s, u"“"_s},      {u"rdquo"_s, u"”"_s},
                {u"hellip"_s, u"…"_s},    {u"eacute"_s, u"é"_s},     {u"euro"_s, u"€"_s},
                {u"pound"_s, u"£"_s},     {u"deg"_s, u"°"_s},        {u"times"_s, u"×"_s},
            };
            value = named.value(name, m.captured());
        }
        out += QStringView(text).sliced(last, m.capturedStart() - last);
        out += value;
        last = m.capturedEnd();
    }
    out += QStringView(text).sliced(last);
    return trimBlanks(out);
}

// A question or answer text in the given format, with a change noted when formatting went.
QString formatted(const Units &units, TextFormat format, QStringList &changes, const QString &what)
{
    const QString text = plain(units);
    if (format == TextFormat::Html) {
        const QString shown = htmlText(text);
        if (shown != trimBlanks(text)) {
            const QString change = what + u" was written in HTML; its formatting was removed."_s;
            if (!changes.contains(change))
                changes << change;
        }
        return shown;
    }
    if (format == TextFormat::Markdown) {
        const QString change = what + u" was written in Markdown; its marks are kept as written."_s;
        if (!changes.contains(change))
            changes << change;
    }
    return text;
}

// Splits the text inside braces into answers: marker, weight (when given) and text.
struct Answer {
    QChar marker;
    std::optional<double> weight;
    QString weightText;
    Units text;
    bool feedback = false;
};

std::vector<Answer> splitAnswers(const Units &inside, Units &before)
{
    static const QRegularExpression number(u"^-?[0-9]{1,3}(\\.[0-9]*)?$"_s);
    std::vector<Answer> answers;
    size_t start = 0;
    std::optional<QChar> marker;
    auto finish = [&](size_t end) {
        Units part = trimmed(slice(inside, start, end));
        if (!marker) {
            before = part;
            return;
        }
        Answer a;
        a.marker = *marker;
        if (!part.empty() && is(part.front(), u'%')) {
            const size_t close = find(part, u'%', 1);
            if (close != npos) {
                const QString value = plain(slice(part, 1, close));
                if (number.match(value).hasMatch()) {
                    a.weight = value.toDouble();
                    a.weightText = u'%' + value + u'%';
                    part = slice(part, close + 1, part.size());
                }
            }
        }
        const size_t hash = find(part, u'#');
        if (hash != npos) {
            a.feedback = !trimmed(slice(part, hash + 1, part.size())).empty();
            part = slice(part, 0, hash);
        }
        a.text = trimmed(part);
        answers.push_back(std::move(a));
    };
    for (size_t i = 0; i < inside.size(); ++i) {
        if (is(inside[i], u'~') || is(inside[i], u'=')) {
            finish(i);
            marker = inside[i].c;
            start = i + 1;
        }
    }
    finish(inside.size());
    return answers;
}

void readMultipleChoice(Candidate &c, const Units &inside, TextFormat format)
{
    Units before;
    std::vector<Answer> answers = splitAnswers(inside, before);
    if (!before.empty()) {
        c.changes << u"the text %1 inside its braces has no \"=\" or \"~\" before it and was left out."_s.arg(
            quoted(excerpt(plain(before))));
    }
    int rights = 0;
    bool feedback = false;
    QStringList penalties, partial;
    for (size_t k = 0; k < answers.size(); ++k) {
        Answer &a = answers[k];
        Units text = a.text;
        const TextFormat own = takeFormat(text, format);
        c.choices << formatted(text, own, c.changes, u"an answer"_s);
        feedback = feedback || a.feedback;
        const double weight = a.weight.value_or(a.marker == u'=' ? 100.0 : 0.0);
        const QString label = u"%1 (%2, %3)"_s.arg(k + 1).arg(quoted(excerpt(c.choices.back())), a.weightText);
        if (weight == 100.0) {
            ++rights;
            c.right = int(k);
        } else if (weight < 0.0) {
            if (!penalties.contains(a.weightText))
                penalties << a.weightText;
        } else if (weight > 100.0) {
            c.problems << u"answer "_s + label + u" gives more than full marks, which a worksheet cannot"_s;
        } else if (weight > 0.0) {
            partial << label;
        }
        if (oneLine(c.choices.back()).isEmpty())
            c.problems << u"its answer %1 is empty"_s.arg(k + 1);
    }
    if (!partial.isEmpty()) {
        c.problems << (partial.size() == 1 ? u"answer "_s : u"answers "_s) + joinedSentence(partial)
                          + (partial.size() == 1 ? u" gives"_s : u" give"_s)
                          + u" part marks, which a worksheet cannot"_s;
    }
    if (answers.size() != 4) {
        c.problems << u"it has %1; a worksheet question has exactly four"_s.arg(
            counted(int(answers.size()), u"answer"_s, u"answers"_s));
    }
    if (rights == 0 && partial.isEmpty())
        c.problems << u"none of its answers is marked correct"_s;
    else if (rights > 1)
        c.problems << u"%1 of its answers are marked correct; a worksheet question has exactly one"_s.arg(rights);
    if (feedback)
        c.changes << u"the feedback on its answers was left out; worksheets have none."_s;
    if (!penalties.isEmpty()) {
        c.changes << u"the penalty for choosing a wrong answer (%1) was left out; worksheets have none."_s.arg(
            penalties.join(u", "_s));
    }
}

QString questionKind(const Units &inside)
{
    if (inside.empty())
        return u"an essay question"_s;
    if (is(inside.front(), u'#'))
        return u"a numerical question"_s;
    if (find(inside, u'~') != npos)
        return {};
    const QString text = plain(inside);
    if (find(inside, u'=') != npos && text.contains(u"->"_s))
        return u"a matching question"_s;
    const size_t hash = find(inside, u'#');
    const QString answer = trimBlanks(plain(slice(inside, 0, hash == npos ? inside.size() : hash)));
    static const QStringList truth = {u"T"_s, u"TRUE"_s, u"F"_s, u"FALSE"_s};
    if (truth.contains(answer, Qt::CaseInsensitive))
        return u"a true-false question"_s;
    return u"a short-answer question"_s;
}

const QString kOnlyMultipleChoice =
    u" was left out: the wizard takes only multiple-choice questions with four answers."_s;

void readGiftQuestion(const Units &block, int line, Parsed &parsed)
{
    Units rest = trimmed(block);
    if (rest.empty())
        return;
    Candidate c;
    c.line = line;
    if (rest.size() >= 2 && is(rest[0], u':') && is(rest[1], u':')) {
        size_t close = npos;
        for (size_t i = 2; i + 1 < rest.size(); ++i) {
            if (is(rest[i], u':') && is(rest[i + 1], u':')) {
                close = i;
                break;
            }
        }
        if (close == npos) {
            parsed.items.emplace_back(Note{u"Line %1: the question title begun with \"::\" has no closing \"::\"; "
                                           "the text after it was read as the question."_s.arg(line)});
            rest = slice(rest, 2, rest.size());
        } else {
            c.name = oneLine(plain(slice(rest, 2, close)));
            rest = slice(rest, close + 2, rest.size());
        }
    }
    const size_t open = find(rest, u'{');
    if (open == npos) {
        Units text = rest;
        takeFormat(text, TextFormat::Moodle);
        const QString shown = plain(text);
        parsed.items.emplace_back(Note{where(line, shown.isEmpty() ? c.name : shown)
                                       + u"a text without answers (a description) was left out."_s});
        return;
    }
    size_t close = find(rest, u'}', open);
    if (close == npos)
        close = rest.size();
    Units before = slice(rest, 0, open);
    const Units inside = trimmed(slice(rest, open + 1, close));
    const Units after = trimmed(slice(rest, close + 1, rest.size()));
    Units question = trimmed(before);
    const bool gap = !after.empty();
    if (gap) {
        const auto addText = [&question](const QString &text) {
            for (const QChar ch : text)
                question.push_back({ch, true, 0});
        };
        if (!question.empty())
            addText(u" "_s);
        addText(kGap + u' ');
        question.insert(question.end(), after.begin(), after.end());
    }
    const TextFormat format = takeFormat(question, TextFormat::Moodle);
    c.question = formatted(question, format, c.changes, u"the question"_s);
    if (find(after, u'{') != npos) {
        const QString start = oneLine(plain(before));
        parsed.items.emplace_back(Note{where(line, start.isEmpty() ? c.name : start)
                                       + u"it has more than one set of answers in braces; if these are two "
                                         "questions, a blank line must separate them."_s
                                       + kLeftOut});
        return;
    }
    Units answers = inside;
    const size_t general = [&answers] {
        for (size_t i = answers.size(); i >= 4; --i) {
            if (is(answers[i - 4], u'#') && is(answers[i - 3], u'#') && is(answers[i - 2], u'#')
                && is(answers[i - 1], u'#'))
                return i - 4;
        }
        return size_t(npos);
    }();
    if (general != npos) {
        if (!trimmed(slice(answers, general + 4, answers.size())).empty())
            c.changes << u"its general feedback was left out; worksheets have none."_s;
        answers = trimmed(slice(answers, 0, general));
    }
    const QString kind = questionKind(answers);
    if (!kind.isEmpty()) {
        parsed.items.emplace_back(Note{where(line, c.question.isEmpty() ? c.name : c.question) + kind
                                       + kOnlyMultipleChoice});
        return;
    }
    readMultipleChoice(c, answers, format);
    if (gap && c.problems.isEmpty())
        c.changes << u"it is a missing-word question; the gap is shown as "_s + kGap + u'.';
    parsed.items.emplace_back(std::move(c));
}

// The worksheet title a category names: its last part ("$course$/top/Rivers" gives "Rivers").
QString categoryTitle(const QString &category)
{
    static const QRegularExpression context(u"^\\$(system|course|module|user|coursecategory|cat[0-9]+)\\$$"_s);
    QStringList parts;
    QString part;
    for (qsizetype i = 0; i < category.size(); ++i) {
        if (category.at(i) == u'/') {
            if (i + 1 < category.size() && category.at(i + 1) == u'/') {
                part += u'/';
                ++i;
                continue;
            }
            parts << trimBlanks(part);
            part.clear();
            continue;
        }
        part += category.at(i);
    }
    parts << trimBlanks(part);
    if (parts.size() == 1)
        return parts.front();
    for (qsizetype i = parts.size() - 1; i >= 0; --i) {
        const QString &p = parts.at(i);
        if (!p.isEmpty() && p != u"top"_s && !context.match(p).hasMatch())
            return p;
    }
    return {};
}

Parsed parseGift(const QString &text)
{
    Parsed parsed;
    const QStringList lines = splitLines(text);
    Units block;
    int blockLine = 0;
    bool open = false;
    int openLine = 0;
    bool anyBrace = false;
    auto flush = [&] {
        if (!block.empty())
            readGiftQuestion(block, blockLine, parsed);
        block.clear();
    };
    for (int i = 0; i < lines.size(); ++i) {
        const int lineNo = i + 1;
        const QString t = trimBlanks(lines.at(i));
        if (t.startsWith(u"//"_s))
            continue;
        if (!open && t.isEmpty()) {
            flush();
            continue;
        }
        if (!open && t.startsWith(u"$CATEGORY:"_s)) {
            flush();
            const QString category = oneLine(t.mid(10));
            if (!parsed.category) {
                parsed.category = category;
                parsed.categoryLine = lineNo;
            } else if (categoryTitle(category) != categoryTitle(*parsed.category)) {
                parsed.items.emplace_back(Note{u"Line %1: the category %2 begins; its questions were read into the "
                                               "same worksheet, which takes its title from the first category."_s
                                                   .arg(lineNo).arg(quoted(category))});
            }
            continue;
        }
        if (block.empty())
            blockLine = lineNo;
        else
            block.push_back({QChar(u'\n'), false, lineNo});
        const size_t from = block.size();
        appendLine(block, t, lineNo);
        for (size_t k = from; k < block.size(); ++k) {
            if (is(block[k], u'{')) {
                if (open) {
                    parsed.error = u"Line %1 opens a brace { while the answers begun on line %2 are still open "
                                   "(a brace inside a text is written \\{)."_s.arg(lineNo).arg(openLine);
                    return parsed;
                }
                open = anyBrace = true;
                openLine = lineNo;
            } else if (is(block[k], u'}')) {
                if (!open) {
                    parsed.error = u"Line %1 has a closing brace } without an opening one "
                                   "(a brace inside a text is written \\})."_s.arg(lineNo);
                    return parsed;
                }
                open = false;
            }
        }
    }
    if (open) {
        parsed.error = u"The brace { on line %1 that opens a question's answers is never closed."_s.arg(openLine);
        return parsed;
    }
    flush();
    if (!anyBrace) {
        parsed.error = u"This is not a GIFT file: no question has its answers in braces { }."_s;
        parsed.items.clear();
    }
    return parsed;
}

ExchangeImport emptyFile()
{
    ExchangeImport result;
    result.error = u"The file is empty."_s;
    return result;
}

bool blankText(const QString &text) { return trimBlanks(text).isEmpty(); }

ExchangeImport aikenFrom(const QString &text, const QString &baseName, const QStringList &leadNotes)
{
    if (blankText(text))
        return emptyFile();
    return assemble(parseAiken(text), leadNotes, baseName, u"The file name "_s + quoted(baseName));
}

ExchangeImport giftFrom(const QString &text, const QString &baseName, const QStringList &leadNotes)
{
    if (blankText(text))
        return emptyFile();
    Parsed parsed = parseGift(text);
    QStringList notes = leadNotes;
    QString title = baseName;
    QString origin = u"The file name "_s + quoted(baseName);
    if (parsed.category) {
        const QString fromCategory = categoryTitle(*parsed.category);
        origin = u"The category "_s + quoted(*parsed.category);
        if (fromCategory.isEmpty()) {
            notes << u"Line %1: the category %2 names no worksheet; the title comes from the file name."_s.arg(
                parsed.categoryLine).arg(quoted(*parsed.category));
            origin = u"The file name "_s + quoted(baseName);
        } else {
            title = fromCategory;
        }
    }
    return assemble(parsed, notes, title, origin);
}

// ---------------------------------------------------------------------------------------------
// Writers.

std::array<QString, 4> choicesOf(const QuestionSet &set, int n)
{
    return {set.answera[n], set.answerb[n], set.answerc[n], set.answerd[n]};
}

// Why question n cannot be written, or an empty string.
QString incomplete(const QuestionSet &set, int n)
{
    if (oneLine(set.quest[n]).isEmpty())
        return u"Question %1 has no text."_s.arg(n);
    const auto choices = choicesOf(set, n);
    for (int k = 0; k < 4; ++k) {
        if (oneLine(choices[k]).isEmpty())
            return u"Question %1 has no text for choice %2."_s.arg(n).arg(QChar(u'A' + k));
    }
    if (correctChoice(set.correct[n]) == 0)
        return u"Question %1 has no correct choice."_s.arg(n);
    return {};
}

bool complete(const QuestionSet &set, int n) { return incomplete(set, n).isEmpty(); }

void appendAiken(QString &out, const QuestionSet &set)
{
    for (int n = 1; n <= 10; ++n) {
        if (!complete(set, n))
            continue;
        out += oneLine(set.quest[n]) + kCrLf;
        const auto choices = choicesOf(set, n);
        for (int k = 0; k < 4; ++k)
            out += QChar(u'A' + k) + u". "_s + oneLine(choices[k]) + kCrLf;
        out += u"ANSWER: "_s + QChar(u'A' + correctChoice(set.correct[n]) - 1) + kCrLf + kCrLf;
    }
}

// A GIFT text; a text that would read as a format mark (or, for an answer, as a weight) is
// put behind "[moodle]", the mark a reader takes off again.
QString giftWritten(const QString &text, bool answer)
{
    static const QRegularExpression formatMark(u"^\\[(html|moodle|plain|markdown)\\]"_s);
    const QString line = oneLine(text);
    const bool guard = formatMark.match(line).hasMatch() || (answer && line.startsWith(u'%'));
    return (guard ? u"[moodle]"_s : QString()) + giftEscape(line);
}

void appendGift(QString &out, const QuestionSet &set)
{
    const QString title = oneLine(set.title);
    if (!title.isEmpty())
        out += u"$CATEGORY: "_s + title + kCrLf + kCrLf;
    for (int n = 1; n <= 10; ++n) {
        if (!complete(set, n))
            continue;
        const QString name = title.isEmpty() ? u"Question %1"_s.arg(n) : title + u' ' + QString::number(n);
        out += u"::"_s + giftEscape(name) + u"::"_s + giftWritten(set.quest[n], false) + u'{' + kCrLf;
        const auto choices = choicesOf(set, n);
        const int right = correctChoice(set.correct[n]) - 1;
        for (int k = 0; k < 4; ++k)
            out += u'\t' + QChar(k == right ? u'=' : u'~') + giftWritten(choices[k], true) + kCrLf;
        out += u'}' + kCrLf + kCrLf;
    }
}

} // namespace

QString exportProblem(const QuestionSet &set)
{
    for (int n = 1; n <= 10; ++n) {
        if (const QString problem = incomplete(set, n); !problem.isEmpty())
            return problem;
    }
    return {};
}

QString aikenText(const QuestionSet &set)
{
    QString out;
    appendAiken(out, set);
    return out;
}

QString aikenText(const QList<QuestionSet> &sets)
{
    QString out;
    for (const QuestionSet &set : sets)
        appendAiken(out, set);
    return out;
}

QString giftText(const QuestionSet &set)
{
    QString out;
    appendGift(out, set);
    return out;
}

QString giftText(const QList<QuestionSet> &sets)
{
    QString out;
    for (const QuestionSet &set : sets)
        appendGift(out, set);
    return out;
}

QString giftEscape(const QString &text)
{
    static const QString kSpecial = u"\\~=#{}:"_s;
    QString out;
    out.reserve(text.size() + 8);
    for (const QChar c : text) {
        if (kSpecial.contains(c))
            out += u'\\';
        out += c;
    }
    return out;
}

ExchangeImport readAiken(const QByteArray &bytes, const QString &baseName)
{
    if (bytes.isEmpty())
        return emptyFile();
    Decoded d = decode(bytes);
    if (!d.error.isEmpty()) {
        ExchangeImport result;
        result.error = d.error;
        return result;
    }
    return aikenFrom(withoutBom(d.text), baseName, d.notes);
}

ExchangeImport readAiken(const QString &text, const QString &baseName)
{
    return aikenFrom(withoutBom(text), baseName, {});
}

ExchangeImport readGift(const QByteArray &bytes, const QString &baseName)
{
    if (bytes.isEmpty())
        return emptyFile();
    Decoded d = decode(bytes);
    if (!d.error.isEmpty()) {
        ExchangeImport result;
        result.error = d.error;
        return result;
    }
    return giftFrom(withoutBom(d.text), baseName, d.notes);
}

ExchangeImport readGift(const QString &text, const QString &baseName)
{
    return giftFrom(withoutBom(text), baseName, {});
}

} // namespace terravale
