// The Multiple Choice Wizard: layout, typing, Enter walk, validation in order, saving, title refusals.
#include "platform/filechannel.h"
#include "platform/twips.h"
#include "rules/questionset.h"
#include "shell/intro0.h"
#include "rules/session.h"
#include "testsupport.h"
#include "rules/authoring.h"
#include "worksheets/wizard.h"

#include <QApplication>
#include <QCheckBox>
#include <QDirIterator>
#include <QLineEdit>
#include <QTest>

using namespace terravale;

namespace {
const QString kClick = u"wav\\click.wav"_qs;
const QString kTrack = u"multiple/track.txt"_qs;

// Every question complete, question q ticked at choice q mod 4.
void fillComplete(wizard &w, const QString &title)
{
    w.Text1->setText(title);
    for (int q = 0; q < 10; ++q) {
        w.Text2(q).setText(u"What is question "_qs + QString::number(q + 1) + u"?"_qs);
        for (int k = 0; k < 4; ++k)
            w.Text3(4 * q + k).setText(u"Answer "_qs + QChar(u'A' + k));
        w.Check1(4 * q + q % 4).setChecked(true);
    }
}

QStringList filesUnder(const QString &root)
{
    QStringList files;
    QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next();
    files.sort();
    return files;
}

void save(wizard &w) { QTest::mouseClick(&w.Label3(1), Qt::LeftButton); }

// A data folder with the sound switch on, as after the menu's load.
struct SoundOn : test::DataFolder {
    SoundOn() { session().soundon = 1; }
};
} // namespace

class WizardTest : public QObject {
    Q_OBJECT
private slots:
    void controlsAndLayout();
    void tabOrder();
    void typingStopsAtTheLimit_data();
    void typingStopsAtTheLimit();
    void enterWalksTheBoxes();
    void validationInOrder_data();
    void validationInOrder();
    void saveWritesAndListsOnce();
    void titleRefusals_data();
    void titleRefusals();
    void unstorableCharacterInAChoice();
    void textsThatWouldNotReadBack_data();
    void textsThatWouldNotReadBack();
    void otherLetterCaseIsRefused();
    void hoverAndExit();
    void menuOpensWizard();
};

void WizardTest::controlsAndLayout()
{
    SoundOn data;
    wizard &w = form<wizard>();
    QCOMPARE(int(w.Label1.items().size()), 52);
    QCOMPARE(w.findChildren<QLineEdit *>().size(), 51);
    QCOMPARE(w.findChildren<QCheckBox *>().size(), 40);
    QCOMPARE(w.windowTitle(), u"Terravale"_qs);
    QCOMPARE(w.size(), QSize(800, 600));
    QCOMPARE(w.Text1->maxLength(), 25);
    QCOMPARE(w.Text1->geometry(), QRect(504, 8, 281, 25));
    QCOMPARE(w.Label1(0).caption(), u"Multiple Choice Wizard"_qs);
    QCOMPARE(w.Label1(1).caption(), u"Worksheet Title"_qs);
    for (int q = 0; q < 10; ++q) {
        const int x0 = 240 + 5880 * (q / 5), y0 = 600 + 1440 * (q % 5);
        QCOMPARE(w.Label1(2 + q).caption(), u"Question "_qs + QString::number(q + 1));
        QCOMPARE(w.Label1(2 + q).leftTw(), float(x0));
        QCOMPARE(w.Text2(q).maxLength(), 60);
        QCOMPARE(w.Text2(q).geometry(), twipRect(x0, y0 + 240, 5655, 375));
        for (int k = 0; k < 4; ++k) {
            const int i = 4 * q + k, kc = k % 2, kr = k / 2;
            QCOMPARE(w.Text3(i).maxLength(), 30);
            QCOMPARE(w.Text3(i).geometry(), twipRect(x0 + 480 + 2880 * kc, y0 + 630 + 330 * kr, 2295, 330));
            QCOMPARE(w.Check1(i).geometry(), twipRect(x0 + 240 + 2850 * kc, y0 + 630 + 330 * kr, 255, 315));
            QCOMPARE(w.Check1(i).palette().color(QPalette::Window), QColor(39, 63, 137));
            QVERIFY(!w.Check1(i).isChecked());
            const Label &letter = w.Label1(12 + i);
            QCOMPARE(letter.caption(), QString(QChar(u'A' + k)) + u"."_qs);
            // The letter stands left of its tick box, on the same line, inside the screen.
            QVERIFY(letter.geometry().right() < w.Check1(i).geometry().left());
            QVERIFY(letter.geometry().left() >= 0);
            QVERIFY(qAbs(letter.geometry().top() - w.Check1(i).geometry().top()) <= 2);
        }
    }
    QCOMPARE(w.Label3(0).caption(), u"Exit"_qs);
    QCOMPARE(w.Label3(1).caption(), u"Save Worksheet"_qs);
    QCOMPARE(w.Label3(1).geometry(), twipRect(240, 7920, 3165, 495));
    QCOMPARE(w.Label3(0).geometry(), twipRect(10560, 7920, 1245, 495));
    // Nothing overlaps: each text box keeps clear of every other.
    const auto boxes = w.findChildren<QLineEdit *>();
    for (QLineEdit *a : boxes)
        for (QLineEdit *b : boxes)
            QVERIFY2(a == b || !a->geometry().intersects(b->geometry()), qPrintable(a->objectName() + b->objectName()));
}

void WizardTest::tabOrder()
{
    SoundOn data;
    wizard &w = form<wizard>();
    w.showInFront();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QCOMPARE(QApplication::focusWidget(), w.Text1);
    QList<QWidget *> expected{w.Text1};
    for (int q = 0; q < 10; ++q) {
        expected << &w.Text2(q);
        for (int k = 0; k < 4; ++k)
            expected << &w.Text3(4 * q + k);
    }
    for (int i = 0; i < 40; ++i)
        expected << &w.Check1(i);
    for (int step = 1; step < expected.size(); ++step) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), expected[step]);
    }
}

void WizardTest::typingStopsAtTheLimit_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<int>("limit");
    QTest::newRow("title") << u"Text1"_qs << 25;
    QTest::newRow("question 4") << u"Text2_3"_qs << 60;
    QTest::newRow("choice D of question 10") << u"Text3_39"_qs << 30;
}

void WizardTest::typingStopsAtTheLimit()
{
    QFETCH(QString, box);
    QFETCH(int, limit);
    SoundOn data;
    wizard &w = form<wizard>();
    auto *edit = w.findChild<QLineEdit *>(box);
    QVERIFY(edit);
    const QString typed = u"Rivers, seas & ponds of the whole wide world and more besides to fill it up"_qs;
    QTest::keyClicks(edit, typed);
    QCOMPARE(edit->text(), typed.left(limit));
}

void WizardTest::enterWalksTheBoxes()
{
    SoundOn data;
    wizard &w = form<wizard>();
    w.showInFront();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QList<QWidget *> expected;
    for (int q = 0; q < 10; ++q) {
        expected << &w.Text2(q);
        for (int k = 0; k < 4; ++k)
            expected << &w.Text3(4 * q + k);
    }
    QTest::keyClicks(QApplication::focusWidget(), u"Title"_qs);
    for (QWidget *next : expected) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), next);
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), &w.Text3(39));
    QCOMPARE(w.Text1->text(), u"Title"_qs);
}

void WizardTest::validationInOrder_data()
{
    QTest::addColumn<std::function<void(wizard &)>>("change");
    QTest::addColumn<QString>("message");
    using Change = std::function<void(wizard &)>;
    QTest::newRow("fresh wizard") << Change([](wizard &w) {
        for (const auto &[i, box] : w.Text3.items())
            box->clear();
        for (int q = 0; q < 10; ++q)
            w.Text2(q).clear();
        w.Text1->clear();
    }) << kNoTitleMessage;
    QTest::newRow("title only") << Change([](wizard &w) {
        for (int q = 0; q < 10; ++q)
            w.Text2(q).clear();
    }) << u"You have not completed Question 1"_qs;
    QTest::newRow("empty box before two ticks") << Change([](wizard &w) {
        w.Text3(2).clear();
        w.Check1(1).setChecked(true);
    }) << u"You have not completed Question 1"_qs;
    QTest::newRow("no tick before a later empty question") << Change([](wizard &w) {
        w.Check1(0).setChecked(false);
        w.Text2(1).clear();
    }) << u"You have not ticked the correct answer for Question 1"_qs;
    QTest::newRow("empty choice D of question 6") << Change([](wizard &w) { w.Text3(23).clear(); })
                                                  << u"You have not completed Question 6"_qs;
    QTest::newRow("two ticks on question 10") << Change([](wizard &w) { w.Check1(36).setChecked(true); })
                                              << u"You have ticked more than one correct answer for Question 10"_qs;
    QTest::newRow("four ticks on question 3") << Change([](wizard &w) {
        for (int k = 0; k < 4; ++k)
            w.Check1(8 + k).setChecked(true);
    }) << u"You have ticked more than one correct answer for Question 3"_qs;
    QTest::newRow("title problem before questions") << Change([](wizard &w) {
        w.Text1->setText(u"a/b"_qs);
        w.Text2(0).clear();
    }) << u"A worksheet title cannot contain the character /"_qs;
}

void WizardTest::validationInOrder()
{
    QFETCH(std::function<void(wizard &)>, change);
    QFETCH(QString, message);
    SoundOn data;
    const QByteArray track = data.read(kTrack);
    const QStringList before = filesUnder(data.path());
    wizard &w = form<wizard>();
    fillComplete(w, u"Checks"_qs);
    change(w);
    save(w);
    QCOMPARE(data.messages->shown, QStringList{message});
    QCOMPARE(data.messages->captions, QStringList{QString()});
    QCOMPARE(data.sounds->played, QStringList{kClick});
    QCOMPARE(data.read(kTrack), track);
    QCOMPARE(filesUnder(data.path()), before);
}

void WizardTest::saveWritesAndListsOnce()
{
    SoundOn data;
    wizard &w = form<wizard>();
    fillComplete(w, u"Trees"_qs);
    w.Text2(0).clear();
    QTest::keyClicks(&w.Text2(0), u"Which tree, of these?"_qs);
    w.Text2(1).setText(u"   "_qs);   // blanks alone count as filled, and are kept in quotes
    w.Text3(5).setText(u" Paris "_qs);
    save(w);
    QCOMPARE(data.messages->shown, QStringList{kSavedMessage});
    QCOMPARE(data.sounds->played, QStringList{kClick});
    const QByteArray file = data.read(u"multiple/Trees.txt"_qs);
    QCOMPARE(file.count("\r\n"), 72);
    const QList<QByteArray> lines = file.split('\n');
    QCOMPARE(lines[0], QByteArray("Trees\r"));
    QCOMPARE(lines[1], QByteArray(" \r"));
    QCOMPARE(lines[2], QByteArray("Which tree& of these?\r"));
    QCOMPARE(lines[7], QByteArray("1\r"));
    QCOMPARE(lines[8], QByteArray(" \r"));
    QCOMPARE(lines[9], QByteArray("\"   \"\r"));
    QCOMPARE(lines[11], QByteArray("\" Paris \"\r"));
    QCOMPARE(lines[14], QByteArray("2\r"));
    QCOMPARE(lines[70], QByteArray("2\r"));
    QCOMPARE(data.read(kTrack), QByteArray(" 1 \r\nTrees\r\n"));
    // The wizard stays open with its entries; a second save overwrites and lists nothing new.
    QVERIFY(isLoaded<wizard>());
    w.Check1(0).setChecked(false);
    w.Check1(3).setChecked(true);
    save(w);
    QCOMPARE(data.messages->shown, (QStringList{kSavedMessage, kSavedMessage}));
    QCOMPARE(data.read(u"multiple/Trees.txt"_qs).split('\n')[7], QByteArray("4\r"));
    QCOMPARE(data.read(kTrack), QByteArray(" 1 \r\nTrees\r\n"));
}

void WizardTest::titleRefusals_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("message");
    const QString character = u"A worksheet title cannot contain the character "_qs;
    QTest::newRow("slash") << u"a/b"_qs << character + u"/"_qs;
    QTest::newRow("backslash") << u"a\\b"_qs << character + u"\\"_qs;
    QTest::newRow("up a folder") << u"../../escape"_qs << character + u"/"_qs;
    QTest::newRow("two dots") << u".."_qs << u"A worksheet title cannot contain two dots in a row"_qs;
    QTest::newRow("less than") << u"a<b"_qs << character + u"<"_qs;
    QTest::newRow("greater than") << u"a>b"_qs << character + u">"_qs;
    QTest::newRow("colon") << u"C:drive"_qs << character + u":"_qs;
    QTest::newRow("double quote") << u"say \"hi\""_qs << character + u"\""_qs;
    QTest::newRow("leading double quote") << u"\"Quoted"_qs << character + u"\""_qs;
    QTest::newRow("bar") << u"a|b"_qs << character + u"|"_qs;
    QTest::newRow("question mark") << u"Why?"_qs << character + u"?"_qs;
    QTest::newRow("star") << u"a*"_qs << character + u"*"_qs;
    QTest::newRow("comma") << u"Water, air"_qs << character + u","_qs;
    QTest::newRow("tab") << u"a\tb"_qs << u"A worksheet title cannot contain a control character (U+0009)"_qs;
    QTest::newRow("NUL") << QStringView(u"Trees\0x", 7).toString()
                         << u"A worksheet title cannot contain a control character (U+0000)"_qs;
    QTest::newRow("not in the code page") << u"Łąki"_qs << character + u"Ł (U+0141)"_qs;
    QTest::newRow("emoji") << u"Earth \U0001F30D"_qs << character + u"\U0001F30D (U+1F30D)"_qs;
    QTest::newRow("half an emoji") << u"Earth "_qs + QChar(0xD83C)
                                   << u"A worksheet title cannot contain an unknown character (U+D83C)"_qs;
    QTest::newRow("ampersand") << u"Sun & sea"_qs << character + u"&"_qs;
    QTest::newRow("leading blank") << u" Trees"_qs << u"A worksheet title cannot begin or end with a blank"_qs;
    QTest::newRow("trailing blank") << u"Trees "_qs << u"A worksheet title cannot begin or end with a blank"_qs;
    QTest::newRow("topic set") << u"rubbish"_qs
                               << u"The title rubbish is used by the program itself; please choose another title"_qs;
    QTest::newRow("other topic set") << u"RESOURCES"_qs
                                     << u"The title RESOURCES is used by the program itself; please choose another title"_qs;
    QTest::newRow("the catalogue") << u"Track"_qs
                                   << u"The title Track is used by the program itself; please choose another title"_qs;
    QTest::newRow("device name") << u"nul"_qs
                                 << u"The title nul is used by the program itself; please choose another title"_qs;
    QTest::newRow("a new topic's set") << u"Waterways"_qs
                                       << u"The title Waterways is used by the program itself; please choose another title"_qs;
}

void WizardTest::titleRefusals()
{
    QFETCH(QString, title);
    QFETCH(QString, message);
    SoundOn data;
    const QByteArray rubbish = data.read(u"multiple/Rubbish.txt"_qs);
    const QByteArray track = data.read(kTrack);
    const QStringList before = filesUnder(data.path());
    wizard &w = form<wizard>();
    fillComplete(w, title);
    save(w);
    QCOMPARE(data.messages->shown, QStringList{message});
    QCOMPARE(data.read(kTrack), track);
    QCOMPARE(data.read(u"multiple/Rubbish.txt"_qs), rubbish);
    QCOMPARE(filesUnder(data.path()), before);
    QVERIFY(!QFile::exists(data.file(u"escape.txt"_qs)));
    QVERIFY(!QFile::exists(data.file(u"../escape.txt"_qs)));
}

void WizardTest::unstorableCharacterInAChoice()
{
    SoundOn data;
    wizard &w = form<wizard>();
    fillComplete(w, u"Places"_qs);
    w.Text3(9).setText(u"Gdańsk"_qs);
    w.Text2(5).setText(u"Euro € and naïve café are fine"_qs);
    save(w);
    QCOMPARE(data.messages->shown,
             QStringList{u"Choice B of Question 3 holds the character ń (U+0144), which a worksheet cannot store"_qs});
    QVERIFY(!QFile::exists(data.file(u"multiple/Places.txt"_qs)));
    w.Text3(9).setText(u"Gdansk"_qs);
    save(w);
    QCOMPARE(data.messages->shown.last(), kSavedMessage);
    QVERIFY(data.read(u"multiple/Places.txt"_qs).contains("Euro \x80 and na\xefve caf\xe9 are fine\r\n"));
}

void WizardTest::textsThatWouldNotReadBack_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    const QString quote = u" cannot begin with a double quote (\"); please use single quotes (') instead"_qs;
    QTest::newRow("question opening with a quote") << u"Text2_4"_qs << u"\"Crisp\" packet"_qs
                                                   << u"Question 5"_qs + quote;
    QTest::newRow("choice opening with a quote") << u"Text3_6"_qs << u"\"Crisp\" packet"_qs
                                                 << u"Choice C of Question 2"_qs + quote;
    QTest::newRow("quote and a leading blank") << u"Text3_39"_qs << u" a \"b\""_qs
                                               << u"Choice D of Question 10 cannot hold a double quote (\") and begin "
                                                  "or end with a blank; please use single quotes (') instead"_qs;
    QTest::newRow("ampersand in a question") << u"Text2_0"_qs << u"Salt & pepper?"_qs
                                             << u"Question 1 holds the character &, which a worksheet shows as a "
                                                "comma; please write \"and\" instead"_qs;
    QTest::newRow("ampersand in a choice") << u"Text3_1"_qs << u"R&B"_qs
                                           << u"Choice B of Question 1 holds the character &, which a worksheet "
                                              "shows as a comma; please write \"and\" instead"_qs;
    QTest::newRow("emoji in a choice") << u"Text3_12"_qs << u"Earth \U0001F30D"_qs
                                       << u"Choice A of Question 4 holds the character \U0001F30D (U+1F30D), which a "
                                          "worksheet cannot store"_qs;
}

void WizardTest::textsThatWouldNotReadBack()
{
    QFETCH(QString, box);
    QFETCH(QString, text);
    QFETCH(QString, message);
    SoundOn data;
    const QStringList before = filesUnder(data.path());
    wizard &w = form<wizard>();
    fillComplete(w, u"Snacks"_qs);
    auto *edit = w.findChild<QLineEdit *>(box);
    QVERIFY(edit);
    edit->setText(text);
    save(w);
    QCOMPARE(data.messages->shown, QStringList{message});
    QCOMPARE(filesUnder(data.path()), before);
    // Typed with single quotes or "and", the same worksheet saves and reads back as typed.
    QString mended = text;
    mended.replace(u'"', u'\'').replace(u"&"_qs, u"and"_qs).replace(u"\U0001F30D"_qs, u"globe"_qs);
    edit->setText(mended);
    save(w);
    QCOMPARE(data.messages->shown.last(), kSavedMessage);
    loadQuestionFile(u"multiple/Snacks.txt"_qs);
    QVERIFY(session().set == questionSetOf(w.entries()));
}

void WizardTest::otherLetterCaseIsRefused()
{
    SoundOn data;
    wizard &w = form<wizard>();
    fillComplete(w, u"Trees"_qs);
    save(w);
    const QByteArray first = data.read(u"multiple/Trees.txt"_qs);
    w.Text1->setText(u"TREES"_qs);
    w.Text2(0).setText(u"Changed"_qs);
    save(w);
    QCOMPARE(data.messages->shown.last(),
             u"There is already a worksheet called Trees. To replace it, save under exactly that title; "
             "otherwise choose another title."_qs);
    QCOMPARE(data.read(u"multiple/Trees.txt"_qs), first);
    QCOMPARE(data.read(kTrack), QByteArray(" 1 \r\nTrees\r\n"));
}

void WizardTest::hoverAndExit()
{
    SoundOn data;
    wizard &w = form<wizard>();
    w.show();
    QVERIFY(w.Label3(0).isOpaque() && w.Label3(1).isOpaque());
    QTest::mouseMove(&w, QPoint(790, 590));
    QVERIFY(!w.Label3(0).isOpaque() && !w.Label3(1).isOpaque());
    QTest::mouseMove(&w.Label3(1), QPoint(5, 5));
    QVERIFY(w.Label3(1).isOpaque() && !w.Label3(0).isOpaque());
    QTest::mouseClick(&w.Label3(0), Qt::LeftButton);
    QVERIFY(!isLoaded<wizard>());
    QCOMPARE(data.sounds->played, QStringList{kClick});
    QVERIFY(data.messages->shown.isEmpty());
}

void WizardTest::menuOpensWizard()
{
    SoundOn data;
    intro0 &menu = form<intro0>();
    menu.show();
    menu.Label2_Click(17);
    QVERIFY(isLoaded<wizard>());
    QVERIFY(loadedForm<wizard>()->isVisible());
    QVERIFY(isLoaded<intro0>());
    QCOMPARE(data.sounds->played, QStringList{kClick});
}

QTEST_MAIN(WizardTest)
#include "tst_wizard.moc"
