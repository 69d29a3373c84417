#include "activityscreen.h"

#include "platform/fonts.h"
#include "platform/twips.h"
#include "shell/frame.h"
#include "rules/session.h"
#include "shell/sound.h"

#include "quiz/welldone.h"

#include <QFontMetrics>
#include <typeindex>

namespace terravale {

namespace {

// An empty bordered rectangle: a target box or a home slot.
Label *emptyFrame(QWidget *parent, int index, const TwRect &r)
{
    auto *frame = new Label(parent, index);
    frame->setGeometryTw(r.left, r.top, r.width, r.height);
    frame->setBorder(true);
    frame->setOpaque(false);
    return frame;
}

int vbButtons(Qt::MouseButtons buttons)
{
    int value = 0;
    if (buttons & Qt::LeftButton)
        value += 1;
    if (buttons & Qt::RightButton)
        value += 2;
    if (buttons & Qt::MiddleButton)
        value += 4;
    return value;
}

} // namespace

ActivityScreen::ActivityScreen(const ActivityDef &def)
    : Screen(def.form), m_def(def), m_engine(engineFor(def))
{
    for (int i = 0; i < int(def.pictures.size()); ++i) {
        const PictureDef &p = def.pictures[size_t(i)];
        auto *picture = new Picture(this, Picture::Mode::Stretch);
        picture->setGeometry(twipRect(p.frame.left, p.frame.top, p.frame.width, p.frame.height));
        Image1.add(i, picture);
    }

    for (const StaticTextDef &t : def.texts) {
        auto *text = new Label(this, t.index);
        text->setGeometryTw(t.rect.left, t.rect.top, t.rect.width, t.rect.height);
        text->setCaption(t.text);
        text->setFont(designFont(t.family, t.points, t.bold));
        text->setForeColor(t.color);
        text->setAlignment(t.align);
        text->setOpaque(false);
        // A wrapped text a line taller than its frame would lose its last descenders: let it grow.
        const QRect need = QFontMetrics(text->font())
                               .boundingRect(QRect(0, 0, text->width(), 100000),
                                             int(t.align | Qt::AlignTop | Qt::TextWordWrap), t.text);
        if (need.height() > text->height())
            text->resize(text->width(), need.height());
        switch (t.control) {
        case StaticTextDef::Label5: Label5.add(t.index, text); break;
        case StaticTextDef::Label6: Label6 = text; break;
        case StaticTextDef::Label7: Label7 = text; break;
        case StaticTextDef::Label8: Label8.add(t.index < 0 ? 0 : t.index, text); break;
        case StaticTextDef::Label9: Label9 = text; break;
        }
    }

    const int n = m_engine.count();
    for (int i = 0; i < n; ++i) {
        auto *box = emptyFrame(this, i, m_engine.box(i));
        box->setCaption(def.items[size_t(i)].answer);
        Label1.add(i, box);
        Label4.add(i, emptyFrame(this, i, m_engine.slot(i)));
    }

    for (int i = 0; i < n; ++i) {
        auto *answer = new Label(this, i);
        const TwRect &r = m_engine.label(i);
        answer->setGeometryTw(r.left, r.top, r.width, r.height);
        answer->makeButton(def.labelPoints);
        answer->setAlignment(def.labelAlign);
        answer->setCursor(Qt::OpenHandCursor);
        // Always filled: a move can be blitted instead of repainted.
        answer->setAttribute(Qt::WA_OpaquePaintEvent);
        Label2.add(i, answer);
        connect(answer, &Label::mousePressed, this, [this](int index, Qt::MouseButton, QPointF) {
            Label2(index).raise();
            m_engine.pickUp(index);
        });
        connect(answer, &Label::mouseMoved, this, [this](int index, Qt::MouseButtons buttons, QPointF local) {
            const Label &label = Label2(index);
            const float x = float(label.x() * kTwipsPerPixel + local.x()) - label.leftTw();
            const float y = float(label.y() * kTwipsPerPixel + local.y()) - label.topTw();
            Label2_MouseMove(index, vbButtons(buttons), x, y);
        });
        connect(answer, &Label::mouseReleased, this, [this](int index, Qt::MouseButton, QPointF) {
            Label2_MouseUp(index);
        });
    }

    addLabelButtons(this, Label3,
                    {
                        {int(ActivityButton::Exit), 10560, 7920, 1245, 495, "Exit"},
                        {int(ActivityButton::StartAgain), 3360, 7920, 2565, 495, "Start Again"},
                        {int(ActivityButton::CheckScore), 6000, 7920, 2565, 495, "Check Score"},
                    },
                    15.75, [this](int i) { Label3_Click(i); });
    Label3(ActivityButton::CheckScore).hide();
    setExitAction([this] { Label3_Click(int(ActivityButton::Exit)); });
}

void ActivityScreen::formLoad()
{
    setupform(*this);
    if (m_def.background)
        setBackColor(*m_def.background);
    session().outof = m_engine.count();

    for (int i = 0; i < int(m_def.pictures.size()); ++i) {
        try {
            Image1(i).load(m_def.pictures[size_t(i)].file);
        } catch (...) {
            // A missing picture leaves its frame empty; the activity works without it.
        }
    }

    for (int i = 0; i < m_engine.count(); ++i) {
        Label &answer = Label2(i);
        Label &slot = Label4(i);
        Label &box = Label1(i);
        slot.setGeometryTw(slot.leftTw(), slot.topTw(), answer.widthTw(), answer.heightTw());
        answer.setCaption(box.caption());
        box.setCaption(QString());
        box.setOpaque(false);
        box.show();
        slot.moveTw(answer.leftTw(), answer.topTw());
    }
    Label3(2).hide();
}

void ActivityScreen::syncLabel(int index)
{
    const TwRect &r = m_engine.label(index);
    Label2(index).moveTw(r.left, r.top);
}

void ActivityScreen::Label2_MouseMove(int index, int button, float x, float y)
{
    if (m_engine.drag(index, button, x, y))
        syncLabel(index);
}

void ActivityScreen::Label2_MouseUp(int index)
{
    const int snaps = m_engine.drop(index);
    syncLabel(index);
    for (int i = 0; i < snaps; ++i)
        playclip(QStringLiteral("wav\\thud3.wav"));
    if (m_engine.complete())
        Label3(ActivityButton::CheckScore).show();
}

void ActivityScreen::Label3_Click(int index)
{
    session().score = 0;
    switch (ActivityButton(index)) {
    case ActivityButton::Exit:
        unloadScreen(*this);
        break;
    case ActivityButton::StartAgain:
        m_engine.startAgain();
        for (int i = 0; i < m_engine.count(); ++i)
            syncLabel(i);
        Label3(ActivityButton::CheckScore).hide();
        break;
    case ActivityButton::CheckScore:
        // Out of this activity's own items, whatever another activity's load set since.
        session().outof = m_engine.count();
        session().score = m_engine.mark();
        freshForm<Welldone>().showInFront();
        break;
    default:
        break;
    }
    playclip(kClickClip);
}

void ActivityScreen::formMouseMove(Qt::MouseButtons, QPointF)
{
    clearButtons(Label3, 0, 2);
}

ActivityScreen &activityScreen(const ActivityDef &def)
{
    return static_cast<ActivityScreen &>(namedForm(def.form, [&def] { return new ActivityScreen(def); }));
}

ActivityScreen *loadedActivity(const QString &form)
{
    return qobject_cast<ActivityScreen *>(loadedNamedForm(form));
}

} // namespace terravale
