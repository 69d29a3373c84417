// Every row of the topic table, through the real screens: the menu entry, the hub, the question
// set, the Key Facts and notes pages, and both activities.
#include "activities/activityscreen.h"
#include "platform/filechannel.h"
#include "quiz/multiple.h"
#include "rules/questionset.h"
#include "shell/intro0.h"
#include "rules/session.h"
#include "testsupport.h"
#include "topics/teacher.h"
#include "topics/topichub.h"
#include "rules/topictable.h"

#include <QFontMetrics>
#include <QSet>
#include <QTest>

using namespace terravale;

namespace {

void topics()
{
    QTest::addColumn<QString>("form");
    for (const TopicDef &topic : topicTable())
        QTest::newRow(qPrintable(topic.id)) << topic.form;
}

const TopicDef &topicOf(const QString &form)
{
    const TopicDef *topic = topicByForm(form);
    if (!topic)
        qFatal("no topic %s", qPrintable(form));
    return *topic;
}

// Label i dragged onto box `box` through the screen's handlers.
void place(ActivityScreen &screen, int label, int box)
{
    const Label &l = screen.Label2(label);
    const Label &b = screen.Label1(box);
    screen.Label2_MouseMove(label, 1, b.leftTw() - l.leftTw() + l.widthTw() / 2, b.topTw() - l.topTw() + l.heightTw() / 2);
    screen.Label2_MouseUp(label);
}

} // namespace

class TopicsTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { test::closeAllScreens(); }
    void tableIsComplete();
    void menuOpensHub_data() { topics(); }
    void menuOpensHub();
    void questionSet_data() { topics(); }
    void questionSet();
    void hubOpensQuizAndActivities_data() { topics(); }
    void hubOpensQuizAndActivities();
    void hubExitTakesMinimisedActivities();
    void pagesPlay_data();
    void pagesPlay();
    void activitiesMark_data();
    void activitiesMark();
    void parseRefuses_data();
    void parseRefuses();
};

void TopicsTest::tableIsComplete()
{
    // Twelve topics, one per topic entry of the menu, each with its own forms and files.
    const std::vector<TopicDef> &table = topicTable();
    QCOMPARE(int(table.size()), 12);
    QSet<int> entries;
    QSet<QString> names;
    for (const TopicDef &topic : table) {
        entries.insert(topic.menuIndex);
        for (const QString &name : {u"hub:"_qs + topic.form, u"lab:"_qs + topic.labelling.form, u"ord:"_qs + topic.ordering.form,
                                    u"set:"_qs + topic.questionSetName().toLower(), u"key:"_qs + topic.keyFacts.prefix,
                                    u"notes:"_qs + topic.notes.prefix})
            names.insert(name);
    }
    QCOMPARE(entries, (QSet<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 15}));
    QCOMPARE(names.size(), 12 * 6);
    for (int i = 1; i < int(table.size()); ++i)
        QVERIFY(table[size_t(i - 1)].menuIndex < table[size_t(i)].menuIndex);
}

void TopicsTest::menuOpensHub()
{
    QFETCH(QString, form);
    const TopicDef &topic = topicOf(form);
    test::DataFolder data;
    intro0 &menu = terravale::form<intro0>();
    menu.showInFront();
    Label &entry = menu.Label2(topic.menuIndex);
    QVERIFY(entry.isEnabled());
    QCOMPARE(entry.caption(), topic.title);

    menu.Label2_Click(topic.menuIndex);
    QCOMPARE(data.sounds->played, QStringList{u"wav\\click.wav"_qs});
    TopicHub *hub = loadedTopicHub(form);
    QVERIFY(hub && hub->isVisible());
    QCOMPARE(hub->objectName(), form);
    QCOMPARE(hub->Label1->caption(), topic.title);
    // The title fits on its line, short of the Key Facts button.
    const QFontMetrics metrics(hub->Label1->font());
    QVERIFY2(metrics.horizontalAdvance(topic.title) <= hub->Label1->width(), qPrintable(topic.title));
    QVERIFY(hub->Label1->geometry().right() < hub->Label3(4).geometry().left());

    // The picture is shown, on the screen, and covers no button.
    QVERIFY(hub->Image1->picture() != nullptr);
    const QRect picture = hub->Image1->geometry();
    QVERIFY2(hub->rect().contains(picture), qPrintable(QStringLiteral("%1 %2 %3 %4").arg(picture.x()).arg(picture.y()).arg(picture.width()).arg(picture.height())));
    for (const auto &[index, button] : hub->Label3.items())
        QVERIFY2(!picture.intersects(button->geometry()), qPrintable(button->caption()));

    hub->Label3_Click(2);   // Exit
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!loadedTopicHub(form));
    QVERIFY(menu.isVisible());
}

void TopicsTest::questionSet()
{
    QFETCH(QString, form);
    const TopicDef &topic = topicOf(form);
    test::DataFolder data;
    const QuestionSet set = readQuestionSetFile(topic.questionFile);
    QVERIFY(!set.title.trimmed().isEmpty());
    for (int q = 1; q <= 10; ++q) {
        const QString where = QStringLiteral("question %1").arg(q);
        QVERIFY2(!set.quest[q].trimmed().isEmpty(), qPrintable(where));
        const QStringList choices{set.answera[q], set.answerb[q], set.answerc[q], set.answerd[q]};
        for (const QString &choice : choices)
            QVERIFY2(!choice.trimmed().isEmpty(), qPrintable(where));
        QCOMPARE(QSet<QString>(choices.begin(), choices.end()).size(), 4);
        QVERIFY2(set.correct[q].size() == 1 && set.correct[q] >= u"1"_qs && set.correct[q] <= u"4"_qs, qPrintable(where));
    }
    // The correct answers are not all in one place.
    QSet<QString> positions(set.correct.begin() + 1, set.correct.end());
    QVERIFY(positions.size() >= 3);
}

void TopicsTest::hubOpensQuizAndActivities()
{
    QFETCH(QString, form);
    const TopicDef &topic = topicOf(form);
    test::DataFolder data;
    TopicHub &hub = topicHub(topic);
    hub.showInFront();

    hub.Label3_Click(0);
    multiple *quiz = loadedForm<multiple>();
    QVERIFY(quiz && quiz->isVisible());
    QVERIFY(data.messages->shown.isEmpty());
    QVERIFY(quiz->Picture1->picture() != nullptr);
    QCOMPARE(session().set.quest[1], readQuestionSetFile(topic.questionFile).quest[1]);
    quiz->Label3_Click(2);   // Exit
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    for (const auto &[button, def] : {std::pair{1, &topic.labelling}, std::pair{3, &topic.ordering}}) {
        hub.Label3_Click(button);
        ActivityScreen *activity = loadedActivity(def->form);
        QVERIFY2(activity && activity->isVisible(), qPrintable(def->form));
        QCOMPARE(activity->Label6->caption(), topic.title);
        QCOMPARE(session().outof, int(def->items.size()));
        for (int i = 0; i < int(def->pictures.size()); ++i)
            QVERIFY2(activity->Image1(i).picture() != nullptr, qPrintable(def->pictures[size_t(i)].file));
        activity->Label3_Click(0);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!loadedActivity(def->form));
    }
    QVERIFY(data.messages->shown.isEmpty());
}

void TopicsTest::hubExitTakesMinimisedActivities()
{
    // A pupil minimises an activity, then leaves the topic: next time it opens afresh.
    test::DataFolder data;
    intro0 &menu = terravale::form<intro0>();
    menu.showInFront();
    const TopicDef &topic = topicOf(u"forests"_qs);
    menu.Label2_Click(topic.menuIndex);
    TopicHub &hub = *loadedTopicHub(topic.form);
    hub.Label3_Click(1);
    ActivityScreen *activity = loadedActivity(topic.labelling.form);
    QVERIFY(activity);
    place(*activity, 0, 0);
    activity->showMinimized();
    hub.showInFront();
    hub.Label3_Click(2);   // Exit
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!loadedActivity(topic.labelling.form));
    QVERIFY(!loadedTopicHub(topic.form));
    menu.Label2_Click(topic.menuIndex);
    loadedTopicHub(topic.form)->Label3_Click(1);
    activity = loadedActivity(topic.labelling.form);
    QVERIFY(activity && !activity->isMinimized());
    QCOMPARE(activity->engine().pairsInBoxes(), 0);
}

void TopicsTest::pagesPlay_data()
{
    QTest::addColumn<QString>("form");
    QTest::addColumn<bool>("notes");
    for (const TopicDef &topic : topicTable()) {
        QTest::newRow(qPrintable(topic.id + u" key facts"_qs)) << topic.form << false;
        QTest::newRow(qPrintable(topic.id + u" notes"_qs)) << topic.form << true;
    }
}

void TopicsTest::pagesPlay()
{
    QFETCH(QString, form);
    QFETCH(bool, notes);
    const TopicDef &topic = topicOf(form);
    const PageSetDef &pages = notes ? topic.notes : topic.keyFacts;
    QVERIFY(notes ? (pages.pages >= 1 && pages.pages <= 2) : (pages.pages >= 2 && pages.pages <= 5));
    test::DataFolder data;
    TopicHub &hub = topicHub(topic);
    hub.showInFront();
    hub.Label3_Click(notes ? 5 : 4);
    teacher *viewer = loadedForm<teacher>();
    QVERIFY(viewer && viewer->isVisible());
    for (int page = 1; page <= pages.pages; ++page) {
        if (page > 1)
            viewer->Label3_Click(2);   // Next Page
        const QString where = QStringLiteral("page %1").arg(page);
        QVERIFY2(!viewer->missingPage->isVisible(), qPrintable(where));
        QVERIFY2(viewer->Image1->picture() != nullptr, qPrintable(where));
        QVERIFY2(viewer->Image2->picture() != nullptr, qPrintable(where + u", print version"_qs));
        if (pages.pages > 1)
            QCOMPARE(viewer->Label1->caption(), pageCaption(page, pages.pages));
    }
    QVERIFY(data.messages->shown.isEmpty());
}

void TopicsTest::activitiesMark_data()
{
    QTest::addColumn<QString>("activity");
    for (const TopicDef &topic : topicTable()) {
        QTest::newRow(qPrintable(topic.labelling.form)) << topic.labelling.form;
        QTest::newRow(qPrintable(topic.ordering.form)) << topic.ordering.form;
    }
}

void TopicsTest::activitiesMark()
{
    QFETCH(QString, activity);
    const ActivityDef &def = activityDef(activity);
    QCOMPARE(activityProblems(def), QStringList());
    const int count = int(def.items.size());
    QVERIFY(count >= 4 && count <= 10);
    test::DataFolder data;
    ActivityScreen &screen = activityScreen(def);
    screen.showInFront();

    // Every label in its own box: full marks.
    for (int i = 0; i < count; ++i)
        place(screen, i, i);
    QVERIFY(screen.engine().complete());
    QVERIFY(screen.Label3(2).isVisible());
    QCOMPARE(screen.engine().mark(), count);

    // Two labels swapped: two fewer.
    screen.Label3_Click(1);   // Start Again
    place(screen, 0, 1);
    place(screen, 1, 0);
    for (int i = 2; i < count; ++i)
        place(screen, i, i);
    QCOMPARE(screen.engine().mark(), count - 2);
    screen.Label3_Click(2);   // Check Score
    QCOMPARE(session().score, count - 2);
    QCOMPARE(session().outof, count);
}

void TopicsTest::parseRefuses_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("fault");
    QTest::newRow("not JSON") << QByteArray("{") << u"not JSON"_qs;
    QTest::newRow("array") << QByteArray("[]") << u"one object"_qs;
    QTest::newRow("no id") << QByteArray("{\"menuIndex\": 0}") << u"id"_qs;
}

void TopicsTest::parseRefuses()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, fault);
    try {
        parseTopic(json);
        QFAIL("accepted");
    } catch (const TopicError &error) {
        QVERIFY2(error.message().contains(fault), qPrintable(error.message()));
    }
}

QTEST_MAIN(TopicsTest)
#include "tst_topics.moc"
