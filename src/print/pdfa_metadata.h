#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

namespace fb {

// What the XMP metadata of a PDF/A-1b file says of it. Qt's own packet has no author, so the
// program writes the whole packet; every entry of the document information dictionary that
// Qt writes (title, creator, producer, creation date) must read the same here.
struct PdfaMetadata {
    QString title;
    QString author;
    QString creator;   // the program
    QString producer;  // the PDF library: "Qt " and its version
    QDateTime created; // UTC, to the second
};

// The XMP packet, with pdfaid:part 1 and pdfaid:conformance B.
QByteArray pdfaXmp(const PdfaMetadata &metadata);

} // namespace fb
