#include "XLSError.h"

#include <array>

namespace fb::xls {
namespace {

constexpr std::array<const char *, 14> kMessages = {
    "Buffer size is too small",
    "Stream not found: %s. File format is not Excel 97 or higher.",
    "Invalid cell value or type",
    "Invalid cell property value",
    "Invalid row or column number",
    "Invalid or duplicated sheet name",
    "Sheet name must have a length 1..255",
    "Invalid formula",
    "Invalid function in formula: %s",
    "String constants in formula must have a length 0..255",
    "Invalid range name: %s",
    "There are no sheets in the workbook",
    "Formula not recognized",
    "Reading of password-protected workbooks not supported",
};

} // namespace

QString EXLSError::messageFor(int code, const QString &argument)
{
    if (code < 1 || code > static_cast<int>(kMessages.size()))
        return {};
    QString text = QString::fromLatin1(kMessages[static_cast<std::size_t>(code - 1)]);
    const qsizetype placeholder = text.indexOf(QLatin1String("%s"));
    if (placeholder >= 0)
        text.replace(placeholder, 2, fileTextForMessage(argument));
    return text;
}

EXLSError::EXLSError(int code, const QString &argument)
    : Error(messageFor(code, argument)), m_code(code)
{}

ERangeError ERangeError::sheetIndex(qsizetype index)
{
    return ERangeError(QStringLiteral("List index (%1) out of bounds !").arg(index));
}

ERangeError ERangeError::listIndex(qsizetype index)
{
    return ERangeError(QStringLiteral("List index (%1) out of bounds").arg(index));
}

} // namespace fb::xls
