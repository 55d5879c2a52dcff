#include "XLSTestUtil.h"

#include "xls/XLSFile.h"
#include "xls/XLSRecords.h"

#include <QCryptographicHash>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace fb::xls;
using namespace fb::xls::test;

namespace {

// The SST record and the CONTINUE records right after it.
std::vector<Record> sstRecords(const std::vector<Record> &records)
{
    std::vector<Record> result;
    for (const Record &r : records) {
        if (r.id == biff::SST || (!result.empty() && r.id == biff::CONTINUE))
            result.push_back(r);
        else if (!result.empty())
            break;
    }
    return result;
}

class SharedStringsTest : public ::testing::Test {
protected:
    void put(std::uint16_t row, const CellValue &value)
    {
        m_file.Workbook().Sheets()[0].Cells(row, 0).SetValue(value);
    }
    std::vector<Record> save()
    {
        m_records = parseRecords(saveAndReadStream(m_file, m_dir));
        return sstRecords(m_records);
    }
    std::vector<std::uint32_t> labelIndices() const
    {
        std::vector<std::uint32_t> result;
        for (const Record &r : recordsWithId(m_records, biff::LABELSST))
            result.push_back(dword(r.data, 6));
        return result;
    }

    QTemporaryDir m_dir;
    TXLSFile m_file;
    std::vector<Record> m_records;
};

TEST_F(SharedStringsTest, EqualTextsShareOneEntry)
{
    put(0, CellValue::fromAnsiString("Fahrtzweck"));
    put(1, CellValue::fromInteger(3));
    put(2, CellValue::fromAnsiString("Fahrtzweck"));
    put(3, CellValue::fromAnsiString("Ziel"));
    put(4, CellValue::fromAnsiString("Fahrtzweck"));
    const std::vector<Record> sst = save();
    ASSERT_EQ(sst.size(), 1u);
    EXPECT_EQ(sst[0].data, hexBytes("02 00 00 00 02 00 00 00") + hexBytes("0A 00 00") +
                               "Fahrtzweck" + hexBytes("04 00 00") + "Ziel");
    EXPECT_EQ(labelIndices(), (std::vector<std::uint32_t>{0, 0, 1, 0}));
}

TEST_F(SharedStringsTest, SheetsShareEntriesInOrderOfFirstOccurrence)
{
    TSheet &second = m_file.Workbook().Sheets().Add(QStringLiteral("Zwei"));
    put(0, CellValue::fromAnsiString("B"));
    put(1, CellValue::fromAnsiString("A"));
    second.Cells(0, 0).SetValue(CellValue::fromAnsiString("A"));
    second.Cells(1, 0).SetValue(CellValue::fromAnsiString("C"));
    second.Cells(2, 0).SetValue(CellValue::fromAnsiString("B"));
    const std::vector<Record> sst = save();
    ASSERT_EQ(sst.size(), 1u);
    EXPECT_EQ(sst[0].data, hexBytes("03 00 00 00 03 00 00 00") + hexBytes("01 00 00") + "B" +
                               hexBytes("01 00 00") + "A" + hexBytes("01 00 00") + "C");
    EXPECT_EQ(labelIndices(), (std::vector<std::uint32_t>{0, 1, 1, 2, 0}));
}

TEST_F(SharedStringsTest, EntryFormsByCharacters)
{
    put(0, CellValue::fromAnsiString("Gel\xF6scht"));              // ö fits one byte
    put(1, CellValue::fromAnsiString("5 \x80"));                   // € does not
    put(2, CellValue::fromAnsiString(""));                         // empty text
    put(3, CellValue::fromWideString(QStringLiteral("Gelöscht"))); // wide text stays wide
    put(4, CellValue::fromAnsiString("\x81"));                     // undefined byte, below U+0100
    const std::vector<Record> sst = save();
    ASSERT_EQ(sst.size(), 1u);
    const QByteArray expected =
        hexBytes("05 00 00 00 05 00 00 00")                                    //
        + hexBytes("08 00 00 47 65 6C F6 73 63 68 74")                         //
        + hexBytes("03 00 01 35 00 20 00 AC 20")                               //
        + hexBytes("00 00 00")                                                 //
        + hexBytes("08 00 01 47 00 65 00 6C 00 F6 00 73 00 63 00 68 00 74 00") //
        + hexBytes("01 00 00 81");
    EXPECT_EQ(sst[0].data.toHex(' '), expected.toHex(' '));
}

TEST_F(SharedStringsTest, CompressedEntryContinuesWithItsFlag)
{
    const QByteArray text(10000, 'a');
    put(0, CellValue::fromAnsiString(text));
    const std::vector<Record> sst = save();
    ASSERT_EQ(sst.size(), 2u);
    ASSERT_EQ(sst[0].data.size(), 8224);
    EXPECT_EQ(sst[0].data.mid(8, 3), hexBytes("10 27 00"));
    ASSERT_EQ(sst[1].data.size(), 1 + 10000 - 8213);
    EXPECT_EQ(sst[1].data.at(0), '\x00');
    EXPECT_EQ(sst[0].data.mid(11) + sst[1].data.mid(1), text);
}

TEST_F(SharedStringsTest, WideEntrySplitsBetweenUnits)
{
    const QString text(5000, QChar(0x20AC));
    put(0, CellValue::fromWideString(text));
    put(1, CellValue::fromAnsiString("danach"));
    const std::vector<Record> sst = save();
    ASSERT_EQ(sst.size(), 2u);
    // 8216 bytes were free after the header: a whole number of units fits in 8212.
    ASSERT_EQ(sst[0].data.size(), 8 + 3 + 8212);
    EXPECT_EQ(sst[1].data.at(0), '\x01');
    const QByteArray units = sst[0].data.mid(11) + sst[1].data.mid(1, 10000 - 8212);
    EXPECT_EQ(
        QString::fromUtf16(reinterpret_cast<const char16_t *>(units.constData()), units.size() / 2),
        text);
    EXPECT_EQ(sst[1].data.mid(1 + 10000 - 8212), hexBytes("06 00 00") + "danach");
}

TEST_F(SharedStringsTest, EntryStartsANewRecordWhenThreeBytesAreFree)
{
    // 8 + 3 + 8210 = 8221: three bytes free, too few for the next entry's header and one
    // character.
    put(0, CellValue::fromAnsiString(QByteArray(8210, 'b')));
    put(1, CellValue::fromAnsiString("xyz"));
    const std::vector<Record> sst = save();
    ASSERT_EQ(sst.size(), 2u);
    EXPECT_EQ(sst[0].data.size(), 8221);
    EXPECT_EQ(sst[1].data, hexBytes("03 00 00") + "xyz"); // no flag byte before a new entry
}

TEST_F(SharedStringsTest, ManyCellsShareOneLongText)
{
    // 300 cells of one 60000-character text: one entry, written once.
    const QByteArray text(60000, 'q');
    for (std::uint16_t r = 0; r < 300; ++r)
        put(r, CellValue::fromAnsiString(text));
    const std::vector<Record> sst = save();
    EXPECT_EQ(dword(sst[0].data, 0), 1u);
    EXPECT_EQ(sst.size(), 8u); // 60003 bytes in records of at most 8224
    EXPECT_EQ(labelIndices(), std::vector<std::uint32_t>(300, 0));
}

TEST_F(SharedStringsTest, ManyRecordsKeepEveryByte)
{
    QByteArray all;
    for (std::uint16_t r = 0; r < 3000; ++r) {
        const QByteArray text = "Eintrag " + QByteArray::number(r) + QByteArray(r % 50, 'z');
        put(r, CellValue::fromAnsiString(text));
    }
    const std::vector<Record> sst = save();
    ASSERT_GT(sst.size(), 3u);
    for (const Record &r : sst)
        EXPECT_LE(r.data.size(), 8224);
    EXPECT_EQ(dword(sst[0].data, 0), 3000u);
    EXPECT_EQ(labelIndices().back(), 2999u);
}

TEST_F(SharedStringsTest, RecordLayoutOfTextsWithoutSurrogatePairsStaysAsItWas)
{
    // Entries of many lengths, 8-bit and wide, end records at every kind of position. The
    // hash pins the table's bytes as exported files have always had them: only texts with
    // surrogate pairs may be split differently.
    for (std::uint16_t k = 0; k < 1200; ++k) {
        const int length = 1 + (k * 7919) % 400;
        QString text = QString::number(k) + QLatin1Char(' ');
        for (int i = 0; i < length; ++i) {
            static const char16_t kChars[] = {u'a', u'\u00E4', u'\u20AC', u'\u4E2D', u'\uFFFD'};
            text += QChar(k % 3 == 0 ? kChars[(k + i) % 2] : kChars[(k + i) % 5]);
        }
        put(k, k % 3 == 0 ? CellValue::fromText(text) : CellValue::fromWideString(text));
    }
    const std::vector<Record> sst = save();
    ASSERT_GT(sst.size(), 40u);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (const Record &r : sst) {
        hash.addData(
            QByteArray(QByteArray::number(r.id) + ':' + QByteArray::number(r.data.size()) + ':'));
        hash.addData(r.data);
    }
    EXPECT_EQ(hash.result().toHex().toStdString(),
              "27cc6733becc18f2489b89fd58225dac1b6bd0a9805c8e0a25f04443e10bcb07");
}

} // namespace

// A cell may refer to its caller's characters instead of a copy of them: the file is the same
// byte for byte, an equal copied text shares the referred one's entry, and a value given
// later replaces the reference.
TEST(ReferredTexts, WriteTheSameBytesAsCopiedTexts)
{
    const QString texts[] = {QStringLiteral("Gelöscht 5 €"),
                             QStringLiteral("Plzeň"),
                             QStringLiteral("Gelöscht 5 €"),
                             QString(),
                             QStringLiteral("Köln – Łódź"),
                             QStringLiteral("Fahrt"),
                             QStringLiteral("Bahnhofstraße 12, Köln-Süd")};
    QTemporaryDir dir;
    auto saved = [&](bool refer) {
        TXLSFile file;
        TCells &cells = file.Workbook().Sheets()[0].Cells();
        for (std::uint16_t row = 0; row < std::size(texts); ++row) {
            TCell &cell = cells.Cell(row, 0);
            if (refer && row != 2)
                cell.ReferText(texts[row]);
            else
                cell.SetText(texts[row]);
            cells.Cell(row, 1).SetText(texts[row]);
        }
        EXPECT_EQ(&cells.Cell(5, 1), cells.Find(5, 1));
        EXPECT_EQ(cells.Find(0, 0)->Value(), CellValue::fromText(texts[0]));
        EXPECT_EQ(cells.Find(1, 0)->WideText(), texts[1]);
        return saveAndReadStream(file, dir);
    };
    EXPECT_EQ(saved(true), saved(false));

    // Its own storage, changed in place below.
    QString changing = QString::fromLatin1("Fahrt");
    TXLSFile file;
    TCell &cell = file.Workbook().Sheets()[0].Cells(0, 0);
    cell.ReferText(changing);
    cell.SetValue(CellValue::fromText(QStringLiteral("Fahrt")));
    changing[0] = QLatin1Char('X');
    EXPECT_EQ(cell.Value(), CellValue::fromAnsiString("Fahrt"));
}
