#include "teacher.h"

#include "platform/filechannel.h"
#include "platform/twips.h"
#include "shell/frame.h"
#include "rules/session.h"

#include <QTimer>

namespace terravale {

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

teacher::teacher() : PageViewer(QStringLiteral("teacher"))
{
    Picture1 = new Picture(this, Picture::Mode::Clip);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setGeometry(twipRect(8520, 4320, 1800, 1800));
    Picture1->hide();
    Picture2 = new Picture(this, Picture::Mode::Clip);
    Picture2->setObjectName(QStringLiteral("Picture2"));
    Picture2->setGeometry(twipRect(8550, 6240, 1800, 1335));
    Picture2->hide();

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
    loadPageFiles(screenFile, printFile);
}

int teacher::pageCount() const
{
    return session().numpages;
}

void teacher::showPage(int page)
{
    const QString &prefix = session().pageprefix;
    loadPage(pageFile(prefix, page, false), pageFile(prefix, page, true));
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
