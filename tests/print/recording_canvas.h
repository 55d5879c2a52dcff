#pragma once

#include "print/page_canvas.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace fb::test {

// A page canvas that records what is printed, with fixed metrics: a text is as high as its
// font's point size at the resolution, and each character is half as wide as it is high,
// but for '.' and ':', which are a quarter as wide, as in a real face; so a date and time
// fits its column, as it does on paper. The page defaults to A4 at 600 pixels per inch.
class RecordingCanvas : public PageCanvas {
public:
    struct Text {
        int page;
        int x;
        int y;
        QString text;
        QString face;
        bool struckOut;
    };
    struct Line {
        int page;
        int x1, y1, x2, y2;
        int penWidth;
    };

    int resolution = 600;
    int width = 4960;
    int height = 7016;

    QString jobTitle;
    QStringList events; // "begin", "newPage", "end", "abort"
    QList<Text> texts;
    QList<Line> lines;
    int page = 0;

    void setJobTitle(const QString &title) override { jobTitle = title; }
    void beginJob() override
    {
        events.append(QStringLiteral("begin"));
        page = 1;
    }
    void newPage() override
    {
        events.append(QStringLiteral("newPage"));
        ++page;
    }
    void endJob() override { events.append(QStringLiteral("end")); }
    void abortJob() noexcept override { events.append(QStringLiteral("abort")); }
    int pageWidth() const override { return width; }
    int pageHeight() const override { return height; }
    int horizontalResolution() const override { return resolution; }
    void selectFont(const PrintFont &selected) override { m_font = selected; }
    void textOut(int x, int y, const QString &text) override
    {
        texts.append({page, x, y, text, m_font.face, m_font.strikeOut()});
    }
    int textWidth(const QString &text) const override
    {
        int total = 0;
        for (const QChar c : text) {
            const bool narrow = c == QLatin1Char('.') || c == QLatin1Char(':');
            total += textHeight(text) / (narrow ? 4 : 2);
        }
        return total;
    }
    int textHeight(const QString &) const override { return m_font.sizePoints * resolution / 72; }
    void setPenWidth(int penWidth) override { m_penWidth = penWidth; }
    void moveTo(int x, int y) override
    {
        m_x = x;
        m_y = y;
    }
    void lineTo(int x, int y) override
    {
        lines.append({page, m_x, m_y, x, y, m_penWidth});
        m_x = x;
        m_y = y;
    }

    // The first text printed that equals text.
    std::optional<Text> find(const QString &text) const
    {
        for (const Text &printed : texts) {
            if (printed.text == text)
                return printed;
        }
        return std::nullopt;
    }
    QStringList textsOnPage(int pageNumber) const
    {
        QStringList result;
        for (const Text &printed : texts) {
            if (printed.page == pageNumber)
                result.append(printed.text);
        }
        return result;
    }

private:
    PrintFont m_font;
    int m_penWidth = 1;
    int m_x = 0;
    int m_y = 0;
};

} // namespace fb::test
