// Title screen, main menu, standard frame, hover rule and the sound gate.
#include "activities/activityscreen.h"
#include "rules/topictable.h"
#include "platform/screen.h"
#include "quiz/multiple.h"
#include "quiz/welldone.h"
#include "quiz/wrong.h"
#include "shell/frame.h"
#include "shell/grey.h"
#include "shell/intro0.h"
#include "rules/session.h"
#include "shell/sound.h"
#include "shell/titlefrm.h"
#include "testsupport.h"
#include "topics/guide.h"
#include "topics/topichub.h"
#include "topics/teacher.h"
#include "worksheets/wizard.h"
#include "worksheets/worksheets.h"

#include "platform/filechannel.h"

#include <QApplication>
#include <QDialog>
#include <QWindow>
#include <functional>

#include <QPushButton>
#include <QTimer>
#include <QRadioButton>
#include <QTest>

using namespace terravale;

namespace {
const QString kClick = u"wav\\click.wav"_qs;

QByteArray catalogue(int count, int titles)
{
    QByteArray bytes = ' ' + QByteArray::number(count) + " \r\n";
    for (int i = 1; i <= titles; ++i)
        bytes += "Sheet " + QByteArray::number(i) + "\r\n";
    return bytes;
}

// Every label of an activity dropped into its own box.
void completeActivity(ActivityScreen &activity)
{
    for (const auto &[i, label] : activity.Label2.items()) {
        const Label &box = activity.Label1(i);
        activity.Label2_MouseMove(i, 1, box.leftTw() - label->leftTw() + label->widthTw() / 2,
                                  box.topTw() - label->topTw() + label->heightTw() / 2);
        activity.Label2_MouseUp(i);
    }
}

// A screen reached the way a pupil or teacher reaches it, and a press of its own Exit.
struct Road {
    const char *name;
    std::function<Screen &()> reach;
    std::function<void(Screen &)> pressExit;   // empty: the screen has no Exit
};

intro0 &menuAfterOk()
{
    form<Titlefrm>().Command1_Click();
    return *loadedForm<intro0>();
}

TopicHub &hub(bool resourcesHub)
{
    menuAfterOk().Label2_Click(resourcesHub ? 15 : 6);
    return resourcesHub ? static_cast<TopicHub &>(*loadedTopicHub(u"resources"_qs)) : *loadedTopicHub(u"rubbish"_qs);
}

Welldone &quizResults()
{
    hub(false).Label3_Click(0);
    for (int n = 1; n <= 10; ++n)
        loadedForm<multiple>()->Label3_Click(1);   // nothing chosen: 0 out of 10
    return *loadedForm<Welldone>();
}

const std::vector<Road> &roads()
{
    static const std::vector<Road> all{
        {"menu", [] () -> Screen & { return menuAfterOk(); },
         [](Screen &s) { static_cast<intro0 &>(s).Label2_Click(16); }},
        {"rubbish hub", [] () -> Screen & { return hub(false); },
         [](Screen &s) { static_cast<TopicHub &>(s).Label3_Click(2); }},
        {"resources hub", [] () -> Screen & { return hub(true); },
         [](Screen &s) { static_cast<TopicHub &>(s).Label3_Click(2); }},
        {"quiz", [] () -> Screen & { hub(false).Label3_Click(0); return *loadedForm<multiple>(); },
         [](Screen &s) { static_cast<multiple &>(s).Label3_Click(2); }},
        {"quiz results", [] () -> Screen & { return quizResults(); },
         [](Screen &s) { static_cast<Welldone &>(s).Label3_Click(1); }},
        {"wrong answers", [] () -> Screen & { quizResults().Label3_Click(0); return *loadedForm<Wrong>(); },
         [](Screen &s) { static_cast<Wrong &>(s).Label3_Click(1); }},
        {"key facts", [] () -> Screen & { hub(true).Label3_Click(4); return *loadedForm<teacher>(); },
         [](Screen &s) { static_cast<teacher &>(s).Label3_Click(1); }},
        {"acknowledgments", [] () -> Screen & { menuAfterOk().Label2_Click(19); return *loadedForm<teacher>(); },
         [](Screen &s) { static_cast<teacher &>(s).Label3_Click(1); }},
        {"guide", [] () -> Screen & { menuAfterOk().Label2_Click(20); return *loadedForm<guide>(); },
         [](Screen &s) { static_cast<guide &>(s).Label3_Click(1); }},
        {"wizard", [] () -> Screen & { menuAfterOk().Label2_Click(17); return *loadedForm<wizard>(); },
         [](Screen &s) { static_cast<wizard &>(s).Label3_Click(0); }},
        {"catalogue", [] () -> Screen & { menuAfterOk().Label2_Click(18); return *loadedForm<worksheets>(); },
         [](Screen &s) { static_cast<worksheets &>(s).Label2_Click(0); }},
        {"activity", [] () -> Screen & { hub(false).Label3_Click(3); return *loadedActivity(u"rubbishord"_qs); },
         [](Screen &s) { static_cast<ActivityScreen &>(s).Label3_Click(0); }},
        {"activity results",
         [] () -> Screen & {
             hub(false).Label3_Click(1);
             completeActivity(*loadedActivity(u"rubbishlab"_qs));
             loadedActivity(u"rubbishlab"_qs)->Label3_Click(2);
             return *loadedForm<Welldone>();
         },
         [](Screen &s) { static_cast<Welldone &>(s).Label3_Click(1); }},
        {"backdrop", [] () -> Screen & { menuAfterOk(); return *loadedForm<Grey>(); }, {}},
    };
    return all;
}

// What the pupil is left with: the screens still loaded and whether each shows, the title
// screen's first caption, the score hand-over and the clips asked for since `clipsBefore`.
QStringList aftermath(const test::DataFolder &data, qsizetype clipsBefore)
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QStringList state;
    for (QWidget *window : QApplication::topLevelWidgets())
        if (auto *screen = qobject_cast<Screen *>(window))
            state << screen->formName() + (screen->isVisible() ? u" shown"_qs : u" hidden"_qs);
    state.sort();
    if (Titlefrm *title = loadedForm<Titlefrm>())
        state << u"title button "_qs + title->Command1->text();
    state << u"score %1 of %2"_qs.arg(session().score).arg(session().outof);
    state << data.sounds->played.mid(clipsBefore);
    return state;
}
} // namespace

class ShellTest : public QObject {
    Q_OBJECT
private slots:
    void numberText_data();
    void numberText();
    void titleScreenLoads();
    void titleScreenRecoversWithoutPicture();
    void firstExitIsSilentOkIsHeard();
    void menuHasItsEntries_data();
    void menuHasItsEntries();
    void menuHoverRule();
    void soundSwitch();
    void menuExitAndCancelReturnToSameMenu();
    void catalogueRead_data();
    void catalogueRead();
    void setupformFramesAnyScreen();
    void closeRequestIsTheScreensExit_data();
    void closeRequestIsTheScreensExit();
    void showInFrontRestoresMinimised_data();
    void showInFrontRestoresMinimised();
    void soundOptionsAreNotBackground();
    void screenWithMessageStays();
    void lastScreenLeavingRestoresMinimised();
    void coveredScreenTakesNoClick_data();
    void coveredScreenTakesNoClick();
    void movedScreenGoesBack_data();
    void movedScreenGoesBack();
};

void ShellTest::numberText_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << 0 << u" 0"_qs;
    QTest::newRow("three") << 3 << u" 3"_qs;
    QTest::newRow("ten") << 10 << u" 10"_qs;
    QTest::newRow("negative has no blank") << -2 << u"-2"_qs;
}

void ShellTest::numberText()
{
    QFETCH(int, number);
    QFETCH(QString, text);
    QCOMPARE(numText(number), text);
    QCOMPARE(u"Page"_qs + numText(1) + u" of"_qs + numText(5), u"Page 1 of 5"_qs);
}

void ShellTest::titleScreenLoads()
{
    test::DataFolder data;
    Titlefrm &title = form<Titlefrm>();
    QVERIFY(!title.recovered());
    QCOMPARE(title.windowTitle(), u" "_qs);
    QCOMPARE(title.size(), QSize(364, 438));
    QVERIFY(title.Picture1->picture());
    QCOMPARE(title.Picture1->picture()->sizePixels(), QSize(320, 240));
    QCOMPARE(title.Command1->text(), u"OK"_qs);
    QCOMPARE(title.Command2->text(), u"Exit"_qs);
    QCOMPARE(title.Label4->caption(), u" Terravale"_qs);
    QVERIFY(isLoaded<Grey>());
    QCOMPARE(loadedForm<Grey>()->backColor(), QColor(48, 133, 214));
    // Every line of text is whole inside the window.
    for (const Label *label : title.findChildren<Label *>()) {
        if (label->caption().isEmpty())
            continue;
        const QRect inWindow(label->mapTo(&title, QPoint(0, 0)), label->size());
        QVERIFY2(title.rect().contains(inWindow), qPrintable(label->caption()));
        QVERIFY2(QFontMetrics(label->font()).height() <= label->height(), qPrintable(label->caption()));
    }
}

void ShellTest::titleScreenRecoversWithoutPicture()
{
    test::DataFolder data;
    data.remove(u"Images/wallsm.jpg"_qs);
    Titlefrm &title = form<Titlefrm>();
    QVERIFY(title.recovered());
    QCOMPARE(title.windowTitle(), u"Terravale"_qs);
    QCOMPARE(title.size(), QSize(800, 600));
    QCOMPARE(title.backColor(), kScreenBlue);
    QVERIFY(!title.Picture1->picture());
    QCOMPARE(title.Command1->text(), u"OK"_qs);   // still usable
}

void ShellTest::firstExitIsSilentOkIsHeard()
{
    test::DataFolder data;
    form<Titlefrm>().Command2_Click();
    QVERIFY(data.sounds->played.isEmpty());   // soundon is still unset
    QCOMPARE(data.sounds->preloaded, QStringList{kClick});   // readied by the sound host, not played

    form<Titlefrm>().Command1_Click();
    QCOMPARE(session().soundon, 1);
    QCOMPARE(data.sounds->played, QStringList{kClick});
    QVERIFY(isLoaded<intro0>());
    QVERIFY(!isLoaded<Titlefrm>());
}

void ShellTest::menuHasItsEntries_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QRect>("twips");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<QColor>("back");
    const QColor black(0, 0, 0), navy(0, 0, 128);
    // Every topic entry leads to its hub.
    QTest::newRow("0") << 0 << u"The Atmosphere"_qs << QRect(120, 2880, 3075, 375) << true << black;
    QTest::newRow("1") << 1 << u"Industry"_qs << QRect(120, 3600, 3075, 375) << true << black;
    QTest::newRow("2") << 2 << u"The School Environment"_qs << QRect(120, 4320, 3075, 375) << true << black;
    QTest::newRow("3") << 3 << u"The Home Environment"_qs << QRect(120, 5040, 3075, 375) << true << black;
    QTest::newRow("4") << 4 << u"Waterways"_qs << QRect(120, 5760, 3075, 375) << true << black;
    QTest::newRow("5") << 5 << u"Forests and Woodlands"_qs << QRect(3360, 2160, 3075, 375) << true << black;
    QTest::newRow("6") << 6 << u"Rubbish"_qs << QRect(3360, 2880, 3075, 375) << true << black;
    QTest::newRow("7") << 7 << u"Roads and Traffic"_qs << QRect(3360, 3600, 3075, 375) << true << black;
    QTest::newRow("8") << 8 << u"Population Growth"_qs << QRect(3360, 4320, 3075, 375) << true << black;
    QTest::newRow("9") << 9 << u"Biodiversity"_qs << QRect(3360, 5040, 3075, 375) << true << black;
    QTest::newRow("10") << 10 << u"Environmental Groups"_qs << QRect(3360, 5760, 3075, 375) << true << black;
    QTest::newRow("15") << 15 << u"Resources"_qs << QRect(120, 2160, 3075, 375) << true << black;
    QTest::newRow("16") << 16 << u"Exit"_qs << QRect(10560, 7920, 1245, 495) << true << black;
    QTest::newRow("17") << 17 << u"Multiple Choice Wizard"_qs << QRect(6960, 5760, 4635, 495) << true << navy;
    QTest::newRow("18") << 18 << u"Worksheet Catalogue"_qs << QRect(6960, 6600, 4635, 495) << true << navy;
    QTest::newRow("19") << 19 << u"Acknowledgments"_qs << QRect(120, 7920, 3075, 495) << true << navy;
    QTest::newRow("20") << 20 << u"Teachers' Guide"_qs << QRect(120, 1080, 3075, 495) << true << navy;
}

void ShellTest::menuHasItsEntries()
{
    QFETCH(int, index);
    QFETCH(QString, caption);
    QFETCH(QRect, twips);
    QFETCH(bool, enabled);
    QFETCH(QColor, back);
    test::DataFolder data;
    intro0 &menu = form<intro0>();
    Label &entry = menu.Label2(index);
    QCOMPARE(entry.caption(), caption);
    QCOMPARE(QRect(entry.leftTw(), entry.topTw(), entry.widthTw(), entry.heightTw()), twips);
    QCOMPARE(entry.geometry(), QRect(twips.x() / 15, twips.y() / 15, twips.width() / 15, twips.height() / 15));
    QCOMPARE(entry.isEnabled(), enabled);
    QCOMPARE(entry.backColor(), back);
    QCOMPARE(entry.foreColor(), QColor(255, 255, 0));
    for (int missing : {11, 12, 13, 14})
        QVERIFY(!menu.Label2.contains(missing));
}

void ShellTest::menuHoverRule()
{
    test::DataFolder data;
    intro0 &menu = form<intro0>();
    menu.show();
    QVERIFY(menu.Label2(6).isOpaque());                  // buttons start filled
    QTest::mouseMove(&menu, QPoint(790, 100));          // background
    for (const auto &[index, label] : menu.Label2.items())
        QVERIFY2(!label->isOpaque(), qPrintable(label->caption()));
    QTest::mouseMove(&menu.Label2(6), QPoint(5, 5));
    QVERIFY(menu.Label2(6).isOpaque());
    QTest::mouseMove(&menu.Label2(15), QPoint(5, 5));   // straight onto another: both lit
    QVERIFY(menu.Label2(15).isOpaque());
    QVERIFY(menu.Label2(6).isOpaque());
}

void ShellTest::soundSwitch()
{
    test::DataFolder data;
    intro0 &menu = form<intro0>();
    QCOMPARE(session().soundon, 1);
    QVERIFY(menu.Option1->isChecked());
    menu.Option2->click();
    QCOMPARE(session().soundon, 0);
    menu.Label2_Click(16);
    QVERIFY(data.sounds->played.isEmpty());
    menu.Option1->click();
    QCOMPARE(session().soundon, 1);
    playclip(kClick);
    QCOMPARE(data.sounds->played, QStringList{kClick});

    // A fresh menu selects "Sound On" again.
    session().soundon = 0;
    unloadForm<intro0>();
    QCOMPARE(session().soundon, 0);
    QVERIFY(form<intro0>().Option1->isChecked());
    QCOMPARE(session().soundon, 1);
}

void ShellTest::menuExitAndCancelReturnToSameMenu()
{
    test::DataFolder data;
    form<Titlefrm>().Command1_Click();
    intro0 *menu = loadedForm<intro0>();
    QVERIFY(menu);
    QVERIFY(menu->isVisible());
    menu->Option2->click();
    menu->Label2_Click(6);                      // a hub, minimised
    TopicHub &hub = topicHub(u"rubbish"_qs);
    hub.showMinimized();
    menu->showInFront();
    menu->Label2_Click(16);
    Titlefrm *title = loadedForm<Titlefrm>();
    QVERIFY(title);
    QCOMPARE(title->Command1->text(), u"Cancel"_qs);
    // Only the title screen is seen over the backdrop; the menu stays loaded beneath, and the
    // minimised hub stays minimised.
    QVERIFY(title->isVisible());
    QVERIFY(!menu->isVisible() && hub.isMinimized());
    QVERIFY(loadedForm<Grey>()->isVisible());
    title->Command1_Click();
    QCOMPARE(loadedForm<intro0>(), menu);       // the same menu instance, on show again
    QVERIFY(menu->isVisible());
    QVERIFY(menu->Option2->isChecked());        // its state unchanged
    QCOMPARE(session().soundon, 0);
    menu->Label2_Click(6);                      // the hub comes back through its button
    QVERIFY(hub.isVisible() && !hub.isMinimized());
}

void ShellTest::catalogueRead_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("present");
    QTest::addColumn<int>("numsheets");
    QTest::addColumn<int>("titlesStored");
    QTest::newRow("three titles") << catalogue(3, 3) << true << 3 << 3;
    QTest::newRow("empty catalogue") << catalogue(0, 0) << true << 0 << 0;
    QTest::newRow("missing file") << QByteArray() << false << 0 << 0;
    QTest::newRow("empty file") << QByteArray() << true << 0 << 0;
    QTest::newRow("count not a number") << QByteArray("lots\r\nA\r\n") << true << 0 << 0;
    QTest::newRow("short file") << catalogue(5, 2) << true << 5 << 2;
    QTest::newRow("a thousand") << catalogue(1000, 1000) << true << 1000 << 1000;
    QTest::newRow("above a thousand") << catalogue(1002, 1002) << true << 1002 << 1000;
    QTest::newRow("text after the titles") << catalogue(2, 4) << true << 2 << 2;
}

void ShellTest::catalogueRead()
{
    QFETCH(QByteArray, file);
    QFETCH(bool, present);
    QFETCH(int, numsheets);
    QFETCH(int, titlesStored);
    test::DataFolder data;
    if (present)
        data.write(u"multiple/track.txt"_qs, file);
    else
        data.remove(u"multiple/track.txt"_qs);
    session().sheetnames[titlesStored + 1] = u"stale"_qs;
    intro0 &menu = form<intro0>();
    QVERIFY(menu.Timer1->isActive());
    QTRY_VERIFY(!menu.Timer1->isActive());
    QCOMPARE(session().numsheets, numsheets);
    for (int i = 1; i <= titlesStored; ++i)
        QCOMPARE(session().sheetnames[i], u"Sheet "_qs + QString::number(i));
    if (titlesStored < 1000)
        QCOMPARE(session().sheetnames[titlesStored + 1], u"stale"_qs);
    QVERIFY(!fileChannel().isOpen());
}

void ShellTest::setupformFramesAnyScreen()
{
    test::DataFolder data;
    class Plain : public Screen {
    public:
        Plain() : Screen(u"plain"_qs) {}
    } plain;
    class WithPicture : public Screen {
    public:
        WithPicture() : Screen(u"withpicture"_qs)
        {
            picture = new Picture(this, Picture::Mode::Clip);
            picture->setObjectName(u"Picture1"_qs);
        }
        Picture *picture;
    } withPicture;
    setupform(plain);
    setupform(withPicture);
    for (Screen *screen : {static_cast<Screen *>(&plain), static_cast<Screen *>(&withPicture)}) {
        QCOMPARE(screen->windowTitle(), u"Terravale"_qs);
        QCOMPARE(screen->size(), QSize(800, 600));
        QCOMPARE(screen->backColor(), QColor(39, 63, 137));
        QCOMPARE(screen->pos(), plain.pos());
    }
    QCOMPARE(withPicture.picture->backColor(), QColor(49, 135, 214));
}

void ShellTest::closeRequestIsTheScreensExit_data()
{
    QTest::addColumn<int>("road");
    QTest::addColumn<bool>("stays");   // the closed screen is still loaded afterwards
    for (int i = 0; i < int(roads().size()); ++i) {
        const QString name = QString::fromLatin1(roads()[size_t(i)].name);
        QTest::newRow(roads()[size_t(i)].name) << i << (name == u"menu" || name == u"backdrop");
    }
}

void ShellTest::closeRequestIsTheScreensExit()
{
    QFETCH(int, road);
    QFETCH(bool, stays);
    const Road &r = roads()[size_t(road)];

    // The screen's own Exit, or nothing at all for a screen without one.
    QStringList byExit;
    {
        test::DataFolder data;
        Screen &screen = r.reach();
        screen.showInFront();
        const qsizetype clips = data.sounds->played.size();
        if (r.pressExit)
            r.pressExit(screen);
        byExit = aftermath(data, clips);
    }
    // The window system's close request (title bar's close button, Alt+F4) on the same screen.
    test::DataFolder data;
    Screen &screen = r.reach();
    screen.showInFront();
    const QString name = screen.formName();
    const qsizetype clips = data.sounds->played.size();
    screen.close();
    const QStringList byClose = aftermath(data, clips);
    QCOMPARE(byClose, byExit);
    QCOMPARE(byClose.contains(name + u" shown"_qs) || byClose.contains(name + u" hidden"_qs), stays);
    QVERIFY2(!byClose.filter(u" shown"_qs).isEmpty(), "no screen left to see");
}

void ShellTest::showInFrontRestoresMinimised_data()
{
    QTest::addColumn<int>("road");
    QTest::addColumn<bool>("alone");   // no other screen on show beneath it
    for (int i = 0; i < int(roads().size()); ++i) {
        const QString name = QString::fromLatin1(roads()[size_t(i)].name);
        if (roads()[size_t(i)].pressExit)
            QTest::newRow(roads()[size_t(i)].name) << i << (name == u"menu" || name == u"catalogue");
    }
}

void ShellTest::showInFrontRestoresMinimised()
{
    QFETCH(int, road);
    QFETCH(bool, alone);
    test::DataFolder data;
    Screen &screen = roads()[size_t(road)].reach();
    screen.showInFront();
    const QRect placed = screen.geometry();
    screen.showMinimized();
    if (alone) {
        // The last screen on show does not go: the minimise is undone.
        QTRY_VERIFY(!screen.isMinimized());
    } else {
        QTest::qWait(20);
        QVERIFY(screen.isMinimized());
        screen.showInFront();
        QTRY_VERIFY(!screen.isMinimized());
    }
    QVERIFY(screen.isVisible());
    QCOMPARE(screen.geometry(), placed);
}

void ShellTest::screenWithMessageStays()
{
    // Minimised while its message is open, a screen (and the message) would be out of reach
    // while the message holds every other screen: the minimise is undone.
    test::DataFolder data;
    intro0 &menu = form<intro0>();
    menu.showInFront();
    menu.Label2_Click(6);
    TopicHub &hub = topicHub(u"rubbish"_qs);
    QTRY_VERIFY(hub.isVisible());
    QDialog message(&hub);
    message.setModal(true);
    message.open();
    QTRY_VERIFY(QApplication::activeModalWidget() == &message);
    hub.showMinimized();
    QTRY_VERIFY(!hub.isMinimized());
    QVERIFY(message.isVisible());
    message.close();
    // Without a message it may go: the menu is on show beneath it.
    hub.showMinimized();
    QTest::qWait(20);
    QVERIFY(hub.isMinimized());
}

void ShellTest::lastScreenLeavingRestoresMinimised()
{
    // The menu minimised while the guide opens over it; the guide's Exit leaves only minimised
    // screens: the menu comes back rather than leave the backdrop alone.
    test::DataFolder data;
    intro0 &menu = form<intro0>();
    menu.showInFront();
    menu.Label2_Click(int(MenuEntry::TeachersGuide));
    guide *pages = loadedForm<guide>();
    QVERIFY(pages && pages->isVisible());
    menu.showMinimized();
    QTest::qWait(20);
    QVERIFY(menu.isMinimized());
    pages->Label3_Click(1);   // Exit
    QTRY_VERIFY(!menu.isMinimized());
    QVERIFY(menu.isVisible());
    QVERIFY(!isLoaded<guide>());
}

void ShellTest::coveredScreenTakesNoClick_data()
{
    // A quick second click on the screen underneath, made before the first one's screen appeared.
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("second");
    QTest::addColumn<QString>("opened");
    QTest::newRow("wizard, then catalogue") << 17 << 18 << u"wizard"_qs;
    QTest::newRow("wizard, then a topic") << 17 << 8 << u"wizard"_qs;
    QTest::newRow("a topic, then the wizard") << 6 << 17 << u"rubbish"_qs;
    QTest::newRow("a topic, then another") << 15 << 0 << u"resources"_qs;
    QTest::newRow("guide, then exit") << 20 << 16 << u"guide"_qs;
}

void ShellTest::coveredScreenTakesNoClick()
{
    QFETCH(int, first);
    QFETCH(int, second);
    QFETCH(QString, opened);
    test::DataFolder data;
    intro0 &menu = form<intro0>();
    menu.showInFront();
    menu.Label2_Click(first);
    // The window manager activates the window the second click lands on, covered or not.
    // (The screen in front takes the activation back at once, so the menu's turn is not waited for.)
    menu.activateWindow();
    QTest::qWait(10);
    menu.Label2_Click(second);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(isLoaded<intro0>());
    QCOMPARE(topShownScreen()->objectName(), opened);
    // and the screen the first click opened is back in front of the menu.
    QTRY_VERIFY(QApplication::activeWindow() && QApplication::activeWindow()->objectName() == opened);
    int shown = 0;
    for (Screen *screen : loadedForms())
        shown += !screen->isBackdrop() && screen->isVisible() && screen != &menu;
    QCOMPARE(shown, 1);
    QCOMPARE(data.sounds->played.size(), 1);
}

void ShellTest::soundOptionsAreNotBackground()
{
    test::DataFolder data;
    intro0 &menu = form<intro0>();
    menu.showInFront();
    QVERIFY(QTest::qWaitForWindowExposed(&menu));
    QWindow *window = menu.windowHandle();
    QTest::mouseMove(window, QPoint(790, 100));                       // background: all clear
    QTest::mouseMove(window, menu.Label2(17).geometry().center());     // light two entries
    QTest::mouseMove(window, menu.Label2(20).geometry().center());
    for (QRadioButton *option : {menu.Option1, menu.Option2}) {
        const QRect inside = option->geometry() & menu.rect();   // the options run past the right edge
        for (const QPoint &p : {inside.center(), inside.topLeft() + QPoint(2, 2), inside.bottomRight() - QPoint(2, 2)}) {
            QTest::mouseMove(window, p);
            QVERIFY2(menu.Label2(17).isOpaque() && menu.Label2(20).isOpaque(), qPrintable(option->text()));
        }
    }
    // The background clears them.
    QTest::mouseMove(window, QPoint(790, 100));
    QVERIFY(!menu.Label2(17).isOpaque() && !menu.Label2(20).isOpaque());
}

void ShellTest::movedScreenGoesBack_data()
{
    showInFrontRestoresMinimised_data();
}

void ShellTest::movedScreenGoesBack()
{
    QFETCH(int, road);
    test::DataFolder data;
    Screen &screen = roads()[size_t(road)].reach();
    screen.showInFront();
    QVERIFY(QTest::qWaitForWindowExposed(&screen));
    const QPoint placed = screen.pos();
    QCOMPARE(placed, screen.centredPosition());
    // Dragged by its title bar: the window system moves it in steps, then lets it go.
    for (int step = 1; step <= 3; ++step) {
        screen.windowHandle()->setFramePosition(placed + QPoint(100 * step, 30 * step));
        QTest::qWait(30);
    }
    QVERIFY(screen.pos() != placed);
    QTRY_COMPARE(screen.pos(), placed);
}

QTEST_MAIN(ShellTest)
#include "tst_shell.moc"
