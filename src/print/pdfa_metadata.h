#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
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

// Bytes of a file to overwrite with others of the same length.
struct ByteReplacement {
    qsizetype offset = 0;
    QByteArray bytes;
};

// The PDF engine takes the creation date for its document information dictionary itself,
// after the packet was made: when a new second began in between, the packet's dates must be
// set to the engine's. fileHead is the beginning of the file, with the dictionary and the
// packet; the answer is empty when both agree or either is missing.
QList<ByteReplacement> xmpDateCorrections(const QByteArray &fileHead);

} // namespace fb
