#include "authoring.h"

#include "catalogue.h"

#include "platform/filechannel.h"
#include "platform/paths.h"
#include "platform/textcodec.h"
#include "quiz/questionset.h"
#include "shell/session.h"

#include <QFile>
#include <QFileInfo>

namespace terravale {

namespace {
// Names the program's own files in the worksheet folder, and names Windows keeps for devices.
bool reservedTitle(const QString &title)
{
    static const QStringList reserved = {
        QStringLiteral("Rubbish"), QStringLiteral("Resources"), QStringLiteral("track"),
        QStringLiteral("CON"), QStringLiteral("PRN"), QStringLiteral("AUX"), QStringLiteral("NUL"),
        QStringLiteral("COM1"), QStringLiteral("COM2"), QStringLiteral("COM3"), QStringLiteral("COM4"),
        QStringLiteral("COM5"), QStringLiteral("COM6"), QStringLiteral("COM7"), QStringLiteral("COM8"),
        QStringLiteral("COM9"), QStringLiteral("LPT1"), QStringLiteral("LPT2"), QStringLiteral("LPT3"),
        QStringLiteral("LPT4"), QStringLiteral("LPT5"), QStringLiteral("LPT6"), QStringLiteral("LPT7"),
        QStringLiteral("LPT8"), QStringLiteral("LPT9")};
    return reserved.contains(title, Qt::CaseInsensitive);
}

QString characterName(QChar c)
{
    return QStringLiteral("U+%1").arg(c.unicode(), 4, 16, QLatin1Char('0')).toUpper();
}

bool isControl(QChar c)
{
    return c.unicode() < 0x20 || c.unicode() == 0x7f || (c.unicode() >= 0x80 && c.unicode() < 0xa0);
}

// The first character of text that a Windows-1252 file cannot hold, including control characters
// that would break its lines; a null QChar when all fit.
QChar firstUnstorable(const QString &text)
{
    for (const QChar c : text) {
        if (isControl(c) || c.isSurrogate() || !firstUnencodable(QString(c)).isNull())
            return c;
    }
    return {};
}

QString describe(QChar c)
{
    if (isControl(c) || c.isSurrogate())
        return QStringLiteral("a control or unknown character (%1)").arg(characterName(c));
    return QStringLiteral("the character ") + c;
}
} // namespace

QString titleProblem(const QString &title)
{
    const QChar bad = firstUnstorable(title);
    if (!bad.isNull())
        return QStringLiteral("A worksheet title cannot contain ") + describe(bad);
    for (const QChar c : title) {
        if (QStringLiteral("/\\<>:\"|?*,").contains(c))
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

QString textProblem(const QString &text, int question)
{
    const QChar bad = firstUnstorable(text);
    if (bad.isNull())
        return {};
    return QStringLiteral("Question") + numText(question) + QStringLiteral(" holds ") + describe(bad)
           + QStringLiteral(", which a worksheet cannot store");
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
            problem = textProblem(entries.choices[4 * q + k], n);
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

QString saveWorksheet(Session &session, const WorksheetEntries &entries)
{
    const QString &title = entries.title;
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
