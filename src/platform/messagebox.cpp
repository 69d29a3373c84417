#include "messagebox.h"

#include <QApplication>
#include <QMessageBox>

namespace terravale {

namespace {
std::shared_ptr<MessageBoxes> &current()
{
    static std::shared_ptr<MessageBoxes> boxes = std::make_shared<RealMessageBoxes>();
    return boxes;
}
} // namespace

MsgResult RealMessageBoxes::show(const QString &text, MsgButtons buttons, const QString &caption)
{
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(caption.isEmpty() ? QStringLiteral("Terravale") : caption);
    box.setText(text);
    box.setIcon(QMessageBox::NoIcon);
    if (buttons == MsgButtons::OkCancel) {
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Ok);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }
    return box.exec() == QMessageBox::Ok ? MsgResult::Ok : MsgResult::Cancel;
}

MessageBoxes &messageBoxes() { return *current(); }

void setMessageBoxes(std::shared_ptr<MessageBoxes> boxes) { current() = std::move(boxes); }

} // namespace terravale
