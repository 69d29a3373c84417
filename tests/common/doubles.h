#pragma once
#include "platform/messagebox.h"
#include "platform/printer.h"
#include "platform/sound.h"

#include <QList>
#include <QSizeF>
#include <QStringList>

// Stand-ins for the printer, the message boxes and the sound player, installed through the
// platform's setters so that tests see what the program asked for.
namespace terravale {

// Keeps every finished job's operations instead of printing them.
class RecordingPrinter : public Printer {
public:
    explicit RecordingPrinter(QSizeF pageSize = QSizeF(11906, 16838)) : page(pageSize) {}

    QSizeF page;
    bool noPrinter = false;       // opening a job fails
    bool refuse = false;          // submitting fails
    QList<QList<PrintOp>> jobs;   // finished jobs, oldest first
    int opened = 0;               // jobs opened, finished or not

protected:
    QSizeF openJob() override;
    void submit(const QList<PrintOp> &ops, QSizeF page) override;
};

// Records every message and answers from a queue (OK when the queue is empty).
class ScriptedMessageBoxes : public MessageBoxes {
public:
    MsgResult show(const QString &text, MsgButtons buttons, const QString &caption) override;
    QStringList shown;
    QStringList captions;
    QList<MsgResult> answers;
};

// Records every request and plays nothing.
class RecordingSoundPlayer : public SoundPlayer {
public:
    void play(const QString &programPath) override { played.append(programPath); }
    void preload(const QString &programPath) override { preloaded.append(programPath); }
    QStringList played;
    QStringList preloaded;
};

} // namespace terravale
