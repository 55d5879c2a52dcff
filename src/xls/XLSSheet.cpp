#include "XLSSheet.h"

#include "XLSWorkbook.h"

namespace fb::xls {

TSheet::TSheet(TWorkbook *workbook, QString name, int index)
    : m_workbook(workbook), m_name(std::move(name)), m_index(index), m_rows(workbook),
      m_columns(workbook)
{}

void TSheet::SetName(const QString &name)
{
    m_workbook->Sheets().ValidateName(name, this);
    m_name = name;
}

int TSheet::DefaultXF(std::uint16_t row, std::uint16_t col) const
{
    if (const TRow *r = m_rows.Find(row); r && r->HasFormat())
        return r->XFIndex();
    if (const TColumn *c = m_columns.Find(col); c && c->HasFormat())
        return c->XFIndex();
    return 0;
}

} // namespace fb::xls
