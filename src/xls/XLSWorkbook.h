#pragma once

#include "XLSFont.h"
#include "XLSFormatStr.h"
#include "XLSFormatXF.h"
#include "XLSSheet.h"

#include <QString>

#include <memory>
#include <vector>

namespace fb::xls {

class TWorkbook;

// The sheets of a workbook in their order; a sheet's index equals its position.
class TSheets {
public:
    explicit TSheets(TWorkbook *workbook) : m_workbook(workbook) {}

    TSheets(const TSheets &) = delete;
    TSheets &operator=(const TSheets &) = delete;

    int Count() const noexcept { return static_cast<int>(m_sheets.size()); }
    TSheet &operator[](int index);
    const TSheet &operator[](int index) const;

    // Appends a sheet; the name is validated as for a rename.
    TSheet &Add(const QString &name);
    void Delete(int index);

    // Refuses a name of length 0 or above 255 (error 7), or one that is blank or equal
    // (case-sensitively) to the name of another sheet than `self` (error 6).
    void ValidateName(const QString &name, const TSheet *self) const;

private:
    TWorkbook *m_workbook;
    std::vector<std::unique_ptr<TSheet>> m_sheets;
};

class TWorkbook {
public:
    // A new workbook has one sheet, "Sheet1", and the default font and cell format.
    TWorkbook();

    TWorkbook(const TWorkbook &) = delete;
    TWorkbook &operator=(const TWorkbook &) = delete;

    TSheets &Sheets() noexcept { return m_sheets; }
    const TSheets &Sheets() const noexcept { return m_sheets; }
    TFormatStrings &FormatStrings() noexcept { return m_formats; }
    const TFormatStrings &FormatStrings() const noexcept { return m_formats; }
    TVirtualFontTable &Fonts() noexcept { return m_fonts; }
    const TVirtualFontTable &Fonts() const noexcept { return m_fonts; }
    TVirtualXFTable &XFs() noexcept { return m_xfs; }
    const TVirtualXFTable &XFs() const noexcept { return m_xfs; }

    // Workbook protection password hash; 0 means not protected.
    std::uint16_t ProtectionHash() const noexcept { return m_protectionHash; }
    void SetProtectionHash(std::uint16_t hash) noexcept { m_protectionHash = hash; }

private:
    // The tables come first: sheets and cells refer to them until they are gone.
    TFormatStrings m_formats;
    TVirtualFontTable m_fonts;
    TVirtualXFTable m_xfs;
    TSheets m_sheets{this};
    std::uint16_t m_protectionHash = 0;
};

} // namespace fb::xls
