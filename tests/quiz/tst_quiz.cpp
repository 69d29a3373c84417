// The quiz road: marking and scoring, score wording and reward clips, and the screens from the
// topic hub through the quiz to the results and wrong-answers screens.
#include "activities/activityscreen.h"
#include "quiz/multiple.h"
#include "rules/questionset.h"
#include "rules/results.h"
#include "rules/scoring.h"
#include "quiz/welldone.h"
#include "quiz/wrong.h"
#include "shell/intro0.h"
#include "rules/session.h"
#include "topics/topichub.h"
#include "topics/teacher.h"
#include "testsupport.h"
#include "quizfixture.h"

#include "platform/filechannel.h"
#include "platform/printer.h"

#include <QImage>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <set>

using namespace terravale;
using quizfixture::fileBytes;
using quizfixture::sampleSet;

namespace {
const QString kClick = u"wav\\click.wav"_qs;
const QString kTypekey = u"wav\\typekey.wav"_qs;
const QString kPrintProblem = u"There was a problem printing to your printer."_qs;

using Questions = QList<int>;

void click(Label &label)
{
    QVERIFY2(label.isVisible(), qPrintable(label.caption()));
    QTest::mouseClick(&label, Qt::LeftButton, {}, QPoint(5, 5));
}

void choose(multiple &quiz, int option)
{
    QRadioButton &button = quiz.Option1(option);
    QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(8, button.height() / 2));
    QVERIFY(button.isChecked());
}

QString lastClip(const test::DataFolder &data)
{
    return data.sounds->played.isEmpty() ? QString() : data.sounds->played.last();
}

bool startupDone(const Welldone &results)
{
    return !results.Timer1->isActive() && !results.Timer2->isActive() && !results.Timer3->isActive();
}

// Menu -> Rubbish hub with the given set in multiple/Rubbish.txt.
TopicHub &openRubbishHub(const test::DataFolder &data, const QuestionSet &set)
{
    data.write(u"multiple/Rubbish.txt"_qs, fileBytes(questionSetLines(set)));
    intro0 &menu = form<intro0>();
    menu.showInFront();
    click(menu.Label2(6));
    return topicHub(u"rubbish"_qs);
}

// A second set, told apart from the sample set by its texts and its key.
QuestionSet energySet()
{
    QuestionSet set = sampleSet(u"Energy set"_qs);
    for (int n = 1; n <= 10; ++n) {
        set.quest[n] = u"Energy question "_qs + QString::number(n);
        set.correct[n] = QString::number(4 - (n - 1) % 4);
    }
    return set;
}

// The hub of either topic with its question file written, shown in front.
TopicHub &shownHub(const test::DataFolder &data, bool resourcesHub, const QuestionSet &set)
{
    data.write(resourcesHub ? u"multiple/Resources.txt"_qs : u"multiple/Rubbish.txt"_qs, fileBytes(questionSetLines(set)));
    TopicHub &hub = resourcesHub ? static_cast<TopicHub &>(topicHub(u"resources"_qs)) : topicHub(u"rubbish"_qs);
    hub.showInFront();
    return hub;
}

// Answers the ten questions of the open quiz: right unless listed in `wrong`, none when `skip`.
void answerAll(const Questions &wrong, bool skip = false)
{
    for (int n = 1; n <= 10; ++n) {
        multiple &quiz = form<multiple>();
        QCOMPARE(quiz.Label4->caption(), u"Question"_qs + numText(n));
        if (!skip) {
            const int right = correctChoice(session().set.correct.at(n));
            choose(quiz, wrong.contains(n) ? right % 4 + 1 : right);
        }
        click(quiz.Label3(1));
    }
}
} // namespace

class QuizTest : public QObject {
    Q_OBJECT
private slots:
    void marking_data();
    void marking();
    void scoring_data();
    void scoring();
    void scoreWording_data();
    void scoreWording();
    void rewardClipTable_data();
    void rewardClipTable();
    void hubToResultsAndBack_data();
    void hubToResultsAndBack();
    void longChoicesAreWhole_data();
    void longChoicesAreWhole();
    void previousAndNext();
    void badCorrectFieldNeverMarksRight();
    void quizExitAndHover();
    void longTextsShrinkToFit();
    void printWorksheet_data();
    void printWorksheet();
    void resultsVariants_data();
    void resultsVariants();
    void startupTimers_data();
    void startupTimers();
    void hubDispatch_data();
    void hubDispatch();
    void hubRefusesBadQuestionFile_data();
    void hubRefusesBadQuestionFile();
    void resourcesPictureIsCentred();
    void shippedSetsOpen_data();
    void shippedSetsOpen();
    void closedResultsDoNotCarryOver_data();
    void closedResultsDoNotCarryOver();
    void leftQuizStartsAfresh_data();
    void leftQuizStartsAfresh();
    void choicesAreNotBackground();
};

void QuizTest::marking_data()
{
    QTest::addColumn<QString>("correct");
    QTest::addColumn<int>("selected");
    QTest::addColumn<int>("mark");
    QTest::newRow("1 chosen 1") << u"1"_qs << 1 << 1;
    QTest::newRow("4 chosen 4") << u"4"_qs << 4 << 1;
    QTest::newRow("3 chosen 2") << u"3"_qs << 2 << 0;
    QTest::newRow("nothing chosen") << u"2"_qs << 5 << 0;
    QTest::newRow("no button") << u"2"_qs << 0 << 0;
    QTest::newRow("field 5 with the empty choice") << u"5"_qs << 5 << 0;
    QTest::newRow("field 0 with no button") << u"0"_qs << 0 << 0;
    QTest::newRow("letter") << u"c"_qs << 3 << 0;
    QTest::newRow("empty field") << QString() << 0 << 0;
    QTest::newRow("blanks around a digit") << u" 2 "_qs << 2 << 1;
}

void QuizTest::marking()
{
    QFETCH(QString, correct);
    QFETCH(int, selected);
    QFETCH(int, mark);
    QCOMPARE(markQuestion(correct, selected), mark);
}

void QuizTest::scoring_data()
{
    QTest::addColumn<Questions>("wrong");
    QTest::addColumn<int>("score");
    QTest::newRow("all right") << Questions{} << 10;
    QTest::newRow("2 and 7 wrong") << Questions{2, 7} << 8;
    QTest::newRow("4 and 9 wrong") << Questions{4, 9} << 8;
    QTest::newRow("first and last wrong") << Questions{1, 10} << 8;
    QTest::newRow("all wrong") << Questions{1, 2, 3, 4, 5, 6, 7, 8, 9, 10} << 0;
}

void QuizTest::scoring()
{
    QFETCH(Questions, wrong);
    QFETCH(int, score);
    std::array<int, 11> gotright{};
    std::array<QString, 11> quest;
    for (int n = 1; n <= 10; ++n) {
        gotright[n] = wrong.contains(n) ? 0 : 1;
        quest[n] = u"Text of "_qs + QString::number(n);
    }
    gotright[0] = 1;   // index 0 is not a question
    const QuizResult result = scoreQuiz(gotright, quest);
    QCOMPARE(result.score, score);
    QCOMPARE(result.wrongLines.size(), wrong.size());
    for (int w = 0; w < wrong.size(); ++w)
        QCOMPARE(result.wrongLines.at(w), u" "_qs + QString::number(wrong.at(w)) + u". Text of "_qs + QString::number(wrong.at(w)));
}

void QuizTest::scoreWording_data()
{
    QTest::addColumn<int>("score");
    QTest::addColumn<int>("outof");
    QTest::addColumn<QString>("sentence");
    QTest::newRow("10 of 10") << 10 << 10 << u"Excellent work. You have scored 10 out of 10."_qs;
    QTest::newRow("9 of 10") << 9 << 10 << u"Good work. You have scored 9 out of 10."_qs;
    QTest::newRow("8 of 10") << 8 << 10 << u"Good work. You have scored 8 out of 10."_qs;
    QTest::newRow("7 of 10") << 7 << 10 << u"You have scored 7 out of 10."_qs;
    QTest::newRow("0 of 10") << 0 << 10 << u"You have scored 0 out of 10."_qs;
    QTest::newRow("activity 3 of 5") << 3 << 5 << u"Good work. You have scored 3 out of 5."_qs;
    QTest::newRow("activity 9 of 9") << 9 << 9 << u"Excellent work. You have scored 9 out of 9."_qs;
    QTest::newRow("activity 2 of 5") << 2 << 5 << u"You have scored 2 out of 5."_qs;
    QTest::newRow("nothing to score") << 0 << 0 << u"Excellent work. You have scored 0 out of 0."_qs;
}

void QuizTest::scoreWording()
{
    QFETCH(int, score);
    QFETCH(int, outof);
    QFETCH(QString, sentence);
    QCOMPARE(scoreSentence(score, outof), sentence);
}

void QuizTest::rewardClipTable_data()
{
    QTest::addColumn<int>("score");
    QTest::addColumn<QStringList>("clips");
    auto wav = [](std::initializer_list<const char *> names) {
        QStringList list;
        for (const char *name : names)
            list << u"wav\\"_qs + QString::fromLatin1(name) + u".wav"_qs;
        return list;
    };
    QTest::newRow("12") << 12 << wav({"halleluj"});
    QTest::newRow("11") << 11 << wav({"fanf4", "slot_payoff"});
    QTest::newRow("10") << 10 << wav({"fanf2", "fanf3"});
    QTest::newRow("9") << 9 << wav({"crowd", "cheer2", "klaxon"});
    QTest::newRow("8") << 8 << wav({"flute", "gong", "clap2"});
    QTest::newRow("7") << 7 << wav({"drumroll", "laser2", "whizz"});
    QTest::newRow("6") << 6 << wav({"clap3", "clown"});
    QTest::newRow("5") << 5 << QStringList();
    QTest::newRow("0") << 0 << QStringList();
    QTest::newRow("13") << 13 << QStringList();
    QTest::newRow("negative") << -1 << QStringList();
}

void QuizTest::rewardClipTable()
{
    QFETCH(int, score);
    QFETCH(QStringList, clips);
    QCOMPARE(rewardClips(score), clips);
    // Every position of the row is reachable, and the draw is asked for the row's length.
    for (int r = 0; r < clips.size(); ++r) {
        int asked = -1;
        QCOMPARE(pickRewardClip(score, [&](int count) { asked = count; return r; }), clips.at(r));
        QCOMPARE(asked, clips.size());
    }
    if (clips.isEmpty())
        QVERIFY(pickRewardClip(score, [](int) { return 0; }).isEmpty());
}

void QuizTest::hubToResultsAndBack_data()
{
    QTest::addColumn<Questions>("wrong");
    QTest::addColumn<bool>("skip");
    QTest::addColumn<int>("score");
    QTest::newRow("all right") << Questions{} << false << 10;
    QTest::newRow("2 and 7 wrong") << Questions{2, 7} << false << 8;
    QTest::newRow("odd ones wrong") << Questions{1, 3, 5, 7, 9} << false << 5;
    QTest::newRow("nothing chosen") << Questions{1, 2, 3, 4, 5, 6, 7, 8, 9, 10} << true << 0;
}

void QuizTest::hubToResultsAndBack()
{
    QFETCH(Questions, wrong);
    QFETCH(bool, skip);
    QFETCH(int, score);
    test::DataFolder data;
    auto printed = std::make_shared<RecordingPrinter>();
    setPrinter(printed);
    TopicHub &hub = openRubbishHub(data, sampleSet(u"Rubbish, bins & tips"_qs));
    QVERIFY(hub.isVisible());
    QCOMPARE(hub.Label1->caption(), u"Rubbish"_qs);

    click(hub.Label3(0));
    QVERIFY(isLoaded<multiple>());
    multiple &quiz = form<multiple>();
    QVERIFY(quiz.isVisible());
    QCOMPARE(quiz.Label5->caption(), u"Terravale"_qs);
    QCOMPARE(quiz.Label6->caption(), u"Rubbish, bins , tips"_qs);
    QCOMPARE(quiz.Label2->caption(), u"Question 1"_qs);
    QCOMPARE(quiz.Option1(3).text(), u"1C"_qs);
    QCOMPARE(session().outof, 10);

    answerAll(wrong, skip);
    QVERIFY(!isLoaded<multiple>());
    QVERIFY(isLoaded<Welldone>());
    Welldone &results = form<Welldone>();
    QVERIFY(results.isVisible());
    QCOMPARE(session().score, score);
    QCOMPARE(session().questno, 11);
    QCOMPARE(session().quiztitle, u"Terravale"_qs);
    QCOMPARE(results.Label1->caption(), scoreSentence(score, 10));
    QVERIFY(!results.Label6->isVisible());
    QVERIFY(results.Label3(0).isVisible());
    QCOMPARE(results.Label3(0).caption(), score == 10 ? u"Print Certificate"_qs : u"Check Wrong Answers"_qs);

    QVERIFY(isLoaded<Wrong>());
    Wrong &review = form<Wrong>();
    QVERIFY(!review.isVisible());
    QCOMPARE(review.Label6->caption(), u"Rubbish, bins , tips"_qs);
    for (int w = 0; w <= 9; ++w) {
        QCOMPARE(review.Label2(w).isVisibleTo(&review), w < wrong.size());
        if (w < wrong.size())
            QCOMPARE(review.Label2(w).caption(), numText(wrong.at(w)) + u". Question "_qs + QString::number(wrong.at(w)));
    }
    QCOMPARE(review.Label2(9).topTw(), 7080.0f);

    if (score == 10) {
        // The certificate prints with the quiz heading and the typed name; no click clip.
        const qsizetype clips = data.sounds->played.size();
        results.Text1->setText(u"Amy Lee"_qs);
        click(results.Label3(0));
        QCOMPARE(data.messages->shown, QStringList{u"Your certificate is now printing."_qs});
        QCOMPARE(data.sounds->played.size(), clips);
        QCOMPARE(printed->jobs.size(), 1);
        QStringList texts;
        for (const PrintOp &op : printed->jobs.first())
            texts << op.text;
        QVERIFY(texts.contains(u"Amy Lee"_qs));
        QCOMPARE(texts.count(u"Terravale"_qs), 2);   // product title and quiz heading
        QVERIFY(texts.contains(u"You have scored 10 out of 10."_qs));
        click(results.Label3(1));   // Exit
        QCOMPARE(lastClip(data), kClick);
    } else {
        click(results.Label3(0));
        QVERIFY(review.isVisible());
        QCOMPARE(lastClip(data), kClick);
        const qsizetype clips = data.sounds->played.size();
        click(review.Label3(1));   // Exit: both close, silently
        QCOMPARE(data.sounds->played.size(), clips);
    }
    QVERIFY(!isLoaded<Welldone>());
    QVERIFY(!isLoaded<Wrong>());
    QVERIFY(loadedTopicHub(u"rubbish"_qs));
    QVERIFY(data.messages->shown.size() <= 1);
    QCOMPARE(data.sounds->played.count(kTypekey), skip ? 0 : 10);

    // A second run reads the file again and starts clean.
    data.write(u"multiple/Rubbish.txt"_qs, fileBytes(questionSetLines(sampleSet(u"Second"_qs))));
    click(hub.Label3(0));
    QCOMPARE(form<multiple>().Label6->caption(), u"Second"_qs);
    QCOMPARE(session().score, 0);
    QCOMPARE(session().questno, 1);
}

void QuizTest::longChoicesAreWhole_data()
{
    QTest::addColumn<QString>("choice");
    // Lengths up to the wizard's 30 characters, so the fitted sizes fall on every step.
    for (int n = 16; n <= 30; ++n) {
        QTest::newRow(qPrintable(QStringLiteral("W x %1").arg(n))) << QString(n, u'W');
        QTest::newRow(qPrintable(QStringLiteral("m x %1").arg(n))) << QString(n, u'm');
    }
    QTest::newRow("words") << u"Wind, water and the sun's heat"_qs;
    QTest::newRow("short") << u"Oak"_qs;
}

void QuizTest::longChoicesAreWhole()
{
    // The widest choice the wizard allows is shown whole beside the indicator.
    QFETCH(QString, choice);
    test::DataFolder data;
    QuestionSet set = sampleSet();
    set.answera[1] = set.answerb[1] = set.answerc[1] = set.answerd[1] = choice;
    set.answerd[1] += u"?"_qs;   // choices of a question differ
    click(openRubbishHub(data, set).Label3(0));
    multiple &quiz = form<multiple>();
    for (int i = 1; i <= 4; ++i) {
        const QRadioButton &option = quiz.Option1(i);
        QVERIFY2(option.sizeHint().width() <= option.width(),
                 qPrintable(QStringLiteral("%1: needs %2, has %3").arg(i).arg(option.sizeHint().width()).arg(option.width())));
        QVERIFY(QFontInfo(option.font()).pixelSize() >= 12);   // still readable
    }
}

void QuizTest::previousAndNext()
{
    test::DataFolder data;
    click(openRubbishHub(data, sampleSet()).Label3(0));
    multiple &quiz = form<multiple>();
    auto previousShown = [&] { return quiz.Label3(0).isVisible(); };

    QVERIFY(!previousShown());
    QCOMPARE(quiz.Label3(1).caption(), u"Next Question >>"_qs);
    QVERIFY(quiz.Option1(5).isChecked());
    for (int n = 1; n <= 3; ++n) {
        choose(quiz, correctChoice(session().set.correct.at(n)));
        click(quiz.Label3(1));
    }
    // Question 4 right, on to 5, back to 4: no choice shown; leaving it empty marks it 0.
    choose(quiz, correctChoice(session().set.correct.at(4)));
    click(quiz.Label3(1));
    QCOMPARE(session().gotright.at(4), 1);
    QVERIFY(previousShown());
    click(quiz.Label3(0));
    QCOMPARE(quiz.Label4->caption(), u"Question 4"_qs);
    QVERIFY(quiz.Option1(5).isChecked());
    for (int i = 1; i <= 4; ++i)
        QVERIFY(!quiz.Option1(i).isChecked());
    QCOMPARE(session().gotright.at(4), 1);   // going back leaves the mark alone
    click(quiz.Label3(1));
    QCOMPARE(session().gotright.at(4), 0);

    while (session().questno < 10)
        click(quiz.Label3(1));
    QCOMPARE(quiz.Label3(1).caption(), u"Check Score >>"_qs);
    QVERIFY(previousShown());
    click(quiz.Label3(0));
    QCOMPARE(quiz.Label4->caption(), u"Question 9"_qs);
    QCOMPARE(quiz.Label3(1).caption(), u"Next Question >>"_qs);
    while (session().questno > 1)
        click(quiz.Label3(0));
    QVERIFY(!previousShown());

    // The empty choice hides under the picture, which is drawn over it.
    const QRect hidden = quiz.Option1(5).geometry();
    QVERIFY(quiz.Picture1->geometry().contains(hidden));
    QCOMPARE(quiz.Picture1->geometry(), QRect(456, 16, 320, 108));
    QCOMPARE(quiz.childAt(hidden.center()), quiz.Picture1);
    QVERIFY(!quiz.Option1(5).isHidden());
    // Selecting a choice plays the key tap; showing a question does not.
    QCOMPARE(data.sounds->played.count(kTypekey), 4);
}

void QuizTest::badCorrectFieldNeverMarksRight()
{
    // A set whose quiz could not be won is damaged: the hub refuses it and no quiz opens.
    test::DataFolder data;
    QuestionSet set = sampleSet();
    set.correct[3] = u"x"_qs;
    set.correct[6] = u"7"_qs;
    set.correct[8] = QString();
    click(openRubbishHub(data, set).Label3(0));
    QCOMPARE(data.messages->shown, QStringList{u"The questions for this topic could not be loaded."_qs});
    QVERIFY(!isLoaded<multiple>());
}

void QuizTest::quizExitAndHover()
{
    {
        // Hover alone: the only window, so the pointer meets nothing else.
        test::DataFolder data;
        session().set = sampleSet();
        multiple &quiz = form<multiple>();
        quiz.show();
        QVERIFY(quiz.Label3(2).isOpaque());
        QTest::mouseMove(&quiz, QPoint(790, 590));
        for (int i = 0; i <= 3; ++i)
            QVERIFY(!quiz.Label3(i).isOpaque());
        QTest::mouseMove(&quiz.Label3(3), QPoint(5, 5));
        QVERIFY(quiz.Label3(3).isOpaque());
        QVERIFY(!quiz.Label3(1).isOpaque());
    }
    test::DataFolder data;
    TopicHub &hub = openRubbishHub(data, sampleSet());
    click(hub.Label3(0));
    click(form<multiple>().Label3(2));
    QVERIFY(!isLoaded<multiple>());
    QVERIFY(hub.isVisible());
    QCOMPARE(lastClip(data), kClick);
}

void QuizTest::longTextsShrinkToFit()
{
    test::DataFolder data;
    QuestionSet set = sampleSet();
    set.quest[2] = u"Which of these things, found in the kitchen bin at home after a family meal, can go into "
                   "the green glass bank at the supermarket car park on the way to school?"_qs;
    set.answerb[2] = u"The green bank at the supermarket car park, next to the paper bank"_qs;
    session().set = set;
    multiple &quiz = form<multiple>();
    quiz.show();
    QCOMPARE(quiz.Label2->font().pixelSize(), 40);          // 30 pt as designed
    QCOMPARE(quiz.Option1(2).font().pixelSize(), 27);       // 20.25 pt as designed
    click(quiz.Label3(1));
    QVERIFY(quiz.Label2->font().pixelSize() < 40);
    const QRect needed = QFontMetrics(quiz.Label2->font())
                             .boundingRect(QRect(0, 0, quiz.Label2->width(), 10000), Qt::TextWordWrap, set.quest[2]);
    QVERIFY(needed.height() <= quiz.Label2->height());
    QVERIFY(quiz.Option1(2).font().pixelSize() < 27);
    QVERIFY(QFontMetrics(quiz.Option1(2).font()).horizontalAdvance(set.answerb[2]) < quiz.Option1(2).width() - 20);
    QCOMPARE(quiz.Option1(1).font().pixelSize(), 27);
    click(quiz.Label3(0));                                   // short texts get the design size back
    QCOMPARE(quiz.Label2->font().pixelSize(), 40);
    QCOMPARE(quiz.Option1(2).font().pixelSize(), 27);

    // The wrong-answers line of the long question stays inside the screen.
    for (int n = 1; n <= 10; ++n)
        click(quiz.Label3(1));
    const Label &line = form<Wrong>().Label2(1);
    QCOMPARE(line.caption(), u" 2. "_qs + set.quest[2]);
    QVERIFY(line.x() + line.width() <= 800);
    const QRect lineNeeds = QFontMetrics(line.font()).boundingRect(QRect(0, 0, line.width(), 10000), Qt::TextWordWrap, line.caption());
    QVERIFY(lineNeeds.height() <= line.height() && lineNeeds.width() <= line.width());
    QCOMPARE(form<Wrong>().Label2(0).font().pixelSize(), 21);   // 15.75 pt as designed
}

void QuizTest::printWorksheet_data()
{
    QTest::addColumn<bool>("printerThere");
    QTest::newRow("printer") << true;
    QTest::newRow("no printer") << false;
}

void QuizTest::printWorksheet()
{
    QFETCH(bool, printerThere);
    test::DataFolder data;
    auto printed = std::make_shared<RecordingPrinter>();
    printed->noPrinter = !printerThere;
    setPrinter(printed);
    click(openRubbishHub(data, sampleSet()).Label3(0));
    click(form<multiple>().Label3(3));
    QCOMPARE(data.messages->shown, QStringList{printerThere ? u"Your worksheet is now printing."_qs : kPrintProblem});
    QCOMPARE(printed->jobs.size(), printerThere ? 1 : 0);
    if (printerThere) {
        QStringList texts;
        for (const PrintOp &op : printed->jobs.first())
            texts << op.text;
        QVERIFY(texts.contains(u"Sample set"_qs));
        QVERIFY(texts.contains(u"Question 10    Question 10"_qs));
    }
    QVERIFY(isLoaded<multiple>());
    QCOMPARE(session().questno, 1);
    QCOMPARE(lastClip(data), kClick);
    setPrinter(std::make_shared<RecordingPrinter>());
}

void QuizTest::resultsVariants_data()
{
    QTest::addColumn<bool>("fromQuiz");
    QTest::addColumn<int>("score");
    QTest::addColumn<int>("outof");
    QTest::addColumn<QString>("button");      // empty: no first button
    QTest::addColumn<bool>("hint");           // Label5 shown
    QTest::addColumn<bool>("tryAgain");       // Label6 shown
    QTest::addColumn<bool>("nameBox");        // Text1 and Label2 shown

    const QString cert = u"Print Certificate"_qs, check = u"Check Wrong Answers"_qs;
    QTest::newRow("quiz 10/10") << true << 10 << 10 << cert << true << false << true;
    QTest::newRow("quiz 9/10") << true << 9 << 10 << check << true << false << false;
    QTest::newRow("quiz 3/10") << true << 3 << 10 << check << true << false << false;
    QTest::newRow("activity 9/9") << false << 9 << 9 << cert << false << false << true;
    QTest::newRow("activity 3/5") << false << 3 << 5 << QString() << false << true << false;
    QTest::newRow("activity 1/5") << false << 1 << 5 << QString() << false << true << false;
}

void QuizTest::resultsVariants()
{
    QFETCH(bool, fromQuiz);
    QFETCH(int, score);
    QFETCH(int, outof);
    QFETCH(QString, button);
    QFETCH(bool, hint);
    QFETCH(bool, tryAgain);
    QFETCH(bool, nameBox);
    test::DataFolder data;
    if (fromQuiz) {
        click(openRubbishHub(data, sampleSet()).Label3(0));
        Questions wrong;
        for (int n = score + 1; n <= 10; ++n)
            wrong << n;
        answerAll(wrong);
    } else {
        session().soundon = 1;
        session().score = score;
        session().outof = outof;
        form<Welldone>().showInFront();
    }
    Welldone &results = form<Welldone>();
    QCOMPARE(results.Label1->caption(), scoreSentence(score, outof));
    QCOMPARE(results.Label3(0).isVisible(), !button.isEmpty());
    if (!button.isEmpty())
        QCOMPARE(results.Label3(0).caption(), button);
    QCOMPARE(results.Label5->isVisible(), hint);
    if (hint)
        QCOMPARE(results.Label5->caption(), score == outof ? QString() : u"Click the button above to check which questions you answered incorrectly."_qs);
    QCOMPARE(results.Label6->isVisible(), tryAgain);
    QCOMPARE(results.Text1->isVisible(), nameBox);
    QCOMPARE(results.Label2->isVisible(), nameBox);
    QCOMPARE(results.Text1->maxLength(), 25);
    QVERIFY(results.Label3(1).isVisible());

    click(results.Label3(1));
    QVERIFY(!isLoaded<Welldone>());
    QCOMPARE(lastClip(data), kClick);
}

void QuizTest::startupTimers_data()
{
    QTest::addColumn<int>("score");
    QTest::addColumn<int>("outof");
    QTest::addColumn<int>("soundon");
    QTest::addColumn<QStringList>("row");   // the clip played is one of these; empty: none
    QTest::newRow("10/10") << 10 << 10 << 1 << rewardClips(10);
    QTest::newRow("7/10") << 7 << 10 << 1 << rewardClips(7);
    QTest::newRow("5/10") << 5 << 10 << 1 << QStringList();
    QTest::newRow("10/10 sound off") << 10 << 10 << 0 << QStringList();
    QTest::newRow("activity 9/9") << 9 << 9 << 1 << rewardClips(9);
    QTest::newRow("activity 12/12") << 12 << 12 << 1 << rewardClips(12);
}

void QuizTest::startupTimers()
{
    QFETCH(int, score);
    QFETCH(int, outof);
    QFETCH(int, soundon);
    QFETCH(QStringList, row);
    test::DataFolder data;
    session().score = score;
    session().outof = outof;
    session().soundon = soundon;
    Welldone &results = form<Welldone>();
    QCOMPARE(results.Timer1->interval(), 1);
    QCOMPARE(results.Timer2->interval(), 10);
    QCOMPARE(results.Timer3->interval(), 1);
    QVERIFY(results.Timer1->isActive());
    QVERIFY(!results.Timer2->isActive() && !results.Timer3->isActive());
    QVERIFY(data.sounds->played.isEmpty());   // nothing plays before the sequence runs
    results.showInFront();
    QTRY_VERIFY(startupDone(results));
    if (row.isEmpty()) {
        QTest::qWait(50);
        QVERIFY(data.sounds->played.isEmpty());
    } else {
        QTRY_COMPARE(data.sounds->played.size(), 1);
        QVERIFY2(row.contains(data.sounds->played.first()), qPrintable(data.sounds->played.first()));
    }
    QVERIFY(results.Label3(0).isOpaque() && results.Label3(1).isOpaque());
}

void QuizTest::hubDispatch_data()
{
    QTest::addColumn<bool>("resourcesHub");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("numpages");
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<QString>("opens");   // the screen shown over the hub
    QTest::newRow("rubbish labelling") << false << 1 << 0 << QString() << u"rubbishlab"_qs;
    QTest::newRow("rubbish ordering") << false << 3 << 0 << QString() << u"rubbishord"_qs;
    QTest::newRow("rubbish key facts") << false << 4 << 2 << u"key rubbish"_qs << u"teacher"_qs;
    QTest::newRow("rubbish notes") << false << 5 << 2 << u"rubbish"_qs << u"teacher"_qs;
    QTest::newRow("resources labelling") << true << 1 << 0 << QString() << u"resourceslab"_qs;
    QTest::newRow("resources ordering") << true << 3 << 0 << QString() << u"resourcesord"_qs;
    QTest::newRow("resources key facts") << true << 4 << 5 << u"key resources"_qs << u"teacher"_qs;
    QTest::newRow("resources notes") << true << 5 << 1 << u"resources"_qs << u"teacher"_qs;
    QTest::newRow("rubbish exit") << false << 2 << 0 << QString() << QString();
    QTest::newRow("resources exit") << true << 2 << 0 << QString() << QString();
}

void QuizTest::hubDispatch()
{
    QFETCH(bool, resourcesHub);
    QFETCH(int, index);
    QFETCH(int, numpages);
    QFETCH(QString, prefix);
    QFETCH(QString, opens);
    test::DataFolder data;
    intro0 &menu = form<intro0>();
    menu.showInFront();
    click(menu.Label2(resourcesHub ? 15 : 6));
    TopicHub *hub = resourcesHub ? static_cast<TopicHub *>(loadedTopicHub(u"resources"_qs)) : loadedTopicHub(u"rubbish"_qs);
    QVERIFY(hub);
    QCOMPARE(hub->Label1->caption(), resourcesHub ? u"Resources"_qs : u"Rubbish"_qs);
    QCOMPARE(hub->formName(), resourcesHub ? u"resources"_qs : u"rubbish"_qs);
    const int screens = loadedFormCount();
    data.sounds->played.clear();

    click(hub->Label3(index));
    QCOMPARE(data.sounds->played, QStringList{kClick});
    QCOMPARE(session().numpages, numpages);
    QCOMPARE(session().pageprefix, prefix);
    if (index == 2) {
        QVERIFY(!loadedTopicHub(resourcesHub ? u"resources"_qs : u"rubbish"_qs));
        QVERIFY(menu.isVisible());
        QCOMPARE(session().soundon, 1);
    } else if (!opens.isEmpty()) {
        QCOMPARE(loadedFormCount(), screens + 1);
        const auto windows = QApplication::topLevelWidgets();
        const auto it = std::find_if(windows.begin(), windows.end(),
                                     [&](QWidget *w) { return w->objectName() == opens && w->isVisible(); });
        QVERIFY2(it != windows.end(), qPrintable(opens));
        if (auto *viewer = dynamic_cast<teacher *>(*it)) {
            // The viewer read numpages at its load: its caption and navigation follow it.
            QCOMPARE(viewer->Label1->caption(), pageCaption(1, numpages));
            QCOMPARE(viewer->Label3(2).isVisible(), numpages > 1);
            QCOMPARE(session().pagenum, 1);
        } else {
            auto *activity = dynamic_cast<ActivityScreen *>(*it);
            QVERIFY(activity);
            QCOMPARE(activity->Label6->caption(), hub->Label1->caption());
        }
        QVERIFY(hub->isVisible());
    } else {
        QVERIFY(hub->isVisible());
    }
}

void QuizTest::hubRefusesBadQuestionFile_data()
{
    QTest::addColumn<QByteArray>("bytes");   // empty with `missing`: no file at all
    QTest::addColumn<bool>("missing");
    const QByteArray full = fileBytes(questionSetLines(sampleSet(u"Bad"_qs)));
    QTest::newRow("missing") << QByteArray() << true;
    QTest::newRow("empty") << QByteArray() << false;
    QTest::newRow("ends after 40 lines") << fileBytes(questionSetLines(sampleSet(u"Bad"_qs)).mid(0, 40)) << false;
    QTest::newRow("one line short") << full.left(full.lastIndexOf("\r\n", full.size() - 3) + 2) << false;
    QTest::newRow("binary garbage") << QByteArray("\x00\x01\xff\xfe PK\x03\x04", 10) << false;
}

void QuizTest::hubRefusesBadQuestionFile()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, missing);
    test::DataFolder data;
    const QuestionSet before = sampleSet(u"Loaded before"_qs);
    session().set = before;
    TopicHub &hub = openRubbishHub(data, sampleSet());
    if (missing)
        data.remove(u"multiple/Rubbish.txt"_qs);
    else
        data.write(u"multiple/Rubbish.txt"_qs, bytes);
    data.sounds->played.clear();

    click(hub.Label3(0));
    QCOMPARE(data.messages->shown, QStringList{u"The questions for this topic could not be loaded."_qs});
    QVERIFY(!isLoaded<multiple>());
    QVERIFY(session().set == before);
    QVERIFY(!fileChannel().isOpen());
    QCOMPARE(data.sounds->played, QStringList{kClick});
    QVERIFY(hub.isVisible());

    // Mended, the same button opens the quiz.
    data.write(u"multiple/Rubbish.txt"_qs, fileBytes(questionSetLines(sampleSet(u"Mended"_qs))));
    click(hub.Label3(0));
    QVERIFY(isLoaded<multiple>());
    QCOMPARE(form<multiple>().Label6->caption(), u"Mended"_qs);
}

void QuizTest::resourcesPictureIsCentred()
{
    test::DataFolder data;
    QImage picture(200, 90, QImage::Format_RGB32);
    picture.fill(Qt::darkGreen);
    QVERIFY(picture.save(data.file(u"Images/windfarm.jpg"_qs), "JPG"));
    QVERIFY(picture.save(data.file(u"Images/bottlebankbig.jpg"_qs), "JPG"));
    // The Resources picture has a border, so the control is a little larger than the picture.
    const QRect centred = topicHub(u"resources"_qs).Image1->geometry();
    QVERIFY(centred.width() >= 200 && centred.width() <= 204);
    QVERIFY(qAbs(centred.x() - (800 - centred.width()) / 2) <= 1);
    QCOMPARE(centred.y(), 84);
    QCOMPARE(topicHub(u"rubbish"_qs).Image1->geometry(), QRect(56, 48, 200, 90));
}

void QuizTest::shippedSetsOpen_data()
{
    QTest::addColumn<int>("menuEntry");
    QTest::addColumn<QString>("quizPicture");
    QTest::newRow("Rubbish") << 6 << u"images\\incineratorsm.jpg"_qs;
    QTest::newRow("Resources") << 15 << u"images\\windfarmsm.jpg"_qs;
}

void QuizTest::shippedSetsOpen()
{
    QFETCH(int, menuEntry);
    QFETCH(QString, quizPicture);
    test::DataFolder data;
    intro0 &menu = form<intro0>();
    menu.showInFront();
    click(menu.Label2(menuEntry));
    TopicHub *hub = menuEntry == 6 ? static_cast<TopicHub *>(loadedTopicHub(u"rubbish"_qs)) : loadedTopicHub(u"resources"_qs);
    QVERIFY(hub->Image1->picture());
    click(hub->Label3(0));
    QVERIFY2(data.messages->shown.isEmpty(), qPrintable(data.messages->shown.join(u'|')));
    multiple &quiz = form<multiple>();
    QCOMPARE(quiz.Picture1->fileName(), quizPicture);
    QVERIFY(quiz.Picture1->picture());
    QCOMPARE(quiz.Label6->caption(), hub->Label1->caption());
    for (int n = 1; n <= 10; ++n) {
        QVERIFY2(correctChoice(session().set.correct.at(n)) != 0, qPrintable(session().set.correct.at(n)));
        QVERIFY(!session().set.quest.at(n).isEmpty());
        QVERIFY(!session().set.answerd.at(n).isEmpty());
        QVERIFY(!session().set.quest.at(n).contains(u'&'));
    }
}

void QuizTest::closedResultsDoNotCarryOver_data()
{
    QTest::addColumn<bool>("closeWrongAnswers");   // else the results screen is closed
    QTest::addColumn<Questions>("firstWrong");
    QTest::addColumn<Questions>("nextWrong");
    QTest::newRow("results closed, then full marks") << false << Questions{2, 4, 6, 8, 10} << Questions{};
    QTest::newRow("results closed after full marks, then two wrong") << false << Questions{} << Questions{3, 9};
    QTest::newRow("wrong answers closed, then one wrong") << true << Questions{1, 2, 5, 7} << Questions{6};
    QTest::newRow("wrong answers closed, then full marks") << true << Questions{10} << Questions{};
}

void QuizTest::closedResultsDoNotCarryOver()
{
    QFETCH(bool, closeWrongAnswers);
    QFETCH(Questions, firstWrong);
    QFETCH(Questions, nextWrong);
    test::DataFolder data;
    auto printed = std::make_shared<RecordingPrinter>();
    setPrinter(printed);
    TopicHub &hub = openRubbishHub(data, sampleSet());

    click(hub.Label3(0));
    answerAll(firstWrong);
    if (closeWrongAnswers) {
        click(form<Welldone>().Label3(0));
        QVERIFY(form<Wrong>().isVisible());
        form<Wrong>().close();   // the title bar's close button, or Alt+F4
    } else {
        form<Welldone>().close();
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!isLoaded<Welldone>());
    QVERIFY(!isLoaded<Wrong>());
    QVERIFY(hub.isVisible());

    click(hub.Label3(0));
    answerAll(nextWrong);
    const int score = 10 - int(nextWrong.size());
    Welldone &results = form<Welldone>();
    QCOMPARE(session().score, score);
    QCOMPARE(results.Label1->caption(), scoreSentence(score, 10));
    QCOMPARE(results.Label3(0).caption(), score == 10 ? u"Print Certificate"_qs : u"Check Wrong Answers"_qs);
    click(results.Label3(0));
    if (score == 10) {
        QCOMPARE(printed->jobs.size(), 1);
        QVERIFY(!isLoaded<Wrong>() || !form<Wrong>().isVisible());
    } else {
        QCOMPARE(printed->jobs.size(), 0);
        Wrong &review = form<Wrong>();
        QVERIFY(review.isVisible());
        for (int w = 0; w <= 9; ++w) {
            QCOMPARE(review.Label2(w).isVisibleTo(&review), w < nextWrong.size());
            if (w < nextWrong.size())
                QCOMPARE(review.Label2(w).caption(), numText(nextWrong.at(w)) + u". Question "_qs + QString::number(nextWrong.at(w)));
        }
    }
    setPrinter(std::make_shared<RecordingPrinter>());
}

void QuizTest::leftQuizStartsAfresh_data()
{
    QTest::addColumn<bool>("minimise");        // else closed from the title bar
    QTest::addColumn<bool>("otherHub");        // Multiple Choice pressed on the other topic's hub
    QTest::newRow("closed, same hub") << false << false;
    QTest::newRow("closed, other hub") << false << true;
    QTest::newRow("minimised, same hub") << true << false;
    QTest::newRow("minimised, other hub") << true << true;
}

void QuizTest::leftQuizStartsAfresh()
{
    QFETCH(bool, minimise);
    QFETCH(bool, otherHub);
    test::DataFolder data;
    const QuestionSet energy = energySet();
    shownHub(data, true, energy);
    TopicHub &rubbishHub = shownHub(data, false, sampleSet(u"Bins"_qs));

    // Four questions answered, then the quiz is left at question 5.
    click(rubbishHub.Label3(0));
    multiple *quiz = &form<multiple>();
    for (int n = 1; n <= 4; ++n) {
        choose(*quiz, correctChoice(session().set.correct.at(n)));
        click(quiz->Label3(1));
    }
    QCOMPARE(quiz->Label4->caption(), u"Question 5"_qs);
    if (minimise) {
        quiz->showMinimized();
        QTRY_VERIFY(quiz->isMinimized());
    } else {
        quiz->close();
    }

    TopicHub &hub = otherHub ? static_cast<TopicHub &>(*loadedTopicHub(u"resources"_qs)) : rubbishHub;
    hub.showInFront();
    click(hub.Label3(0));
    quiz = &form<multiple>();
    QVERIFY(quiz->isVisible());
    QVERIFY(!quiz->isMinimized());
    QCOMPARE(quiz->Label4->caption(), u"Question 1"_qs);
    QCOMPARE(quiz->Label6->caption(), otherHub ? u"Energy set"_qs : u"Bins"_qs);
    QCOMPARE(quiz->Label2->caption(), otherHub ? u"Energy question 1"_qs : u"Question 1"_qs);
    QCOMPARE(quiz->Picture1->fileName(), otherHub ? u"images\\windfarmsm.jpg"_qs : u"images\\incineratorsm.jpg"_qs);
    QCOMPARE(session().score, 0);
    QCOMPARE(session().questno, 1);

    // Every question of the new run marked afresh: all right is full marks.
    answerAll({});
    QCOMPARE(session().score, 10);
    QCOMPARE(form<Welldone>().Label1->caption(), u"Excellent work. You have scored 10 out of 10."_qs);
}

void QuizTest::choicesAreNotBackground()
{
    test::DataFolder data;
    session().set = sampleSet();
    multiple &quiz = form<multiple>();
    quiz.showInFront();
    QVERIFY(QTest::qWaitForWindowExposed(&quiz));
    QWindow *window = quiz.windowHandle();
    QTest::mouseMove(window, QPoint(790, 590));
    QTest::mouseMove(window, quiz.Label3(1).geometry().center());
    QTest::mouseMove(window, quiz.Label3(3).geometry().center());
    for (int i = 1; i <= 4; ++i) {
        QTest::mouseMove(window, quiz.Option1(i).geometry().center());
        QVERIFY2(quiz.Label3(1).isOpaque() && quiz.Label3(3).isOpaque(), qPrintable(QString::number(i)));
    }
    QTest::mouseMove(window, QPoint(790, 590));
    QVERIFY(!quiz.Label3(1).isOpaque() && !quiz.Label3(3).isOpaque());
}

QTEST_MAIN(QuizTest)
#include "tst_quiz.moc"
