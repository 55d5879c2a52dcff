#include "XLSFile.h"

#include "XLSWriter.h"

namespace fb::xls {

TXLSFile::TXLSFile() : m_workbook(std::make_unique<TWorkbook>()) {}

TXLSFile::~TXLSFile() = default;

void TXLSFile::SaveAs(const QString &fileName)
{
    SaveAs(fileName, QString());
}

void TXLSFile::SaveAs(const QString &fileName, const QString &password)
{
    TXLSWriter writer(*this);
    writer.OnProgress = m_onProgress;
    writer.Save(fileName, password);
}

} // namespace fb::xls
