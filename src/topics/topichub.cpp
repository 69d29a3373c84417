#include "topichub.h"

#include "activities/activities.h"
#include "platform/filechannel.h"
#include "platform/fonts.h"
#include "platform/messagebox.h"
#include "platform/twips.h"
#include "quiz/multiple.h"
#include "quiz/questionset.h"
#include "shell/frame.h"
#include "shell/intro0.h"
#include "shell/session.h"
#include "shell/sound.h"
#include "teacher.h"

namespace terravale {

const QString kQuestionsNotLoaded = QStringLiteral("The questions for this topic could not be loaded.");

const Topic &rubbishTopic()
{
    static const Topic topic{
        QStringLiteral("rubbish"),
        QStringLiteral("Rubbish"),
        QStringLiteral("images\\bottlebankbig.jpg"),
        false,
        720,
        QStringLiteral("multiple\\Rubbish.txt"),
        QStringLiteral("images\\incineratorsm.jpg"),
        2,
        QStringLiteral("key rubbish"),
        QStringLiteral("wmf\\key rubbisha.wmf"),
        QStringLiteral("wmf2\\key rubbisha.wmf"),
        2,
        QStringLiteral("rubbish"),
        QStringLiteral("wmf\\rubbisha.wmf"),
        QStringLiteral("wmf2\\rubbisha.wmf"),
        []() -> ActivityScreen & { return form<rubbishlab>(); },
        []() -> ActivityScreen & { return form<rubbishord>(); },
    };
    return topic;
}

const Topic &resourcesTopic()
{
    static const Topic topic{
        QStringLiteral("resources"),
        QStringLiteral("Resources"),
        QStringLiteral("images\\windfarm.jpg"),
        true,
        1260,
        QStringLiteral("multiple\\Resources.txt"),
        QStringLiteral("images\\windfarmsm.jpg"),
        5,
        QStringLiteral("key resources"),
        QStringLiteral("wmf\\key resourcesa.wmf"),
        QStringLiteral("wmf2\\key resourcesa.wmf"),
        1,
        QStringLiteral("resources"),
        QStringLiteral("wmf\\resources.wmf"),
        QStringLiteral("wmf2\\resources.wmf"),
        []() -> ActivityScreen & { return form<resourceslab>(); },
        []() -> ActivityScreen & { return form<resourcesord>(); },
    };
    return topic;
}

TopicHub::TopicHub(const Topic &topic) : Screen(topic.formName), m_topic(topic)
{
    Label1 = new Label(this);
    Label1->setGeometryTw(240, 0, 5880, 900);
    Label1->setCaption(topic.title);
    Label1->setForeColor(kYellow);
    Label1->setFont(designFont(QStringLiteral("Times New Roman"), 27.75, true));

    Image1 = new Picture(this, Picture::Mode::AutoSize);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setBorder(topic.centrePicture);
    Image1->move(twipPoint(840, topic.pictureTop));

    const struct {
        int index;
        float left, top, width, height;
        const char *caption;
    } buttons[] = {
        {0, 120, 7920, 3195, 495, "Multiple Choice"},
        {1, 3600, 7920, 3195, 495, "Labelling Activity"},
        {2, 10560, 7920, 1245, 495, "Exit"},
        {3, 7080, 7920, 3195, 495, "Ordering Activity"},
        {4, 6360, 120, 1995, 495, "Key Facts"},
        {5, 8640, 120, 3195, 495, "Teacher's Notes"},
    };
    for (const auto &b : buttons) {
        auto *button = new Label(this, b.index);
        button->setGeometryTw(b.left, b.top, b.width, b.height);
        button->setCaption(QString::fromLatin1(b.caption));
        button->makeButton(15.75);
        Label3.add(b.index, button);
        connect(button, &Label::clicked, this, [this](int i) { Label3_Click(i); });
        connect(button, &Label::mouseMoved, this, [this](int i, Qt::MouseButtons, QPointF) { lightButton(Label3, i); });
    }
    setExitAction([this] { Label3_Click(2); });
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
        ChannelGuard guard;
        fileChannel().openRead(m_topic.questionFile);
        loadquestions();
        fileChannel().close();
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

void TopicHub::openActivity(ActivityScreen &activity)
{
    activity.Label6->setCaption(Label1->caption());
    activity.showInFront();
}

void TopicHub::Label3_Click(int index)
{
    switch (index) {
    case 0:
        openQuiz();
        break;
    case 1:
        openActivity(m_topic.labellingActivity());
        break;
    case 2:
        form<intro0>().showInFront();
        detail::unloadForm(typeid(*this));
        break;
    case 3:
        openActivity(m_topic.orderingActivity());
        break;
    case 4:
        openPages(m_topic.keyFactsPages, m_topic.keyFactsPrefix, m_topic.keyFactsScreenPage, m_topic.keyFactsPrintPage);
        break;
    case 5:
        openPages(m_topic.notesPages, m_topic.notesPrefix, m_topic.notesScreenPage, m_topic.notesPrintPage);
        break;
    default:
        break;
    }
    playclip(QStringLiteral("wav\\click.wav"));
}

void TopicHub::formMouseMove(Qt::MouseButtons, QPointF)
{
    clearButtons(Label3, 0, 5);
}

} // namespace terravale
