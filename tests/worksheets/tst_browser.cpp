// The Worksheets Catalogue: paging, modes, run, edit and delete, damaged worksheets.
#include "platform/filechannel.h"
#include "platform/twips.h"
#include "quiz/multiple.h"
#include "shell/intro0.h"
#include "rules/session.h"
#include "testsupport.h"
#include "rules/authoring.h"
#include "worksheets/wizard.h"
#include "worksheets/worksheets.h"

#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QTest>

using namespace terravale;

namespace {
const QString kClick = u"wav\\click.wav"_qs;
const QString kTrack = u"multiple/track.txt"_qs;
const QString kCorrupted = u"This worksheet seems to be corrupted."_qs;

QString titleNo(int i) { return u"Sheet "_qs + QString::number(i); }

QByteArray catalogue(const QStringList &titles)
{
    QByteArray bytes = ' ' + QByteArray::number(titles.size()) + " \r\n";
    for (const QString &title : titles)
        bytes += title.toLatin1() + "\r\n";
    return bytes;
}

// A worksheet file whose question n has the correct digit digits[n-1].
QByteArray worksheetFile(const QByteArray &title, const QList<QByteArray> &digits, int lines = 72)
{
    QList<QByteArray> all{title, " "};
    for (int n = 1; n <= 10; ++n) {
        const QByteArray q = QByteArray::number(n);
        all << "Question " + q + "& with a comma" << "A" + q << "B" + q << "C" + q << "D" + q << digits.value(n - 1, "1")
            << " ";
    }
    QByteArray bytes;
    for (int i = 0; i < lines; ++i)
        bytes += all[i] + "\r\n";
    return bytes;
}

// A data folder holding a catalogue of `count` titles, each with a sound worksheet file.
struct Catalogue : test::DataFolder {
    explicit Catalogue(int count, bool files = true)
    {
        session().soundon = 1;
        QStringList titles;
        for (int i = 1; i <= count; ++i) {
            titles << titleNo(i);
            if (files)
                write(u"multiple/"_qs + titleNo(i) + u".txt"_qs, worksheetFile(titleNo(i).toLatin1(), {}));
        }
        write(kTrack, catalogue(titles));
    }
};

QStringList shownTitles(worksheets &w)
{
    QStringList titles;
    for (int i = 1; i <= worksheets::kSlots; ++i) {
        if (w.Label2(i).isVisibleTo(&w))
            titles << w.Label2(i).caption();
    }
    return titles;
}

QStringList range(int first, int last)
{
    QStringList titles;
    for (int i = first; i <= last; ++i)
        titles << titleNo(i);
    return titles;
}
} // namespace

class BrowserTest : public QObject {
    Q_OBJECT
private slots:
    void layout();
    void paging_data();
    void paging();
    void modesAreExclusive();
    void deleteWithCancelAndOk();
    void deleteLastTitleOfAPage();
    void deleteTitleNoLongerListed();
    void deleteOnTheLastOfFortyTwoPages();
    void editFillsTheWizard();
    void editReplacesWhatAnOpenWizardHeld();
    void badDigitIsDamagedInEveryMode_data();
    void badDigitIsDamagedInEveryMode();
    void entriesOutsideTheFolder_data();
    void entriesOutsideTheFolder();
    void editSaysWhenTextsWereShortened_data();
    void editSaysWhenTextsWereShortened();
    void editedTitleWithNulIsRefused();
    void corruptedWorksheet_data();
    void corruptedWorksheet();
    void runOpensTheQuiz();
    void exitAndMenuEntry();
    void hoverRule();
};

void BrowserTest::layout()
{
    Catalogue data(3);
    worksheets &w = form<worksheets>();
    QCOMPARE(w.Label1->caption(), u"Worksheets Catalogue"_qs);
    QCOMPARE(w.Check1->text(), u"Edit Worksheet"_qs);
    QCOMPARE(w.Check2->text(), u"Delete Worksheet"_qs);
    QCOMPARE(w.Check1->palette().color(QPalette::Window), QColor(39, 63, 137));
    QCOMPARE(w.Check2->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    QCOMPARE(w.Label2(0).caption(), u"Exit"_qs);
    QCOMPARE(w.Label2(1).geometry(), twipRect(120, 720, 5715, 375));
    QCOMPARE(w.Label2(12).geometry(), twipRect(120, 720 + 600 * 11, 5715, 375));
    QCOMPARE(w.Label2(13).geometry(), twipRect(6120, 720, 5715, 375));
    QCOMPARE(w.Label2(24).geometry(), twipRect(6120, 720 + 600 * 11, 5715, 375));
    QCOMPARE(w.Label4->caption(), u"Page 1"_qs);
    QCOMPARE(w.Label4->foreColor(), QColor(0, 0, 255));
    QVERIFY(!w.Check1->isChecked() && !w.Check2->isChecked());
    // A 25-character title in capitals fits its slot.
    w.Label2(1).setCaption(u"MAKING WASTE WORK FOR US!"_qs);
    QVERIFY(QFontMetrics(w.Label2(1).font()).horizontalAdvance(w.Label2(1).caption()) < w.Label2(1).width());
}

void BrowserTest::paging_data()
{
    QTest::addColumn<int>("listedCount");
    QTest::newRow("empty") << 0;
    QTest::newRow("one page full") << 24;
    QTest::newRow("one over") << 25;
    QTest::newRow("thirty") << 30;
    QTest::newRow("full catalogue") << 1000;
    QTest::newRow("damaged count above a thousand") << 1003;
}

void BrowserTest::paging()
{
    QFETCH(int, listedCount);
    Catalogue data(listedCount, false);
    worksheets &w = form<worksheets>();
    QCOMPARE(session().numsheets, listedCount);
    const int count = qMin(listedCount, 1000);   // titles beyond 1000 are never stored
    QCOMPARE(session().catpage, 0);
    QCOMPARE(shownTitles(w), range(1, qMin(count, 24)));
    QVERIFY(!w.Label3(0).isVisibleTo(&w));
    QCOMPARE(w.Label3(1).isVisibleTo(&w), count > 24);
    QCOMPARE(w.Label4->caption(), u"Page 1"_qs);
    int page = 1;
    while (w.Label3(1).isVisibleTo(&w)) {
        QTest::mouseClick(&w.Label3(1), Qt::LeftButton);
        ++page;
        QCOMPARE(w.Label4->caption(), u"Page "_qs + QString::number(page));
        QVERIFY(w.Label3(0).isVisibleTo(&w));
        QCOMPARE(shownTitles(w), range(24 * (page - 1) + 1, qMin(count, 24 * page)));
        QVERIFY(page <= 42);
    }
    // The last page holds the last title: every listed title can be reached.
    QCOMPARE(page, qMax(1, (count + 23) / 24));
    if (count > 0)
        QCOMPARE(shownTitles(w).last(), titleNo(count));
    QCOMPARE(data.sounds->played.size(), page - 1);
    while (w.Label3(0).isVisibleTo(&w))
        QTest::mouseClick(&w.Label3(0), Qt::LeftButton);
    QCOMPARE(session().catpage, 0);
    QCOMPARE(shownTitles(w), range(1, qMin(count, 24)));
    QCOMPARE(w.Label3(1).isVisibleTo(&w), count > 24);
}

void BrowserTest::modesAreExclusive()
{
    Catalogue data(1);
    worksheets &w = form<worksheets>();
    w.Check1->click();
    QVERIFY(w.Check1->isChecked());
    w.Check2->click();
    QVERIFY(w.Check2->isChecked() && !w.Check1->isChecked());
    w.Check1->click();
    QVERIFY(w.Check1->isChecked() && !w.Check2->isChecked());
    w.Check1->click();
    QVERIFY(!w.Check1->isChecked() && !w.Check2->isChecked());
}

void BrowserTest::deleteWithCancelAndOk()
{
    Catalogue data(30);
    worksheets &w = form<worksheets>();
    w.Check2->click();
    data.messages->answers = {MsgResult::Cancel};
    QTest::mouseClick(&w.Label2(1), Qt::LeftButton);
    QCOMPARE(data.messages->shown,
             QStringList{u"Are you sure that you want to delete the worksheet Sheet 1?"_qs});
    QCOMPARE(data.messages->captions, QStringList{u" "_qs});
    QCOMPARE(data.read(kTrack), catalogue(range(1, 30)));
    QCOMPARE(shownTitles(w), range(1, 24));
    data.messages->answers = {MsgResult::Ok};
    QTest::mouseClick(&w.Label2(1), Qt::LeftButton);
    QCOMPARE(data.messages->shown.size(), 2);
    QCOMPARE(data.read(kTrack), catalogue(range(2, 30)));
    QCOMPARE(shownTitles(w), range(2, 25));
    QVERIFY(w.Label3(1).isVisibleTo(&w));
    QVERIFY(QFile::exists(data.file(u"multiple/Sheet 1.txt"_qs)));
    QCOMPARE(data.sounds->played, (QStringList{kClick, kClick}));
    QTest::mouseClick(&w.Label3(1), Qt::LeftButton);
    QCOMPARE(shownTitles(w), range(26, 30));
}

void BrowserTest::deleteLastTitleOfAPage()
{
    Catalogue data(25);
    worksheets &w = form<worksheets>();
    QTest::mouseClick(&w.Label3(1), Qt::LeftButton);
    w.Check2->click();
    QTest::mouseClick(&w.Label2(1), Qt::LeftButton);
    QCOMPARE(data.read(kTrack), catalogue(range(1, 24)));
    QVERIFY(shownTitles(w).isEmpty());
    QVERIFY(w.Label3(0).isVisibleTo(&w));
    QTest::mouseClick(&w.Label3(0), Qt::LeftButton);
    QCOMPARE(shownTitles(w), range(1, 24));
}

void BrowserTest::deleteTitleNoLongerListed()
{
    Catalogue data(3);
    worksheets &w = form<worksheets>();
    // The catalogue changed underneath the open browser.
    data.write(kTrack, catalogue({titleNo(2), titleNo(3)}));
    w.Check2->click();
    QTest::mouseClick(&w.Label2(1), Qt::LeftButton);
    QCOMPARE(data.read(kTrack), catalogue({titleNo(2), titleNo(3)}));
    QCOMPARE(shownTitles(w), (QStringList{titleNo(2), titleNo(3)}));
}

void BrowserTest::deleteOnTheLastOfFortyTwoPages()
{
    Catalogue data(1000, false);
    data.write(u"multiple/Sheet 990.txt"_qs, worksheetFile("Sheet 990", {}));
    worksheets &w = form<worksheets>();
    for (int page = 1; page < 42; ++page)
        QTest::mouseClick(&w.Label3(1), Qt::LeftButton);
    QCOMPARE(w.Label4->caption(), u"Page 42"_qs);
    QCOMPARE(w.Label2(6).caption(), titleNo(990));
    w.Check2->click();
    QTest::mouseClick(&w.Label2(6), Qt::LeftButton);
    QVERIFY(!data.messages->shown.contains(kCorrupted));
    QCOMPARE(shownTitles(w), range(985, 989) + range(991, 1000));
    QCOMPARE(session().numsheets, 999);
}

void BrowserTest::editFillsTheWizard()
{
    Catalogue data(2);
    data.write(u"multiple/Sheet 2.txt"_qs,
               worksheetFile("Sheet 2& edited", {"3", "1", "4", "2", "2", "3", "1", "4", "4", "1"}));
    worksheets &w = form<worksheets>();
    w.Check1->click();
    QTest::mouseClick(&w.Label2(2), Qt::LeftButton);
    QVERIFY(data.messages->shown.isEmpty());
    QVERIFY(isLoaded<wizard>());
    wizard &wiz = *loadedForm<wizard>();
    QVERIFY(wiz.isVisible());
    QVERIFY(isLoaded<worksheets>());
    QCOMPARE(wiz.Text1->text(), u"Sheet 2, edited"_qs);
    QCOMPARE(wiz.Text2(0).text(), u"Question 1, with a comma"_qs);
    QCOMPARE(wiz.Text3(39).text(), u"D10"_qs);
    const int digits[] = {3, 1, 4, 2, 2, 3, 1, 4, 4, 1};
    for (int i = 0; i < 40; ++i)
        QCOMPARE(wiz.Check1(i).isChecked(), i % 4 == digits[i / 4] - 1);
    // The catalogue behind the wizard takes no click meant for it (one made before the wizard
    // appeared): the wizard keeps what it shows, and nothing else opens.
    QTest::mouseClick(&w.Label2(1), Qt::LeftButton);
    QCOMPARE(wiz.Text1->text(), u"Sheet 2, edited"_qs);
    QVERIFY(wiz.Check1(2).isChecked() && !wiz.Check1(0).isChecked());
    QVERIFY(!isLoaded<multiple>());
}

void BrowserTest::editReplacesWhatAnOpenWizardHeld()
{
    // The wizard was open with the teacher's own typing and ticks: the worksheet replaces all of
    // them, so no tick of before makes a question look doubly answered.
    Catalogue data(2);
    data.write(u"multiple/Sheet 2.txt"_qs,
               worksheetFile("Sheet 2", {"3", "1", "4", "2", "2", "3", "1", "4", "4", "1"}));
    wizard &wiz = form<wizard>();
    wiz.Text1->setText(u"Mine"_qs);
    wiz.Text3(5).setText(u"my own choice"_qs);
    for (int i : {1, 3, 4, 39})
        wiz.Check1(i).setChecked(true);
    worksheets &w = form<worksheets>();
    w.Check1->click();
    QTest::mouseClick(&w.Label2(2), Qt::LeftButton);
    QVERIFY(data.messages->shown.isEmpty());
    QCOMPARE(wiz.Text1->text(), u"Sheet 2"_qs);
    QCOMPARE(wiz.Text3(5).text(), u"B2"_qs);
    const int digits[] = {3, 1, 4, 2, 2, 3, 1, 4, 4, 1};
    for (int i = 0; i < 40; ++i)
        QCOMPARE(wiz.Check1(i).isChecked(), i % 4 == digits[i / 4] - 1);
    QCOMPARE(validationMessage(wiz.entries()), QString());
}

void BrowserTest::badDigitIsDamagedInEveryMode_data()
{
    QTest::addColumn<int>("mode");   // 0 run, 1 edit, 2 delete
    QTest::addColumn<QByteArray>("digit");
    const char *names[] = {"run", "edit", "delete"};
    for (int mode : {0, 1, 2}) {
        for (const char *digit : {"x", "0", "5", "7", "9"})
            QTest::addRow("%s, %s", names[mode], digit) << mode << QByteArray(digit);
    }
}

void BrowserTest::badDigitIsDamagedInEveryMode()
{
    // A quiz that cannot be won is not opened.
    QFETCH(int, mode);
    QFETCH(QByteArray, digit);
    Catalogue data(1);
    data.write(u"multiple/Sheet 1.txt"_qs, worksheetFile("Sheet 1", {"1", "2", "3", "4", "1", "2", "3", "4", "1", digit}));
    worksheets &w = form<worksheets>();
    if (mode == 1)
        w.Check1->click();
    if (mode == 2)
        w.Check2->click();
    QTest::mouseClick(&w.Label2(1), Qt::LeftButton);
    QCOMPARE(data.messages->shown, QStringList{kCorrupted});
    QVERIFY(!isLoaded<wizard>());
    QVERIFY(!isLoaded<multiple>());
    QCOMPARE(data.read(kTrack), catalogue({titleNo(1)}));
}

void BrowserTest::entriesOutsideTheFolder_data()
{
    QTest::addColumn<int>("mode");   // 0 run, 1 edit, 2 delete
    QTest::addColumn<QString>("entry");
    const char *names[] = {"run", "edit", "delete"};
    for (int mode : {0, 1, 2}) {
        QTest::addRow("%s, up a folder", names[mode]) << mode << u"../secret"_qs;
        QTest::addRow("%s, up with a backslash", names[mode]) << mode << u"..\\secret"_qs;
        QTest::addRow("%s, down and up", names[mode]) << mode << u"sub/../../secret"_qs;
        QTest::addRow("%s, drive", names[mode]) << mode << u"C:secret"_qs;
        QTest::addRow("%s, control character", names[mode]) << mode << u"tab\tsecret"_qs;
    }
}

void BrowserTest::entriesOutsideTheFolder()
{
    // A hand-edited catalogue line is listed, but names no file the program opens.
    QFETCH(int, mode);
    QFETCH(QString, entry);
    Catalogue data(1);
    QByteArray track = catalogue({titleNo(1)}).replace(" 1 ", " 2 ") + entry.toLatin1() + "\r\n";
    data.write(kTrack, track);
    // Sound worksheets wherever the entry could lead, so only the check keeps them closed.
    const QByteArray secret = worksheetFile("Secret", {});
    const QStringList places{u"secret.txt"_qs, u"multiple/C:secret.txt"_qs, u"multiple/tab\tsecret.txt"_qs};
    for (const QString &place : places)
        data.write(place, secret);
    worksheets &w = form<worksheets>();
    QCOMPARE(shownTitles(w), (QStringList{titleNo(1), entry}));
    if (mode == 1)
        w.Check1->click();
    if (mode == 2)
        w.Check2->click();
    data.messages->answers = {MsgResult::Ok};
    QTest::mouseClick(&w.Label2(2), Qt::LeftButton);
    QVERIFY(!isLoaded<multiple>());
    QVERIFY(!isLoaded<wizard>());
    QVERIFY(session().set.title != u"Secret"_qs);
    for (const QString &place : places)
        QCOMPARE(data.read(place), secret);
    if (mode == 2) {
        // Delete takes the line out of the catalogue and touches no file.
        QCOMPARE(data.messages->shown,
                 QStringList{u"Are you sure that you want to delete the worksheet "_qs + entry + u"?"_qs});
        QCOMPARE(data.read(kTrack), catalogue({titleNo(1)}));
        QCOMPARE(shownTitles(w), QStringList{titleNo(1)});
    } else {
        QCOMPARE(data.messages->shown, QStringList{kCorrupted});
        QCOMPARE(data.read(kTrack), track);
    }
    QVERIFY(!fileChannel().isOpen());
}

void BrowserTest::editSaysWhenTextsWereShortened_data()
{
    QTest::addColumn<int>("line");   // 0-based line of the worksheet file to lengthen
    QTest::addColumn<int>("length");
    QTest::addColumn<bool>("shortened");
    QTest::newRow("title of 26") << 0 << 26 << true;
    QTest::newRow("question of 61") << 9 << 61 << true;
    QTest::newRow("choice of 31") << 69 << 31 << true;
    QTest::newRow("all at their limits") << 2 << 60 << false;
}

void BrowserTest::editSaysWhenTextsWereShortened()
{
    QFETCH(int, line);
    QFETCH(int, length);
    QFETCH(bool, shortened);
    Catalogue data(1);
    QList<QByteArray> lines = worksheetFile("Sheet 1", {}).split('\n');
    const QByteArray longText = QByteArray("Long").leftJustified(length, 'x');
    lines[line] = longText + '\r';
    if (!shortened) {
        lines[0] = QByteArray("T").leftJustified(25, 't') + '\r';
        lines[3] = QByteArray("C").leftJustified(30, 'c') + '\r';
    }
    data.write(u"multiple/Sheet 1.txt"_qs, lines.join('\n'));
    worksheets &w = form<worksheets>();
    w.Check1->click();
    QTest::mouseClick(&w.Label2(1), Qt::LeftButton);
    QVERIFY(isLoaded<wizard>());
    wizard &wiz = *loadedForm<wizard>();
    QVERIFY(wiz.isVisible());
    QCOMPARE(data.messages->shown, shortened ? QStringList{kShortenedMessage} : QStringList());
    const QLineEdit *box = line == 0 ? wiz.Text1 : line == 9 ? &wiz.Text2(1) : line == 69 ? &wiz.Text3(39) : &wiz.Text2(0);
    QCOMPARE(box->text(), QString::fromLatin1(longText.left(box->maxLength())));
}

void BrowserTest::editedTitleWithNulIsRefused()
{
    // A hand-made worksheet whose title holds a NUL opens for editing; saving it names the fault.
    Catalogue data(1);
    QByteArray bytes = worksheetFile("Sheet 1", {});
    bytes.replace(0, 7, QByteArray("Cut\0Here", 8));
    data.write(u"multiple/Sheet 1.txt"_qs, bytes);
    const QStringList before = QDir(data.file(u"multiple"_qs)).entryList(QDir::Files);
    worksheets &w = form<worksheets>();
    w.Check1->click();
    QTest::mouseClick(&w.Label2(1), Qt::LeftButton);
    wizard &wiz = *loadedForm<wizard>();
    QCOMPARE(wiz.Text1->text(), QStringView(u"Cut\0Here", 8).toString());
    QTest::mouseClick(&wiz.Label3(1), Qt::LeftButton);
    QCOMPARE(data.messages->shown, QStringList{u"A worksheet title cannot contain a control character (U+0000)"_qs});
    QCOMPARE(QDir(data.file(u"multiple"_qs)).entryList(QDir::Files), before);
    QCOMPARE(data.read(kTrack), catalogue({titleNo(1)}));
}

void BrowserTest::corruptedWorksheet_data()
{
    QTest::addColumn<int>("mode");   // 0 run, 1 edit, 2 delete
    QTest::addColumn<int>("lines");  // 0: no file
    for (int mode : {0, 1, 2}) {
        const char *name[] = {"run", "edit", "delete"};
        QTest::addRow("%s, missing file", name[mode]) << mode << 0;
        QTest::addRow("%s, 40 lines", name[mode]) << mode << 40;
        QTest::addRow("%s, 71 lines", name[mode]) << mode << 71;
    }
}

void BrowserTest::corruptedWorksheet()
{
    QFETCH(int, mode);
    QFETCH(int, lines);
    Catalogue data(2);
    if (lines == 0)
        data.remove(u"multiple/Sheet 2.txt"_qs);
    else
        data.write(u"multiple/Sheet 2.txt"_qs, worksheetFile("Sheet 2", {}, lines));
    worksheets &w = form<worksheets>();
    if (mode == 1)
        w.Check1->click();
    if (mode == 2)
        w.Check2->click();
    QTest::mouseClick(&w.Label2(2), Qt::LeftButton);
    QCOMPARE(data.messages->shown, QStringList{kCorrupted});
    QCOMPARE(data.messages->captions, QStringList{QString()});
    QCOMPARE(data.sounds->played, QStringList{kClick});
    QCOMPARE(shownTitles(w), range(1, 2));
    QCOMPARE(data.read(kTrack), catalogue(range(1, 2)));
    QVERIFY(!isLoaded<multiple>());
    QVERIFY(!isLoaded<wizard>());
    QVERIFY(!fileChannel().isOpen());
}

void BrowserTest::runOpensTheQuiz()
{
    Catalogue data(1);
    worksheets &w = form<worksheets>();
    QTest::mouseClick(&w.Label2(1), Qt::LeftButton);
    QVERIFY(data.messages->shown.isEmpty());
    QVERIFY(isLoaded<multiple>());
    multiple &quiz = *loadedForm<multiple>();
    QVERIFY(quiz.isVisible());
    QVERIFY(isLoaded<worksheets>());
    QVERIFY(quiz.Picture1->picture());
    const intro0 *menu = loadedForm<intro0>();
    QVERIFY(menu && !menu->isVisible());
    QCOMPARE(quiz.Picture1->picture(), menu->Image1->picture());
    QVERIFY(menu->Image1->fileName().endsWith(u"wallsm.jpg"_qs, Qt::CaseInsensitive));
    QCOMPARE(quiz.Label5->caption(), u"Terravale"_qs);
    QCOMPARE(session().set.title, u"Sheet 1"_qs);
    QCOMPARE(session().set.quest[1], u"Question 1, with a comma"_qs);
    QCOMPARE(session().questno, 1);
}

void BrowserTest::exitAndMenuEntry()
{
    Catalogue data(2);
    intro0 &menu = form<intro0>();
    menu.show();
    menu.Label2_Click(18);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!isLoaded<intro0>());
    QVERIFY(isLoaded<worksheets>());
    worksheets &w = *loadedForm<worksheets>();
    QVERIFY(w.isVisible());
    QCOMPARE(shownTitles(w), range(1, 2));
    QTest::mouseClick(&w.Label2(0), Qt::LeftButton);
    QVERIFY(!isLoaded<worksheets>());
    QVERIFY(isLoaded<intro0>());
    QVERIFY(loadedForm<intro0>()->isVisible());
    QCOMPARE(data.sounds->played, (QStringList{kClick, kClick}));
}

void BrowserTest::hoverRule()
{
    Catalogue data(30);
    worksheets &w = form<worksheets>();
    w.show();
    QTest::mouseMove(&w, QPoint(790, 590));
    for (int i = 0; i <= 24; ++i)
        QVERIFY(!w.Label2(i).isOpaque());
    QTest::mouseMove(&w.Label2(5), QPoint(5, 5));
    QVERIFY(w.Label2(5).isOpaque());
    QTest::mouseMove(&w.Label2(0), QPoint(5, 5));
    QVERIFY(w.Label2(0).isOpaque() && w.Label2(5).isOpaque());
    QVERIFY(w.Label3(1).isOpaque());   // the page buttons have no hover rule
}

QTEST_MAIN(BrowserTest)
#include "tst_browser.moc"
