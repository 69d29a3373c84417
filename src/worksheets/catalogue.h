#pragma once
#include <QString>

namespace terravale {

struct Session;

// Path of the worksheet catalogue.
inline const QString kCataloguePath = QStringLiteral("multiple\\track.txt");

// Reads the catalogue into numsheets and sheetnames, stopping quietly at the first failure:
// what was read stays, titles beyond 1000 are never stored, and the file is always closed.
void readCatalogueQuietly(Session &session);

} // namespace terravale
