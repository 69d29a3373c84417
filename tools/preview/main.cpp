// Renders a topic's screens offscreen, and checks its data, while its content is written.
//   terravale-preview check <topic.json> [<data dir>]
//   terravale-preview hub <topic.json> <data dir> <out.png>
//   terravale-preview activity <topic.json> lab|ord <data dir> <out.png> [placed]
//   terravale-preview quiz <topic.json> <data dir> <out.png> [<question 1-10>]
//   terravale-preview svg <file.svg> <out.png>
#include "activities/activityscreen.h"
#include "platform/filechannel.h"
#include "platform/fonts.h"
#include "platform/twips.h"
#include "quiz/multiple.h"
#include "rules/questionset.h"
#include "rules/session.h"
#include "topics/topichub.h"
#include "rules/topictable.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>
#include <cstdlib>

using namespace terravale;

namespace {

int usage()
{
    std::fprintf(stderr, "usage: terravale-preview check <topic.json> [<data dir>]\n"
                         "       terravale-preview hub <topic.json> <data dir> <out.png>\n"
                         "       terravale-preview activity <topic.json> lab|ord <data dir> <out.png> [placed]\n"
                         "       terravale-preview quiz <topic.json> <data dir> <out.png> [<question>]\n"
                         "       terravale-preview svg <file.svg> <out.png>\n");
    return 2;
}

TopicDef readTopic(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw TopicError(QStringLiteral("cannot read ") + path);
    return parseTopic(file.readAll());
}

// The folder the tool was started in: outputs are relative to it, not to the data folder.
QString &startFolder()
{
    static QString folder = QDir::currentPath();
    return folder;
}

bool save(QWidget &widget, const QString &png)
{
    return widget.grab().save(QDir(startFolder()).absoluteFilePath(png));
}

int check(const TopicDef &topic, const QString &dataDir)
{
    int faults = 0;
    for (const ActivityDef *def : {&topic.labelling, &topic.ordering}) {
        for (const QString &problem : activityProblems(*def)) {
            std::printf("%s: %s\n", qPrintable(def->form), qPrintable(problem));
            ++faults;
        }
    }
    if (!dataDir.isEmpty()) {
        QDir::setCurrent(dataDir);
        try {
            const QuestionSet set = readQuestionSetFile(topic.questionFile);
            for (int n = 1; n <= 10; ++n) {
                if (correctChoice(set.correct[n]) == 0) {
                    std::printf("question %d: the correct-choice line is not a digit 1 to 4\n", n);
                    ++faults;
                }
            }
        } catch (const std::exception &error) {
            std::printf("%s: %s\n", qPrintable(topic.questionFile), error.what());
            ++faults;
        }
    }
    std::printf("%s: %d problem(s)\n", qPrintable(topic.id), faults);
    return faults == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    registerFonts();
    startFolder();
    const QStringList args = app.arguments();
    if (args.size() < 3)
        return usage();
    const QString command = args[1];

    if (command == u"svg" && args.size() == 4) {
        QSvgRenderer svg(args[2]);
        if (!svg.isValid())
            return 1;
        QImage image(svg.defaultSize(), QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        svg.render(&painter);
        painter.end();
        return image.save(args[3]) ? 0 : 1;
    }

    try {
        const TopicDef topic = readTopic(args[2]);
        if (command == u"check")
            return check(topic, args.size() > 3 ? args[3] : QString());
        if (args.size() < 5)
            return usage();

        if (command == u"hub") {
            QDir::setCurrent(args[3]);
            TopicHub hub(topic);
            hub.formLoad();
            return save(hub, args[4]) ? 0 : 1;
        }
        if (command == u"activity" && args.size() >= 6) {
            const ActivityDef &def = args[3] == u"lab" ? topic.labelling : topic.ordering;
            QDir::setCurrent(args[4]);
            ActivityScreen screen(def);
            screen.formLoad();
            screen.Label6->setCaption(topic.title);
            if (args.size() > 6 && args[6] == u"placed") {
                for (int i = 0; i < int(def.items.size()); ++i) {
                    screen.Label2(i).moveTw(def.items[size_t(i)].boxLeft, def.items[size_t(i)].boxTop);
                    screen.Label2(i).raise();
                }
            }
            return save(screen, args[5]) ? 0 : 1;
        }
        if (command == u"quiz") {
            QDir::setCurrent(args[3]);
            loadQuestionFile(topic.questionFile);
            multiple &quiz = form<multiple>();
            try {
                quiz.Picture1->load(topic.quizPicture);
            } catch (const FileError &) {
                std::fprintf(stderr, "no quiz picture %s\n", qPrintable(topic.quizPicture));
            }
            quiz.Label5->setCaption(QStringLiteral("Terravale"));
            session().questno = args.size() > 5 ? qBound(1, args[5].toInt(), 10) : 1;
            quiz.showquest();
            const bool ok = save(quiz, args[4]);
            unloadAllForms();
            return ok ? 0 : 1;
        }
    } catch (const std::exception &error) {
        std::fprintf(stderr, "terravale-preview: %s\n", error.what());
        return 1;
    }
    return usage();
}
