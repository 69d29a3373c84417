#pragma once
#include <QString>
#include <QStringList>
#include <array>

namespace terravale {

struct Session;

// Path of the worksheet catalogue and the folder that holds it and the worksheets.
inline const QString kCataloguePath = QStringLiteral("multiple\\track.txt");
inline const QString kWorksheetFolder = QStringLiteral("multiple");

// The catalogue lists at most this many titles (sheetnames has room for 1 to 1000).
constexpr int kMaxWorksheets = 1000;

// True when "multiple/" + title + ".txt" names a file inside the worksheet folder: the title holds
// no folder separator, no "..", no drive ("C:") and no control character.
bool staysInWorksheetFolder(const QString &title);

// "multiple/" + title + ".txt"; throws FileError for a title that would leave the folder.
QString worksheetPath(const QString &title);

// The question files of the topics the program ships ("multiple\\Rubbish.txt", ...). Worksheets
// may not take their names.
QStringList topicQuestionFiles();
// Adds a topic's question file to that list (a topic table calls this for each of its rows).
void addTopicQuestionFile(const QString &programPath);

// True when a worksheet of this title would replace one of the program's own files in the folder
// (the catalogue, a topic's questions) or take a name Windows keeps for a device. Letter case is
// ignored, as the folder's file names are.
bool reservedTitle(const QString &title);

// Reads the catalogue into numsheets and sheetnames, stopping quietly at the first failure:
// what was read stays, titles beyond 1000 are never stored, and the file is always closed.
void readCatalogueQuietly(Session &session);

// Reads the whole catalogue into numsheets and sheetnames, or throws FileError (missing file,
// bad or negative count, fewer titles than the count, more than 1000 titles). Always closes it.
void readCatalogue(Session &session);

using SheetNames = std::array<QString, 1001>;

// Writes count and names(1..count) as the catalogue, replacing the old file atomically.
void writeCatalogue(const SheetNames &names, int count);

// Creates the folder and an empty catalogue (count 0) when there is no catalogue file yet.
void ensureCatalogue();

// Position (1..numsheets) of the last title equal to `title` (case-sensitive), or 0.
int cataloguePosition(const Session &session, const QString &title);

// Position of a listed title that equals `title` apart from letter case, or 0.
int caseTwinPosition(const Session &session, const QString &title);

// Lists a just-saved title at the end of the catalogue unless it is listed already (fresh read
// first). Returns true when the catalogue was rewritten. Throws FileError or std::out_of_range;
// a title that leaves the folder or is reserved is refused with FileError before anything is read.
bool trackworksheets(Session &session, const QString &title);

// Removes session.delsheet (the last equal entry) from the catalogue after a fresh read and
// rewrites it. A title that is no longer listed leaves the file untouched; returns whether
// an entry was removed. The worksheet's own file stays. Throws FileError.
bool delworksheet(Session &session);

} // namespace terravale
