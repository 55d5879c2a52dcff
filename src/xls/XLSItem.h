#pragma once

#include "XLSFormatXF.h"

#include <QString>

#include <cstdint>

namespace fb::xls {

class TWorkbook;

// Something that carries a cell format: a cell, a row or a column. Each setter changes one
// attribute of the item's cell format (or of its font), interns the changed record in the
// workbook's shared table and keeps the returned index, so items with equal formatting
// share one entry. Setting an attribute to its current value changes nothing.
class TCustomXLSItem {
public:
    virtual ~TCustomXLSItem() = default;

    int XFIndex() const noexcept { return m_xf; }
    TXFRecord XF() const;
    TFontRecord Font() const;

    virtual void SetBackgroundColorIndex(std::uint8_t color);
    virtual void SetBackgroundColorRGB(std::uint32_t rgb);
    virtual void SetFillPattern(std::uint8_t pattern);
    virtual void SetHAlign(std::uint8_t align);
    virtual void SetIndent(std::uint8_t indent); // at most 15
    virtual void SetBorderColorIndex(BorderSide side, std::uint8_t color);
    virtual void SetBorderStyle(BorderSide side, std::uint8_t style);
    virtual void SetFormatStringIndex(int position);
    virtual void SetFontBold(bool bold);
    virtual void SetFontItalic(bool italic);
    virtual void SetFontUnderline(bool underline);
    virtual void SetFontName(const QString &name);

protected:
    explicit TCustomXLSItem(int xfIndex) : m_xf(xfIndex) {}
    TCustomXLSItem(const TCustomXLSItem &) = default;
    TCustomXLSItem &operator=(const TCustomXLSItem &) = default;

    // The workbook whose shared tables the item's format refers to.
    virtual TWorkbook *workbook() const noexcept = 0;

    // Replaces the item's cell format by the interned changed record.
    void changeXF(const TXFRecord &changed);
    // Called after the cell format index changed.
    virtual void xfChanged() {}

private:
    template<typename Mutate> void updateXF(Mutate &&mutate);
    template<typename Mutate> void updateFont(Mutate &&mutate);

    int m_xf;
};

// A row or a column: an item whose format new cells in it take over.
class TCustomRowCol : public TCustomXLSItem {
public:
    TCustomRowCol(TWorkbook *workbook, std::uint16_t index)
        : TCustomXLSItem(0), m_workbook(workbook), m_index(index)
    {}

    std::uint16_t Index() const noexcept { return m_index; }
    // True once any format attribute was set.
    bool HasFormat() const noexcept { return m_hasFormat; }

protected:
    TWorkbook *workbook() const noexcept override { return m_workbook; }
    void xfChanged() override { m_hasFormat = true; }

private:
    TWorkbook *m_workbook;
    std::uint16_t m_index;
    bool m_hasFormat = false;
};

class TRow : public TCustomRowCol {
public:
    using TCustomRowCol::TCustomRowCol;

    // Height in twentieths of a point; 0 means the default height.
    std::uint16_t Height() const noexcept { return m_height; }
    void SetHeight(std::uint16_t height) { m_height = height; }

private:
    std::uint16_t m_height = 0;
};

class TColumn : public TCustomRowCol {
public:
    using TCustomRowCol::TCustomRowCol;

    // Width in 1/256 of a character; 0 means the default width.
    std::uint16_t Width() const noexcept { return m_width; }
    void SetWidth(std::uint16_t width) { m_width = width; }

private:
    std::uint16_t m_width = 0;
};

} // namespace fb::xls
