#pragma once

#include "core/error.h"

namespace fb::xls {

// An error of the spreadsheet writer. The code selects a fixed message; codes 2, 9 and 11
// carry one text argument that fills the message's placeholder.
class EXLSError : public Error {
public:
    enum Code {
        BufferTooSmall = 1,
        StreamNotFound = 2,
        InvalidCellValue = 3,
        InvalidCellProperty = 4,
        InvalidRowOrColumn = 5,
        InvalidSheetName = 6,
        SheetNameLength = 7,
        InvalidFormula = 8,
        InvalidFunction = 9,
        FormulaStringLength = 10,
        InvalidRangeName = 11,
        NoSheets = 12,
        FormulaNotRecognized = 13,
        PasswordProtected = 14,
    };

    explicit EXLSError(int code, const QString &argument = {});

    int code() const noexcept { return m_code; }

    // The message of a code with its placeholder filled; an empty text for unknown codes.
    static QString messageFor(int code, const QString &argument = {});

private:
    int m_code;
};

// Indexed access outside a list's bounds. The sheet list words it with a trailing " !",
// other lists without.
class ERangeError : public Error {
public:
    using Error::Error;

    static ERangeError sheetIndex(qsizetype index);
    static ERangeError listIndex(qsizetype index);
};

} // namespace fb::xls
