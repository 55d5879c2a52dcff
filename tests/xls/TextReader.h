#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <stdexcept>
#include <vector>

namespace fb::xls::test {

// A text cell as a reader finds it: its position and its text from the shared string table.
struct TextCell {
    std::uint16_t row;
    std::uint16_t col;
    QString text;

    bool operator==(const TextCell &) const = default;
};

// The texts of a written workbook, read back without the writer's help.
struct WorkbookTexts {
    std::vector<QString> sharedStrings;
    std::vector<TextCell> cells; // every LABELSST record, in stream order
};

// Raised when a stream is not what a strict reader accepts.
class MalformedStream : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Reads the shared string table and the text cells of a "Workbook" stream. Strict: any
// record running past the stream, a string header cut by a record end, a UTF-16 unit or a
// surrogate pair cut by a record end (readers that decode each record's piece on its own
// reject those), bytes left over, or a cell index outside the table raise MalformedStream.
WorkbookTexts readWorkbookTexts(const QByteArray &workbookStream);

// The same for an .xls file, opened with the project's own compound file reader.
WorkbookTexts readWorkbookTextsFromFile(const QString &path);

} // namespace fb::xls::test
