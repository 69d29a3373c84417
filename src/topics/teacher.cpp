#include "teacher.h"

#include "pageprint.h"
#include "viewerparts.h"

#include "platform/filechannel.h"
#include "platform/fonts.h"
#include "platform/messagebox.h"
#include "platform/twips.h"
#include "shell/frame.h"
#include "rules/session.h"

#include <QTimer>

namespace terravale {

const QString kPageNotShown = QStringLiteral("This page could not be shown because its file is missing or damaged.");

QString pageFile(const QString &prefix, int page, bool print)
{
    if (page < 1 || page > 5)
        return {};
    return (print ? QStringLiteral("wmf2\\") : QStringLiteral("wmf\\")) + prefix + QChar(u'a' + (page - 1))
           + QStringLiteral(".wmf");
}

QString logoFrameFile(int frame)
{
    return QStringLiteral("logo\\quil%1.gif").arg(frame, 4, 10, QLatin1Char('0'));
}

QString pageCaption(int page, int pages)
{
    return QStringLiteral("Page") + numText(page) + QStringLiteral(" of") + numText(pages);
}

void addPageButtons(QWidget *parent, LabelArray &row, const std::function<void(int)> &onClick)
{
    addLabelButtons(parent, row,
                    {
                        {int(PageButton::Print), 10680, 120, 1125, 495, "Print"},
                        {int(PageButton::Exit), 10680, 7920, 1125, 495, "Exit"},
                        {int(PageButton::NextPage), 6720, 7920, 2685, 495, "Next Page"},
                        {int(PageButton::PreviousPage), 1320, 7920, 2685, 495, "Previous Page"},
                    },
                    15.75, onClick, Hover::None);
}

Label *makePageCaption(QWidget *parent)
{
    auto *label = new Label(parent);
    label->setGeometryTw(4200, 7920, 2295, 495);
    label->setForeColor(QColor(0, 0, 0));
    label->setBackColor(QColor(255, 255, 255));
    label->setOpaque(true);
    label->setBorder(true);
    label->setAlignment(Qt::AlignHCenter);
    label->setFont(designFont(QStringLiteral("Tahoma"), 15.75, true));
    return label;
}

Label *makeMissingPageLabel(QWidget *parent)
{
    auto *label = new Label(parent);
    label->setGeometryTw(1200, 3000, 8400, 1200);
    label->setForeColor(QColor(255, 255, 255));
    label->setAlignment(Qt::AlignHCenter);
    label->setFont(designFont(QStringLiteral("Tahoma"), 15.75, true));
    label->setCaption(kPageNotShown);
    label->hide();
    return label;
}

bool loadPagePictures(Picture &screenPicture, Picture &printPicture, const QString &screenFile, const QString &printFile)
{
    bool shown = true;
    for (auto [picture, file] : {std::pair{&screenPicture, screenFile}, std::pair{&printPicture, printFile}}) {
        try {
            picture->load(file);
        } catch (const FileError &) {
            picture->clear();
            shown = shown && picture != &screenPicture;
        }
    }
    return shown;
}

void printPicture(const Picture &printVersion)
{
    if (!printVersion.picture()) {
        msgBox(kPageNotShown);
        return;
    }
    printPage(printVersion.picture());
}

teacher::teacher() : Screen(QStringLiteral("teacher"))
{
    Image1 = new Picture(this, Picture::Mode::AutoSize);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->move(px(120), 0);
    Image2 = new Picture(this, Picture::Mode::AutoSize);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->move(0, 0);
    Image2->hide();
    missingPage = makeMissingPageLabel(this);

    Picture1 = new Picture(this, Picture::Mode::Clip);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setGeometry(twipRect(8520, 4320, 1800, 1800));
    Picture1->hide();
    Picture2 = new Picture(this, Picture::Mode::Clip);
    Picture2->setObjectName(QStringLiteral("Picture2"));
    Picture2->setGeometry(twipRect(8550, 6240, 1800, 1335));
    Picture2->hide();

    addPageButtons(this, Label3, [this](int i) { Label3_Click(i); });
    Label3(PageButton::PreviousPage).setEnabled(false);
    Label1 = makePageCaption(this);
    setExitAction([this] { Label3_Click(int(PageButton::Exit)); });

    Timer1 = new QTimer(this);
    Timer1->setInterval(25);
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1_Timer(); });
}

void teacher::formLoad()
{
    setupform(*this);
    Session &s = session();
    if (s.numpages == 1) {
        Label1->hide();
        Label3(PageButton::NextPage).hide();
        Label3(PageButton::PreviousPage).hide();
    }
    s.pagenum = 1;
    Label1->setCaption(pageCaption(s.pagenum, s.numpages));
}

void teacher::loadPage(const QString &screenFile, const QString &printFile)
{
    const bool ok = loadPagePictures(*Image1, *Image2, screenFile, printFile);
    missingPage->setVisible(!ok);
}

void teacher::refresh()
{
    Session &s = session();
    if (s.pagenum == s.numpages)
        Label3(PageButton::NextPage).setEnabled(false);
    if (s.pagenum == 1)
        Label3(PageButton::PreviousPage).setEnabled(false);
    loadPage(pageFile(s.pageprefix, s.pagenum, false), pageFile(s.pageprefix, s.pagenum, true));
    Label1->setCaption(pageCaption(s.pagenum, s.numpages));
}

void teacher::Label3_Click(int index)
{
    Session &s = session();
    switch (PageButton(index)) {
    case PageButton::Print:
        printPicture(*Image2);
        break;
    case PageButton::Exit:
        unloadForm<teacher>();
        break;
    case PageButton::NextPage:
        ++s.pagenum;
        Label3(PageButton::PreviousPage).setEnabled(true);
        refresh();
        break;
    case PageButton::PreviousPage:
        --s.pagenum;
        Label3(PageButton::NextPage).setEnabled(true);
        refresh();
        break;
    default:
        break;
    }
}

void teacher::Timer1_Timer()
{
    Session &s = session();
    s.logoframe = (s.logoframe + 1) % 20;
    const QString file = logoFrameFile(s.logoframe);
    auto frame = m_logoFrames.constFind(file);
    if (frame == m_logoFrames.constEnd()) {
        try {
            frame = m_logoFrames.insert(file, loadPicture(file));
        } catch (const FileError &) {
            // A missing frame is skipped; the previous one stays.
        }
    }
    if (frame != m_logoFrames.constEnd()) {
        Picture1->setPicture(*frame);
        m_logoFile = file;
    }
    Picture1->show();
    Picture2->show();
}

void openPages(int pages, const QString &prefix, const QString &screenFile, const QString &printFile)
{
    Session &s = session();
    s.numpages = pages;
    s.pageprefix = prefix;
    teacher &viewer = form<teacher>();
    viewer.loadPage(screenFile, printFile);
    viewer.showInFront();
}

void openAcknowledgments()
{
    teacher &viewer = form<teacher>();
    viewer.Label1->hide();
    viewer.Label3(PageButton::NextPage).hide();
    viewer.Label3(PageButton::PreviousPage).hide();
    try {
        viewer.Picture2->load(QStringLiteral("logo\\quillmark2.bmp"));
    } catch (const FileError &) {
        // The page is still worth showing without its logo.
    }
    viewer.loadPage(QStringLiteral("wmf\\acknowledgments.wmf"), QStringLiteral("wmf2\\acknowledgments.wmf"));
    viewer.setBackColor(QColor(49, 130, 212));
    viewer.Timer1->start();
    viewer.showInFront();
}

} // namespace terravale
