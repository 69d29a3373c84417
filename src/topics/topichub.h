#pragma once
#include "platform/label.h"
#include "platform/picture.h"
#include "platform/screen.h"
#include "rules/topictable.h"

namespace terravale {

class ActivityScreen;

// A hub's buttons, by their Label3 index.
enum class HubButton : int {
    MultipleChoice = 0,
    Labelling = 1,
    Exit = 2,
    Ordering = 3,
    KeyFacts = 4,
    TeachersNotes = 5,
};

// A topic's hub: title, picture and six buttons to its pages, quiz and activities. One class
// serves every topic; the topic table's row sets it apart, and its form name is the row's form.
class TopicHub : public Screen {
    Q_OBJECT
public:
    explicit TopicHub(const TopicDef &topic);
    void formLoad() override;

    const TopicDef &topic() const { return m_topic; }

    Label *Label1;
    Picture *Image1;
    LabelArray Label3;   // 0 quiz, 1 labelling, 2 exit, 3 ordering, 4 key facts, 5 teacher's notes

    void Label3_Click(int index);

protected:
    void formMouseMove(Qt::MouseButtons buttons, QPointF twips) override;

private:
    void openQuiz();
    void openActivity(const ActivityDef &def);
    const TopicDef &m_topic;
};

// The hub of a topic of the table, loaded if it is not; the loaded hub of a form name, or null.
TopicHub &topicHub(const TopicDef &topic);
TopicHub *loadedTopicHub(const QString &form);

// The hub of the topic with this hub form name ("rubbish"); throws std::out_of_range for none.
TopicHub &topicHub(const QString &form);

// The message shown when a topic's question set cannot be loaded.
extern const QString kQuestionsNotLoaded;

} // namespace terravale
