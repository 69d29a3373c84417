#pragma once
#include "platform/messagebox.h"
#include "platform/printer.h"

#include <QString>
#include <exception>

namespace terravale {

inline const QString kPrintProblemMessage = QStringLiteral("There was a problem printing to your printer.");

// Runs `job` on the default printer. When it throws an Error, the document is killed, the problem
// message shown and false returned; otherwise `doneMessage` is shown (unless empty).
template <class Error = std::exception, class Job>
bool printOrReport(Job &&job, const QString &doneMessage = {})
{
    Printer &p = printer();
    try {
        job(p);
    } catch (const Error &) {
        p.killDoc();
        msgBox(kPrintProblemMessage);
        return false;
    }
    if (!doneMessage.isEmpty())
        msgBox(doneMessage);
    return true;
}

} // namespace terravale
