// libFuzzer target: whatever texts the cells hold (any UTF-16, lone surrogates and control
// characters included, stored in any of the ways a cell takes text), the written file, read
// back with our own compound file reader, must give every cell its text unchanged. And a
// cell that refers to its text instead of copying it must not change a byte of the file.
//
// Input: byte 0 picks how each text is stored (two bits a text), byte 1 how often each text
// is repeated (so that short inputs reach the record ends of the shared string table), the
// rest is UTF-16LE, split into texts at each unit 0xFFFF.
#include "TextReader.h"

#include "core/cp1252.h"
#include "core/error.h"
#include "xls/XLSFile.h"

#include <QDir>
#include <QFile>
#include <QtEndian>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

using namespace fb::xls;

namespace {

constexpr int kMaxTexts = 16;
constexpr qsizetype kMaxTextLength = 65535; // the most a cell holds

enum class Storage { SetText, Wide, Ansi, FromText };

struct Text {
    Storage storage;
    QString units;
};

std::vector<Text> decodeTexts(const std::uint8_t *data, std::size_t size)
{
    std::vector<Text> texts;
    if (size < 2)
        return texts;
    const std::uint8_t storage = data[0];
    const int repeat = 1 + data[1];
    QString current;
    auto finish = [&] {
        QString text;
        for (int i = 0; i < repeat && text.size() < kMaxTextLength; ++i)
            text += current;
        text.truncate(kMaxTextLength);
        const int index = static_cast<int>(texts.size());
        texts.push_back({static_cast<Storage>((storage >> (2 * (index % 4))) & 3), text});
        current.clear();
    };
    for (std::size_t i = 2; i + 1 < size; i += 2) {
        const auto unit = qFromLittleEndian<std::uint16_t>(data + i);
        if (unit == 0xFFFF && static_cast<int>(texts.size()) + 1 < kMaxTexts)
            finish();
        else
            current.append(QChar(unit));
    }
    finish();
    return texts;
}

// Stores the text as the storage says; returns the text a reader must find. A text to be
// copied is referred to instead where `refer` says so.
QString store(TCell &cell, const Text &text, bool refer)
{
    switch (text.storage) {
    case Storage::SetText:
        if (refer)
            cell.ReferText(text.units);
        else
            cell.SetText(text.units);
        return text.units;
    case Storage::Wide:
        cell.SetValue(CellValue::fromWideString(text.units));
        return text.units;
    case Storage::Ansi: {
        // The low byte of each unit as a byte of the 8-bit code page.
        QByteArray bytes;
        for (const QChar c : text.units)
            bytes.append(static_cast<char>(c.unicode() & 0xFF));
        cell.SetValue(CellValue::fromAnsiString(bytes));
        return fb::cp1252::decode(bytes);
    }
    case Storage::FromText:
        cell.SetValue(CellValue::fromText(text.units));
        return text.units;
    }
    return {};
}

[[noreturn]] void mismatch(const char *what)
{
    std::fprintf(stderr, "xls_writer_fuzz: %s\n", what);
    std::abort();
}

const QString &filePath()
{
    static const QString path =
        QDir::temp().filePath(QStringLiteral("xls_writer_fuzz-%1.xls").arg(::getpid()));
    return path;
}

// Writes the texts into one sheet; returns the file's bytes and what each cell must hold.
QByteArray save(const std::vector<Text> &texts, bool refer, std::vector<test::TextCell> &expected)
{
    expected.clear();
    try {
        TXLSFile file;
        TSheet &sheet = file.Workbook().Sheets()[0];
        for (std::size_t i = 0; i < texts.size(); ++i) {
            // Rows and columns vary so that cells are not written in the order they were set.
            const auto row = static_cast<std::uint16_t>((i * 7) % kMaxTexts);
            const auto col = static_cast<std::uint16_t>(i % 3);
            expected.push_back({row, col, store(sheet.Cells(row, col), texts[i], refer)});
        }
        file.SaveAs(filePath());
    } catch (const fb::Error &e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.message()));
        mismatch("saving texts failed");
    }
    QFile written(filePath());
    if (!written.open(QIODevice::ReadOnly))
        mismatch("the written file cannot be read");
    return written.readAll();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::vector<Text> texts = decodeTexts(data, size);
    std::vector<test::TextCell> expected;
    const QByteArray referred = save(texts, true, expected);
    if (save(texts, false, expected) != referred)
        mismatch("texts referred to are written otherwise than copies of them");

    std::vector<test::TextCell> found;
    try {
        found = test::readWorkbookTextsFromFile(filePath()).cells;
    } catch (const test::MalformedStream &e) {
        std::fprintf(stderr, "%s\n", e.what());
        mismatch("the written file does not read back");
    } catch (const fb::Error &e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.message()));
        mismatch("the written file does not open");
    }
    QFile::remove(filePath());

    auto byPosition = [](const test::TextCell &a, const test::TextCell &b) {
        return std::pair(a.row, a.col) < std::pair(b.row, b.col);
    };
    std::sort(expected.begin(), expected.end(), byPosition);
    std::sort(found.begin(), found.end(), byPosition);
    if (found != expected)
        mismatch("the file holds other texts than were written");
    return 0;
}
