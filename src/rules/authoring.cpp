#include "authoring.h"

#include "catalogue.h"

#include "platform/filechannel.h"
#include "platform/paths.h"
#include "rules/questionset.h"
#include "rules/session.h"

#include <QFile>
#include <QFileInfo>

namespace terravale {

namespace {
QString describe(const TextFault &fault)
{
    switch (fault.kind) {
    case TextFault::Control:
        return QStringLiteral("a control character (%1)").arg(codePointName(fault.codePoint));
    case TextFault::Unencodable:
        if (QChar::isSurrogate(fault.codePoint))
            return QStringLiteral("an unknown character (%1)").arg(codePointName(fault.codePoint));
        return QStringLiteral("the character %1 (%2)").arg(fault.character, codePointName(fault.codePoint));
    default:
        return QStringLiteral("the character ") + fault.character;
    }
}

// "Question 3" for a question box, "Choice B of Question 3" for a choice box.
QString boxName(int question, int choice)
{
    const QString q = QStringLiteral("Question") + numText(question);
    return choice < 0 ? q : QStringLiteral("Choice ") + QChar(u'A' + choice) + QStringLiteral(" of ") + q;
}
} // namespace

QString titleProblem(const QString &title)
{
    const TextFault fault = questionSetTextFault(title);
    if (fault.kind == TextFault::Control || fault.kind == TextFault::Unencodable)
        return QStringLiteral("A worksheet title cannot contain ") + describe(fault);
    // "&" would come back as a comma, which a title cannot hold; the rest cannot name a file.
    for (const QChar c : title) {
        if (QStringLiteral("/\\<>:\"|?*,&").contains(c))
            return QStringLiteral("A worksheet title cannot contain the character ") + c;
    }
    if (title.contains(QStringLiteral("..")))
        return QStringLiteral("A worksheet title cannot contain two dots in a row");
    if (!title.isEmpty() && (title.front().isSpace() || title.back().isSpace()))
        return QStringLiteral("A worksheet title cannot begin or end with a blank");
    if (reservedTitle(title))
        return QStringLiteral("The title ") + title
               + QStringLiteral(" is used by the program itself; please choose another title");
    return {};
}

QString textProblem(const QString &text, int question, int choice)
{
    const TextFault fault = questionSetTextFault(text);
    const QString box = boxName(question, choice);
    switch (fault.kind) {
    case TextFault::None:
        return {};
    case TextFault::Control:
    case TextFault::Unencodable:
        return box + QStringLiteral(" holds ") + describe(fault) + QStringLiteral(", which a worksheet cannot store");
    case TextFault::Ampersand:
        return box + QStringLiteral(" holds the character &, which a worksheet shows as a comma; "
                                    "please write \"and\" instead");
    case TextFault::LeadingQuote:
        return box + QStringLiteral(" cannot begin with a double quote (\"); please use single quotes (') instead");
    case TextFault::QuoteAndBlank:
        return box + QStringLiteral(" cannot hold a double quote (\") and begin or end with a blank; "
                                    "please use single quotes (') instead");
    }
    return {};
}

QString validationMessage(const WorksheetEntries &entries)
{
    if (entries.title.isEmpty())
        return kNoTitleMessage;
    const QString title = titleProblem(entries.title);
    if (!title.isEmpty())
        return title;
    for (int n = 1; n <= 10; ++n) {
        const int q = n - 1;
        const QString incomplete = QStringLiteral("You have not completed Question") + numText(n);
        if (entries.questions[q].isEmpty())
            return incomplete;
        int ticks = 0;
        for (int k = 0; k < 4; ++k) {
            if (entries.choices[4 * q + k].isEmpty())
                return incomplete;
            if (entries.ticks[4 * q + k])
                ++ticks;
        }
        if (ticks == 0)
            return QStringLiteral("You have not ticked the correct answer for Question") + numText(n);
        if (ticks > 1)
            return QStringLiteral("You have ticked more than one correct answer for Question") + numText(n);
    }
    for (int n = 1; n <= 10; ++n) {
        const int q = n - 1;
        QString problem = textProblem(entries.questions[q], n);
        for (int k = 0; k < 4 && problem.isEmpty(); ++k)
            problem = textProblem(entries.choices[4 * q + k], n, k);
        if (!problem.isEmpty())
            return problem;
    }
    return {};
}

QuestionSet questionSetOf(const WorksheetEntries &entries)
{
    QuestionSet set;
    set.title = entries.title;
    for (int q = 0; q < 10; ++q) {
        const int n = q + 1;
        set.quest[n] = entries.questions[q];
        set.answera[n] = entries.choices[4 * q];
        set.answerb[n] = entries.choices[4 * q + 1];
        set.answerc[n] = entries.choices[4 * q + 2];
        set.answerd[n] = entries.choices[4 * q + 3];
        for (int k = 0; k < 4; ++k) {
            if (entries.ticks[4 * q + k])
                set.correct[n] = QString::number(k + 1);
        }
    }
    return set;
}

WorksheetEntries entriesOf(const QuestionSet &set)
{
    WorksheetEntries entries;
    entries.title = set.title;
    for (int q = 0; q < 10; ++q) {
        const int n = q + 1;
        entries.questions[q] = set.quest.at(n);
        entries.choices[4 * q] = set.answera.at(n);
        entries.choices[4 * q + 1] = set.answerb.at(n);
        entries.choices[4 * q + 2] = set.answerc.at(n);
        entries.choices[4 * q + 3] = set.answerd.at(n);
        const int c = correctChoice(set.correct.at(n));
        if (c == 0)
            throw FileError(QStringLiteral("Not a choice number: ") + set.correct.at(n));
        entries.ticks[4 * q + c - 1] = true;
    }
    return entries;
}

QString storeWorksheet(Session &session, const WorksheetEntries &entries)
{
    const QString &title = entries.title;
    // The store refuses on its own what the wizard refuses, so no caller writes outside the folder
    // or over the program's own files.
    if (title.isEmpty())
        return kNoTitleMessage;
    if (const QString problem = titleProblem(title); !problem.isEmpty())
        return problem;
    try {
        ensureCatalogue();
        readCatalogue(session);
        const bool listed = cataloguePosition(session, title) != 0;
        if (const int twin = listed ? 0 : caseTwinPosition(session, title)) {
            return QStringLiteral("There is already a worksheet called ") + session.sheetnames.at(twin)
                   + QStringLiteral(". To replace it, save under exactly that title; otherwise choose another title.");
        }
        if (!listed && session.numsheets >= kMaxWorksheets)
            return kSaveProblemMessage;
        const QString path = worksheetPath(title);
        const bool existed = QFileInfo::exists(resolvePath(path));
        {
            ChannelGuard guard;
            FileChannel &file = fileChannel();
            file.openWrite(path);
            writeQuestionSet(file, questionSetOf(entries));
            file.close();
        }
        try {
            trackworksheets(session, title);
        } catch (...) {
            if (!existed)
                QFile::remove(resolvePath(path));
            throw;
        }
        return kSavedMessage;
    } catch (const std::exception &) {
        return kSaveProblemMessage;
    }
}

} // namespace terravale
