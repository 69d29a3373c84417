#pragma once
#include "platform/label.h"
#include "platform/picture.h"

namespace terravale {

// The page viewers' buttons, by their Label3 index.
enum class PageButton : int { Print = 0, Exit = 1, NextPage = 2, PreviousPage = 3 };

// Parts the page viewer and the guide share.
// The Label3 row: Print, Exit, Next Page, Previous Page; the pointer does not light them.
void addPageButtons(QWidget *parent, LabelArray &row, const std::function<void(int)> &onClick);
Label *makePageCaption(QWidget *parent);       // black on white, bordered, at 4200, 7920
Label *makeMissingPageLabel(QWidget *parent);  // hidden message over the page area
// Loads both versions of a page; a version that cannot be read leaves its picture empty.
// Returns whether the screen version could be shown.
bool loadPagePictures(Picture &screenPicture, Picture &printPicture, const QString &screenFile, const QString &printFile);
// Prints the print version held by the picture; an empty picture gets the page message.
void printPicture(const Picture &printVersion);

} // namespace terravale
