#include "doubles.h"

namespace terravale {

QSizeF RecordingPrinter::openJob()
{
    ++opened;
    if (noPrinter)
        throw PrintError("no default printer");
    return page;
}

void RecordingPrinter::submit(const QList<PrintOp> &ops, QSizeF)
{
    if (refuse)
        throw PrintError("the printer refused the job");
    jobs.append(ops);
}

MsgResult ScriptedMessageBoxes::show(const QString &text, MsgButtons, const QString &caption)
{
    shown.append(text);
    captions.append(caption);
    return answers.isEmpty() ? MsgResult::Ok : answers.takeFirst();
}

} // namespace terravale
