#pragma once
#include "rules/questionset.h"

#include <QString>
#include <array>

namespace terravale {

// The program-wide record through which screens pass data; zeroed at start, never saved.
// Numbers start at 0 (an unset number behaves as 0); arrays are indexed from 1, and an index
// outside an array's bounds throws std::out_of_range (use .at()).
struct Session {
    int questno = 0;
    int catpage = 0;
    QuestionSet set;   // the loaded question set; its title is the worksheet's title
    std::array<int, 11> gotright{};
    int score = 0;
    int outof = 0;
    QString quiztitle;
    int numsheets = 0;
    std::array<QString, 1001> sheetnames;
    QString delsheet;
    int soundon = 0;
    int pagenum = 0;
    int numpages = 0;
    int logoframe = 0;
    QString pageprefix;
};

Session &session();

// Resets the record to its start-up state (tests).
void resetSession();

// A number as captions and printed lines write it: non-negative numbers get one leading blank.
QString numText(int number);

} // namespace terravale
