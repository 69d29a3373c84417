#include "worksheets.h"

#include "rules/authoring.h"
#include "rules/catalogue.h"
#include "wizard.h"

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

#include <QCheckBox>

namespace terravale {

namespace {
const QString kCorrupted = QStringLiteral("This worksheet seems to be corrupted.");

QCheckBox *modeBox(QWidget *parent, const QString &text, double left, const QColor &fore)
{
    auto *box = new QCheckBox(text, parent);
    box->setGeometry(twipRect(left, 120, 2535, 375));
    box->setFont(designFont(QStringLiteral("Tahoma"), 12, true));
    QPalette palette = box->palette();
    palette.setColor(QPalette::WindowText, fore);
    box->setPalette(palette);
    return box;
}
} // namespace

worksheets::worksheets() : Screen(QStringLiteral("worksheets"))
{
    Label1 = new Label(this);
    Label1->setGeometryTw(0, 0, 12000, 780);
    Label1->setCaption(QStringLiteral("Worksheets Catalogue"));
    Label1->setForeColor(kYellow);
    Label1->setFont(designFont(QStringLiteral("Tahoma"), 24, true));
    Label1->setAlignment(Qt::AlignHCenter);

    Check1 = modeBox(this, QStringLiteral("Edit Worksheet"), 120, kYellow);
    Check2 = modeBox(this, QStringLiteral("Delete Worksheet"), 9240, QColor(255, 0, 0));
    connect(Check1, &QCheckBox::clicked, this, [this] { Check1_Click(); });
    connect(Check2, &QCheckBox::clicked, this, [this] { Check2_Click(); });

    const auto label2Click = [this](int i) { Label2_Click(i); };
    addLabelButton(this, Label2, {kCatalogueExit, 10560, 7920, 1245, 495, "Exit"}, 18, label2Click);
    for (int i = 1; i <= kSlots; ++i) {
        const bool left = i <= 12;
        addLabelButton(this, Label2,
                       {i, left ? 120.0f : 6120.0f, float(720 + 600 * ((left ? i : i - 12) - 1)), 5715, 375, nullptr},
                       12, label2Click);
    }

    addLabelButtons(this, Label3,
                    {
                        {int(CataloguePage::Previous), 2640, 7920, 3195, 495, "<< Previous Page"},
                        {int(CataloguePage::Next), 6000, 7920, 3195, 495, "Next Page >>"},
                    },
                    15.75, [this](int i) { Label3_Click(i); }, Hover::None);
    for (const auto &[index, button] : Label3.items())
        button->hide();

    Label4 = new Label(this);
    Label4->setGeometryTw(120, 7920, 1995, 495);
    Label4->setCaption(QStringLiteral("Page 1"));
    Label4->setFont(designFont(QStringLiteral("Tahoma"), 15.75, true));
    Label4->setForeColor(QColor(0, 0, 255));
    Label4->setBackColor(QColor(255, 255, 255));
    Label4->setOpaque(true);
    Label4->setBorder(true);
    Label4->setAlignment(Qt::AlignHCenter);
    setExitAction([this] { Label2_Click(kCatalogueExit); });
}

void worksheets::formLoad()
{
    setupform(*this);
    Session &s = session();
    readCatalogueQuietly(s);
    // The boxes draw no fill of their own, so the screen's blue shows behind them.
    for (QCheckBox *box : {Check1, Check2}) {
        QPalette palette = box->palette();
        palette.setColor(QPalette::Window, kScreenBlue);
        box->setPalette(palette);
    }
    s.catpage = 0;
    for (int i = 1; i <= kSlots; ++i) {
        Label2(i).hide();
        Label2(i).setFont(designFont(QStringLiteral("Tahoma"), 12, true));
    }
    int last = s.numsheets;
    if (s.numsheets >= kSlots + 1) {
        last = kSlots;
        Label3(CataloguePage::Next).show();
    }
    for (int i = 1; i <= last; ++i) {
        Label2(i).setCaption(s.sheetnames.at(i));
        Label2(i).show();
    }
}

void worksheets::workpage()
{
    const Session &s = session();
    const int base = kSlots * s.catpage;
    for (int i = 1; i <= kSlots; ++i) {
        Label2(i).setCaption(QString());
        Label2(i).hide();
    }
    Label3(CataloguePage::Previous).setVisible(s.catpage != 0);
    Label3(CataloguePage::Next).show();
    Label4->setCaption(QStringLiteral("Page") + numText(s.catpage + 1));
    // Paging goes on as long as titles lie beyond the page, so every listed title can be reached.
    int last = base + kSlots;
    if (s.numsheets < base + kSlots + 1) {
        last = s.numsheets;
        Label3(CataloguePage::Next).hide();
    }
    // A damaged count above 1000 still lists only the titles that were stored.
    last = qMin(last, kMaxWorksheets);
    for (int i = base + 1; i <= last; ++i) {
        Label2(i - base).setCaption(s.sheetnames.at(i));
        Label2(i - base).show();
    }
}

void worksheets::Check1_Click()
{
    if (Check1->isChecked())
        Check2->setChecked(false);
}

void worksheets::Check2_Click()
{
    if (Check2->isChecked())
        Check1->setChecked(false);
}

void worksheets::Label3_Click(int index)
{
    Session &s = session();
    if (CataloguePage(index) == CataloguePage::Previous && s.catpage > 0)
        --s.catpage;
    else if (CataloguePage(index) == CataloguePage::Next)
        ++s.catpage;
    workpage();
    playclip(kClickClip);
}

void worksheets::Label2_Click(int index)
{
    if (isCovered())
        return;   // a quick second click, made before the screen the first one opened appeared
    playclip(kClickClip);
    if (index == kCatalogueExit) {
        showMainMenu();
        unloadForm<worksheets>();
        return;
    }
    Session &s = session();
    const QString title = Label2(index).caption();
    try {
        // An entry that would name a file outside the folder is never opened: it cannot be run or
        // edited, and Delete takes only its line out of the catalogue.
        if (staysInWorksheetFolder(title) || !Check2->isChecked()) {
            loadQuestionFile(worksheetPath(title));
        }
        if (Check1->isChecked()) {
            editworksheet();
            return;
        }
        if (Check2->isChecked()) {
            const QString question =
                QStringLiteral("Are you sure that you want to delete the worksheet ") + title + QLatin1Char('?');
            if (msgBox(question, MsgButtons::OkCancel, QStringLiteral(" ")) == MsgResult::Cancel)
                return;
            s.delsheet = title;
            delworksheet(s);
            const int base = kSlots * s.catpage;
            for (int i = 1; i <= kSlots; ++i) {
                Label2(i).hide();
                Label2(i).setCaption(base + i <= kMaxWorksheets ? s.sheetnames.at(base + i) : QString());
            }
            for (int i = 1; i <= kSlots && base + i <= qMin(s.numsheets, kMaxWorksheets); ++i)
                Label2(i).show();
            return;
        }
        const MenuLook menu = mainMenuLook();
        multiple &quiz = freshForm<multiple>();
        quiz.Picture1->setPicture(menu.picture);
        quiz.Label5->setCaption(menu.title);
        quiz.showInFront();
    } catch (const std::exception &) {
        msgBox(kCorrupted);
    }
}

void worksheets::editworksheet()
{
    // A set that names no choice of a question throws before the wizard is touched.
    const WorksheetEntries entries = entriesOf(session().set);
    wizard &w = form<wizard>();
    const bool shortened = w.setEntries(entries);
    w.showInFront();
    if (shortened)
        msgBox(kShortenedMessage);
}

void worksheets::formMouseMove(Qt::MouseButtons, QPointF)
{
    clearButtons(Label2, 0, kSlots);
}

} // namespace terravale
