#pragma once
#include "platform/label.h"
#include "platform/picture.h"
#include "platform/screen.h"

namespace terravale {

class ActivityScreen;

// What distinguishes one topic hub from another.
struct Topic {
    QString formName;
    QString title;
    QString picture;
    bool centrePicture;      // centred across the screen, with a border (else at left 840)
    float pictureTop;
    QString questionFile;
    QString quizPicture;
    int keyFactsPages;
    QString keyFactsPrefix;
    QString keyFactsScreenPage;
    QString keyFactsPrintPage;
    int notesPages;
    QString notesPrefix;
    QString notesScreenPage;
    QString notesPrintPage;
    ActivityScreen &(*labellingActivity)();   // loads the activity screen if needed
    ActivityScreen &(*orderingActivity)();
};

const Topic &rubbishTopic();
const Topic &resourcesTopic();

// A topic's hub: title, picture and six buttons to its pages, quiz and activities.
class TopicHub : public Screen {
    Q_OBJECT
public:
    explicit TopicHub(const Topic &topic);
    void formLoad() override;

    const Topic &topic() const { return m_topic; }

    Label *Label1;
    Picture *Image1;
    LabelArray Label3;   // 0 quiz, 1 labelling, 2 exit, 3 ordering, 4 key facts, 5 teacher's notes

    void Label3_Click(int index);

protected:
    void formMouseMove(Qt::MouseButtons buttons, QPointF twips) override;

private:
    void openQuiz();
    void openActivity(ActivityScreen &activity);
    const Topic &m_topic;
};

// The message shown when a topic's question set cannot be loaded.
extern const QString kQuestionsNotLoaded;

} // namespace terravale
