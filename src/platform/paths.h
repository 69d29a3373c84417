#pragma once
#include <QString>

namespace terravale {

// Resolves a program path ("Images\wallsm.jpg", "multiple/track.txt") against the working
// directory: '\' and '/' both separate, and each folder and file name matches an existing
// entry without regard to case. Names that do not exist keep their spelling, so the result
// is also the path to create.
QString resolvePath(const QString &programPath);

// True when the path names an existing regular file.
bool fileExists(const QString &programPath);

} // namespace terravale
