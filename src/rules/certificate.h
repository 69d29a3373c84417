#pragma once
#include <QString>
#include <functional>

namespace terravale {

class Printer;

struct CertificateText {
    QString quizTitle;   // the last scored quiz's heading; empty before any quiz
    QString name;        // as typed; may be empty
    int score = 0;
    int outof = 0;
};

// The "Well Done" banner line: the 59-character banner twice.
QString certificateBanner();

// Prints the certificate page and ends the document. `screenTextWidth` measures a text in the
// results screen's own font, in twips. Throws PrintError.
void printCertificate(Printer &printer, const CertificateText &text,
                      const std::function<double(const QString &)> &screenTextWidth);

} // namespace terravale
