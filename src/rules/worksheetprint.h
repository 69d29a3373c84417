#pragma once
#include <QString>

namespace terravale {

class Printer;
struct QuestionSet;

// The worksheet header line: product title, 57 spaces, publisher.
QString worksheetHeader();

// Prints `set` as a worksheet under `heading` (its title is set.title; answers are not printed)
// and ends the document. Throws PrintError.
void printWorksheet(Printer &printer, const QString &heading, const QuestionSet &set);

} // namespace terravale
