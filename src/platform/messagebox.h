#pragma once
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QWidget;

namespace terravale {

enum class MsgButtons { Ok, OkCancel };
enum class MsgResult { Ok, Cancel };

// Message boxes: the real one asks the user; tests install one that answers for it.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // An empty caption shows the program's title.
    virtual MsgResult show(const QString &text, MsgButtons buttons, const QString &caption) = 0;
};

class RealMessageBoxes : public MessageBoxes {
public:
    MsgResult show(const QString &text, MsgButtons buttons, const QString &caption) override;
};

MessageBoxes &messageBoxes();
void setMessageBoxes(std::shared_ptr<MessageBoxes> boxes);

// The usual call: an OK box carrying the program's title.
inline MsgResult msgBox(const QString &text, MsgButtons buttons = MsgButtons::Ok, const QString &caption = {})
{
    return messageBoxes().show(text, buttons, caption);
}

} // namespace terravale
