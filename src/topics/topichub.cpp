#include "topichub.h"

#include "activities/activityscreen.h"
#include "platform/filechannel.h"
#include "platform/fonts.h"
#include "platform/messagebox.h"
#include "platform/twips.h"
#include "quiz/multiple.h"
#include "rules/questionset.h"
#include "shell/frame.h"
#include "shell/navigation.h"
#include "rules/session.h"
#include "shell/sound.h"
#include "teacher.h"

namespace terravale {

const QString kQuestionsNotLoaded = QStringLiteral("The questions for this topic could not be loaded.");

TopicHub &topicHub(const TopicDef &topic)
{
    return static_cast<TopicHub &>(namedForm(topic.form, [&topic] { return new TopicHub(topic); }));
}

TopicHub &topicHub(const QString &form)
{
    const TopicDef *topic = topicByForm(form);
    if (!topic)
        throw std::out_of_range("no topic has the hub " + form.toStdString());
    return topicHub(*topic);
}

TopicHub *loadedTopicHub(const QString &form)
{
    return qobject_cast<TopicHub *>(loadedNamedForm(form));
}

TopicHub::TopicHub(const TopicDef &topic) : Screen(topic.form), m_topic(topic)
{
    Label1 = new Label(this);
    // Wide enough for the longest title ("The School Environment"), short of the Key Facts button.
    Label1->setGeometryTw(240, 0, 6090, 900);
    Label1->setCaption(topic.title);
    Label1->setForeColor(kYellow);
    Label1->setFont(designFont(QStringLiteral("Times New Roman"), 27.75, true));

    Image1 = new Picture(this, Picture::Mode::AutoSize);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setBorder(topic.pictureBorder);
    Image1->move(twipPoint(topic.pictureLeft, topic.pictureTop));

    addLabelButtons(this, Label3,
                    {
                        {int(HubButton::MultipleChoice), 120, 7920, 3195, 495, "Multiple Choice"},
                        {int(HubButton::Labelling), 3600, 7920, 3195, 495, "Labelling Activity"},
                        {int(HubButton::Exit), 10560, 7920, 1245, 495, "Exit"},
                        {int(HubButton::Ordering), 7080, 7920, 3195, 495, "Ordering Activity"},
                        {int(HubButton::KeyFacts), 6360, 120, 1995, 495, "Key Facts"},
                        {int(HubButton::TeachersNotes), 8640, 120, 3195, 495, "Teacher's Notes"},
                    },
                    15.75, [this](int i) { Label3_Click(i); });
    setExitAction([this] { Label3_Click(int(HubButton::Exit)); });
}

void TopicHub::formLoad()
{
    setupform(*this);
    try {
        Image1->load(m_topic.picture);
    } catch (const FileError &) {
        // The hub works without its picture.
    }
    if (m_topic.centrePicture)
        Image1->move(px((12000 - twips(Image1->width())) / 2), Image1->y());
}

void TopicHub::openQuiz()
{
    try {
        loadQuestionFile(m_topic.questionFile);
    } catch (const FileError &) {
        msgBox(kQuestionsNotLoaded);
        return;
    }
    // A quiz left loaded (minimised) holds the old set's run: the new set gets a new quiz.
    multiple &quiz = freshForm<multiple>();
    try {
        quiz.Picture1->load(m_topic.quizPicture);
    } catch (const FileError &) {
        // The quiz runs without its picture.
    }
    quiz.Label5->setCaption(QStringLiteral("Terravale"));
    quiz.showInFront();
}

void TopicHub::openActivity(const ActivityDef &def)
{
    ActivityScreen &activity = activityScreen(def);
    activity.Label6->setCaption(Label1->caption());
    activity.showInFront();
}

void TopicHub::Label3_Click(int index)
{
    if (isCovered())
        return;   // a quick second click, made before the screen the first one opened appeared
    switch (HubButton(index)) {
    case HubButton::MultipleChoice:
        openQuiz();
        break;
    case HubButton::Labelling:
        openActivity(m_topic.labelling);
        break;
    case HubButton::Exit:
        showMainMenu();
        // An activity left minimised goes with its hub: the topic opens afresh next time.
        for (const ActivityDef *def : {&m_topic.labelling, &m_topic.ordering})
            unloadNamedForm(def->form);
        unloadScreen(*this);
        break;
    case HubButton::Ordering:
        openActivity(m_topic.ordering);
        break;
    case HubButton::KeyFacts:
        openPages(m_topic.keyFacts.pages, m_topic.keyFacts.prefix, m_topic.keyFacts.firstScreenFile(),
                  m_topic.keyFacts.firstPrintFile());
        break;
    case HubButton::TeachersNotes:
        openPages(m_topic.notes.pages, m_topic.notes.prefix, m_topic.notes.firstScreenFile(),
                  m_topic.notes.firstPrintFile());
        break;
    default:
        break;
    }
    playclip(kClickClip);
}

void TopicHub::formMouseMove(Qt::MouseButtons, QPointF)
{
    clearButtons(Label3, 0, 5);
}

} // namespace terravale
