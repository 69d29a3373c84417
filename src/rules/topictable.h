#pragma once
#include "rules/activitydef.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <stdexcept>
#include <vector>

namespace terravale {

// A page set of the page viewer: pages 1..count, screen files "wmf\" + prefix + letter + ".wmf"
// and print files in "wmf2\"; firstPage, when given, names a single page without a letter.
struct PageSetDef {
    int pages = 0;
    QString prefix;
    QString firstPage;

    QString firstScreenFile() const;
    QString firstPrintFile() const;
};

// One row of the topic table: what a menu entry opens and everything its hub offers.
struct TopicDef {
    QString id;
    int menuIndex = -1;
    QString title;
    QString form;               // hub; the activities are form + "lab" and form + "ord"
    QString picture;
    bool centrePicture = false; // centred across the screen (left is then ignored)
    float pictureLeft = 0, pictureTop = 0;
    bool pictureBorder = false;
    QString questionFile;
    QString quizPicture;
    PageSetDef keyFacts;
    PageSetDef notes;
    ActivityDef labelling;
    ActivityDef ordering;

    // The name of the question set file without folder and ".txt" ("Rubbish").
    QString questionSetName() const;
};

class TopicError : public std::runtime_error {
public:
    explicit TopicError(const QString &message) : std::runtime_error(message.toStdString()) {}
    QString message() const { return QString::fromStdString(what()); }
};

// Reads one topic file; throws TopicError naming the first missing or malformed entry.
TopicDef parseTopic(const QByteArray &json);

// Every topic the program carries, in menu order, read once from the built-in topic files.
const std::vector<TopicDef> &topicTable();

// The topic of a menu entry or with a hub form name; null when there is none.
const TopicDef *topicForMenuEntry(int menuIndex);
const TopicDef *topicByForm(const QString &form);

// The activity of the table with this form name ("rubbishlab"); throws std::out_of_range for none.
const ActivityDef &activityDef(const QString &form);

// Names of the topics' question set files, which a worksheet may not take as its title.
QStringList topicQuestionSetNames();

// What keeps an activity from working as a pupil expects: places off the screen or under the
// buttons, snap windows that catch a neighbour, answer texts cut off in their boxes.
QStringList activityProblems(const ActivityDef &def);

} // namespace terravale
