#include "topictable.h"

#include "platform/fonts.h"

#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRectF>
#include <algorithm>

static void initTopicResources()
{
    Q_INIT_RESOURCE(topics);
}

namespace terravale {

namespace {

constexpr float kScreenWidth = 12000;
constexpr float kButtonTop = 7920;   // the three activity buttons' top edge

// Reads typed values out of a JSON object, naming the path of whatever is missing or wrong.
class Reader {
public:
    Reader(QJsonObject object, QString path) : m_object(std::move(object)), m_path(std::move(path)) {}

    bool has(const char *key) const { return m_object.contains(QLatin1String(key)); }

    QJsonValue value(const char *key) const
    {
        const QJsonValue v = m_object.value(QLatin1String(key));
        if (v.isUndefined())
            fail(key, QStringLiteral("is missing"));
        return v;
    }
    QString string(const char *key) const
    {
        const QJsonValue v = value(key);
        if (!v.isString())
            fail(key, QStringLiteral("must be a text"));
        return v.toString();
    }
    double number(const char *key) const
    {
        const QJsonValue v = value(key);
        if (!v.isDouble())
            fail(key, QStringLiteral("must be a number"));
        return v.toDouble();
    }
    bool boolean(const char *key, bool fallback) const
    {
        if (!has(key))
            return fallback;
        const QJsonValue v = value(key);
        if (!v.isBool())
            fail(key, QStringLiteral("must be true or false"));
        return v.toBool();
    }
    Reader object(const char *key) const
    {
        const QJsonValue v = value(key);
        if (!v.isObject())
            fail(key, QStringLiteral("must be an object"));
        return Reader(v.toObject(), child(key));
    }
    QJsonArray array(const char *key) const
    {
        const QJsonValue v = value(key);
        if (!v.isArray())
            fail(key, QStringLiteral("must be a list"));
        return v.toArray();
    }
    // A list of exactly n numbers.
    std::vector<float> numbers(const char *key, int n) const
    {
        const QJsonArray list = array(key);
        if (list.size() != n)
            fail(key, QStringLiteral("must hold %1 numbers").arg(n));
        std::vector<float> out;
        for (const QJsonValue &v : list) {
            if (!v.isDouble())
                fail(key, QStringLiteral("must hold numbers"));
            out.push_back(float(v.toDouble()));
        }
        return out;
    }
    QColor colour(const char *key) const
    {
        const std::vector<float> rgb = numbers(key, 3);
        for (float c : rgb) {
            if (c < 0 || c > 255)
                fail(key, QStringLiteral("must hold red, green and blue from 0 to 255"));
        }
        return QColor(int(rgb[0]), int(rgb[1]), int(rgb[2]));
    }
    Qt::Alignment alignment(const char *key) const
    {
        const QString a = string(key);
        if (a == u"left")
            return Qt::AlignLeft;
        if (a == u"centre")
            return Qt::AlignHCenter;
        if (a == u"right")
            return Qt::AlignRight;
        fail(key, QStringLiteral("must be left, centre or right"));
    }
    Reader element(const QJsonArray &list, int i, const char *key) const
    {
        if (!list.at(i).isObject())
            fail(key, QStringLiteral("must hold objects"));
        return Reader(list.at(i).toObject(), child(key) + QStringLiteral("[%1]").arg(i));
    }

    [[noreturn]] void fail(const char *key, const QString &what) const
    {
        throw TopicError(child(key) + QLatin1Char(' ') + what);
    }

private:
    QString child(const char *key) const
    {
        return m_path.isEmpty() ? QString::fromLatin1(key) : m_path + QLatin1Char('.') + QLatin1String(key);
    }
    QJsonObject m_object;
    QString m_path;
};

StaticTextDef::Control textControl(const Reader &r)
{
    const QString name = r.string("control");
    static const std::pair<const char *, StaticTextDef::Control> controls[] = {
        {"Label5", StaticTextDef::Label5}, {"Label6", StaticTextDef::Label6}, {"Label7", StaticTextDef::Label7},
        {"Label8", StaticTextDef::Label8}, {"Label9", StaticTextDef::Label9}};
    for (const auto &[text, control] : controls) {
        if (name == QLatin1String(text))
            return control;
    }
    r.fail("control", QStringLiteral("must be Label5, Label6, Label7, Label8 or Label9"));
}

ActivityDef parseActivity(const Reader &r, const QString &form)
{
    ActivityDef def;
    def.form = form;
    const std::vector<float> size = r.numbers("itemSize", 2);
    def.itemWidth = size[0];
    def.itemHeight = size[1];
    const Reader font = r.object("labelFont");
    def.labelPoints = font.number("points");
    def.labelAlign = font.alignment("align");
    if (r.has("background"))
        def.background = r.colour("background");

    const QJsonArray items = r.array("items");
    for (int i = 0; i < items.size(); ++i) {
        const Reader item = r.element(items, i, "items");
        const std::vector<float> box = item.numbers("box", 2);
        const std::vector<float> slot = item.numbers("slot", 2);
        def.items.push_back({item.string("answer"), box[0], box[1], slot[0], slot[1]});
    }
    const QJsonArray pictures = r.array("pictures");
    for (int i = 0; i < pictures.size(); ++i) {
        const Reader picture = r.element(pictures, i, "pictures");
        const std::vector<float> f = picture.numbers("frame", 4);
        def.pictures.push_back({picture.string("file"), {f[0], f[1], f[2], f[3]}});
    }
    const QJsonArray texts = r.array("texts");
    for (int i = 0; i < texts.size(); ++i) {
        const Reader text = r.element(texts, i, "texts");
        const std::vector<float> rect = text.numbers("rect", 4);
        const Reader f = text.object("font");
        def.texts.push_back({textControl(text), text.has("index") ? int(text.number("index")) : -1,
                             text.string("text"), {rect[0], rect[1], rect[2], rect[3]}, f.string("family"),
                             f.number("points"), f.boolean("bold", false), text.colour("color"),
                             text.alignment("align")});
    }
    return def;
}

PageSetDef parsePages(const Reader &r)
{
    PageSetDef pages;
    pages.pages = int(r.number("pages"));
    if (pages.pages < 1 || pages.pages > 5)
        r.fail("pages", QStringLiteral("must be 1 to 5"));
    pages.prefix = r.string("prefix");
    if (r.has("firstPage"))
        pages.firstPage = r.string("firstPage");
    return pages;
}

std::vector<TopicDef> loadTable()
{
    initTopicResources();
    std::vector<TopicDef> table;
    const QDir folder(QStringLiteral(":/topics"));
    for (const QString &name : folder.entryList({QStringLiteral("*.json")}, QDir::Files, QDir::Name)) {
        QFile file(folder.filePath(name));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        try {
            table.push_back(parseTopic(file.readAll()));
        } catch (const TopicError &error) {
            // Built-in files are checked by the tests; a broken one leaves its menu entry disabled.
            qWarning("topic %s: %s", qPrintable(name), error.what());
        }
    }
    std::sort(table.begin(), table.end(),
              [](const TopicDef &a, const TopicDef &b) { return a.menuIndex < b.menuIndex; });
    return table;
}

QRectF rectOf(const TwRect &r) { return QRectF(r.left, r.top, r.width, r.height); }

} // namespace

QString PageSetDef::firstScreenFile() const
{
    return QStringLiteral("wmf\\") + (firstPage.isEmpty() ? prefix + QLatin1Char('a') : firstPage)
           + QStringLiteral(".wmf");
}

QString PageSetDef::firstPrintFile() const
{
    return QStringLiteral("wmf2\\") + (firstPage.isEmpty() ? prefix + QLatin1Char('a') : firstPage)
           + QStringLiteral(".wmf");
}

QString TopicDef::questionSetName() const
{
    QString name = questionFile.section(QLatin1Char('\\'), -1).section(QLatin1Char('/'), -1);
    if (name.endsWith(QStringLiteral(".txt"), Qt::CaseInsensitive))
        name.chop(4);
    return name;
}

TopicDef parseTopic(const QByteArray &json)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError)
        throw TopicError(QStringLiteral("not JSON at offset %1: %2").arg(error.offset).arg(error.errorString()));
    if (!document.isObject())
        throw TopicError(QStringLiteral("the file must hold one object"));
    const Reader r(document.object(), QString());

    TopicDef topic;
    topic.id = r.string("id");
    topic.menuIndex = int(r.number("menuIndex"));
    topic.title = r.string("title");
    topic.form = r.string("form");
    topic.picture = r.string("picture");
    const Reader placement = r.object("picturePlacement");
    topic.centrePicture = placement.boolean("centre", false);
    if (!topic.centrePicture)
        topic.pictureLeft = float(placement.number("left"));
    topic.pictureTop = float(placement.number("top"));
    topic.pictureBorder = placement.boolean("border", false);
    topic.questionFile = r.string("questionFile");
    topic.quizPicture = r.string("quizPicture");
    topic.keyFacts = parsePages(r.object("keyFacts"));
    topic.notes = parsePages(r.object("notes"));
    topic.labelling = parseActivity(r.object("labelling"), topic.form + QStringLiteral("lab"));
    topic.ordering = parseActivity(r.object("ordering"), topic.form + QStringLiteral("ord"));
    return topic;
}

const std::vector<TopicDef> &topicTable()
{
    static const std::vector<TopicDef> table = loadTable();
    return table;
}

const TopicDef *topicForMenuEntry(int menuIndex)
{
    for (const TopicDef &topic : topicTable()) {
        if (topic.menuIndex == menuIndex)
            return &topic;
    }
    return nullptr;
}

const TopicDef *topicByForm(const QString &form)
{
    for (const TopicDef &topic : topicTable()) {
        if (topic.form == form)
            return &topic;
    }
    return nullptr;
}

const ActivityDef &activityDef(const QString &form)
{
    for (const TopicDef &topic : topicTable()) {
        for (const ActivityDef *def : {&topic.labelling, &topic.ordering}) {
            if (def->form == form)
                return *def;
        }
    }
    throw std::out_of_range("no activity has the form " + form.toStdString());
}

QStringList topicQuestionSetNames()
{
    QStringList names;
    for (const TopicDef &topic : topicTable())
        names << topic.questionSetName();
    return names;
}

QStringList activityProblems(const ActivityDef &def)
{
    QStringList problems;
    const int n = int(def.items.size());
    if (n < 4 || n > 9)
        problems << QStringLiteral("%1 items; an activity has 4 to 9").arg(n);

    struct Place {
        QString name;
        TwRect rect;
    };
    std::vector<Place> places;
    for (int i = 0; i < n; ++i) {
        const ActivityItemDef &item = def.items[size_t(i)];
        places.push_back({QStringLiteral("box %1").arg(i), {item.boxLeft, item.boxTop, def.itemWidth, def.itemHeight}});
        places.push_back({QStringLiteral("slot %1").arg(i), {item.slotLeft, item.slotTop, def.itemWidth, def.itemHeight}});
    }
    for (const Place &p : places) {
        const TwRect &r = p.rect;
        if (r.left < 0 || r.top < 0 || r.left + r.width > kScreenWidth || r.top + r.height > kButtonTop)
            problems << p.name + QStringLiteral(" is off the screen or under the buttons");
    }
    for (const Place &a : places) {
        for (const Place &b : places) {
            if (&a != &b && inSnapWindow(b.rect, a.rect.left, a.rect.top))
                problems << a.name + QStringLiteral(" lies in the snap window of ") + b.name;
        }
    }
    for (const PictureDef &picture : def.pictures) {
        if (!rectOf(picture.frame).intersects(QRectF(0, 0, kScreenWidth, 9000)))
            problems << picture.file + QStringLiteral(" is off the screen");
    }

    registerFonts();
    const QFont labelFont = designFont(QStringLiteral("Tahoma"), def.labelPoints, true);
    const QFontMetrics metrics(labelFont);
    // The label draws its text inside a two-pixel border.
    const QRect inside(0, 0, int(def.itemWidth / 15) - 4, int(def.itemHeight / 15) - 4);
    for (const ActivityItemDef &item : def.items) {
        const QRect need = metrics.boundingRect(QRect(inside.topLeft(), QSize(inside.width(), 100000)),
                                                int(def.labelAlign | Qt::AlignTop | Qt::TextWordWrap), item.answer);
        if (need.width() > inside.width() || need.height() > inside.height())
            problems << QStringLiteral("\"%1\" does not fit its box").arg(item.answer);
    }

    int headings = 0;
    for (const StaticTextDef &text : def.texts) {
        if (text.control != StaticTextDef::Label6)
            continue;
        ++headings;
        if (!text.text.isEmpty())
            problems << QStringLiteral("the heading Label6 must have no text of its own");
    }
    if (headings != 1)
        problems << QStringLiteral("%1 headings (Label6); an activity has one").arg(headings);
    for (const StaticTextDef &text : def.texts) {
        if (text.text.isEmpty())
            continue;
        const QFontMetrics m(designFont(text.family, text.points, text.bold));
        const int width = int(text.rect.width / 15);
        const QRect need = m.boundingRect(QRect(0, 0, width, 100000),
                                          int(text.align | Qt::AlignTop | Qt::TextWordWrap), text.text);
        if (need.width() > width || text.rect.left + need.width() * 15 > kScreenWidth)
            problems << QStringLiteral("\"%1\" runs past its frame").arg(text.text);
    }
    return problems;
}

} // namespace terravale
