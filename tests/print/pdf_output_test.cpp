#include "core/error.h"
#include "core/file_error.h"
#include "print/logbook_printer.h"
#include "print/pdf_output.h"
#include "print/pdfa_metadata.h"
#include "print/printer_canvas.h"

#include "file_bytes.h"
#include "file_size_limit.h"
#include "pdf_text.h"
#include "sample_logbook.h"

#include <QDir>
#include <QPdfWriter>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace fb {
namespace {

using test::fileBytes;
using test::pdfText;
using test::trip;
using test::writeFileBytes;

void fillLogbook(Logbook &logbook)
{
    logbook.print.heading = QStringLiteral("Fahrtenbuch Dienstwagen");
    logbook.master.lastName = QStringLiteral("Weißmann");
    logbook.master.registrationNumber = QStringLiteral("K-FB 2026");
    logbook.master.startKm = 12345;
    logbook.trips.append(trip(
        QStringLiteral("02.11.2026 08:15:00"), QStringLiteral("Köln"),
        QStringLiteral("02.11.2026 08:15:00"), QStringLiteral("Düsseldorf"), QStringLiteral("41,5"),
        QStringLiteral("Kundentermin\r\nAngebot übergeben"), QStringLiteral("Geschäftlich")));
    logbook.trips.append(trip(QStringLiteral("03.11.2026 17:00:00"), QStringLiteral("Köln"),
                              QStringLiteral("03.11.2026 17:00:00"), QStringLiteral("Bonn"),
                              QStringLiteral("28"), QStringLiteral("Einkauf"),
                              QStringLiteral("Privat"), QStringLiteral("Ja")));
}

QString pdfInfo(const QString &path)
{
    QProcess process;
    process.start(QStringLiteral("pdfinfo"), {path});
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

// An archive's PDF: PDF/A-1b as the metadata says, every font embedded, the vehicle as title
// and the keeper as author.
void expectPdfA1b(const QString &path)
{
    // The metadata stream is never compressed in a PDF/A file.
    const QString xmp = QString::fromUtf8(fileBytes(path));
    for (const char *property : {"pdfaid:part", "pdfaid:conformance"}) {
        const QRegularExpression value(
            QStringLiteral("%1(?:>|=\"|=')([^<\"']*)").arg(QLatin1String(property)));
        const QRegularExpressionMatch match = value.match(xmp);
        ASSERT_TRUE(match.hasMatch()) << property;
        EXPECT_EQ(match.captured(1), QLatin1String(property) == QLatin1String("pdfaid:part")
                                         ? QStringLiteral("1")
                                         : QStringLiteral("B"));
    }
    const QString info = pdfInfo(path);
    EXPECT_TRUE(info.contains(QStringLiteral("Title:           Fahrtenbuch K-FB 2026")))
        << info.toStdString();
    // Qt's document information has no author: the keeper is in the metadata only, and each
    // entry the information has must read the same in the metadata, the moment included.
    EXPECT_TRUE(xmp.contains(QStringLiteral("<dc:creator><rdf:Seq><rdf:li>Weißmann</rdf:li>")));
    EXPECT_TRUE(
        xmp.contains(QStringLiteral("<rdf:li xml:lang=\"x-default\">Fahrtenbuch K-FB 2026<")));
    const QRegularExpressionMatch infoDate =
        QRegularExpression(QStringLiteral("/CreationDate \\(D:(\\d{14})Z\\)")).match(xmp);
    const QRegularExpressionMatch xmpDate =
        QRegularExpression(QStringLiteral("xmp:CreateDate=\"([-\\dT:]+)Z\"")).match(xmp);
    ASSERT_TRUE(infoDate.hasMatch() && xmpDate.hasMatch());
    EXPECT_EQ(xmpDate.captured(1).remove(QRegularExpression(QStringLiteral("\\D"))),
              infoDate.captured(1));

    QProcess pdffonts;
    pdffonts.start(QStringLiteral("pdffonts"), {path});
    ASSERT_TRUE(pdffonts.waitForFinished(30000));
    const QStringList fonts = QString::fromUtf8(pdffonts.readAllStandardOutput())
                                  .split(QLatin1Char('\n'), Qt::SkipEmptyParts)
                                  .mid(2);
    ASSERT_FALSE(fonts.isEmpty());
    // The last columns: emb, sub, uni, object and generation; a type may hold a blank.
    for (const QString &font : fonts) {
        const QStringList columns = font.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        EXPECT_EQ(columns.value(columns.size() - 5), QStringLiteral("yes")) << font.toStdString();
    }
}

// The engine writes its creation date after the packet was made, and may be a second on.
TEST(PdfOutput, XmpDatesFollowTheEnginesCreationDate)
{
    const QByteArray packet =
        pdfaXmp({QStringLiteral("T"), QString(), QStringLiteral("C"), QStringLiteral("P"),
                 QDateTime(QDate(2026, 12, 31), QTime(23, 59, 59), Qt::UTC)});
    const auto fileHead = [&](const char *info) -> QByteArray {
        return QByteArray("%PDF-1.4\n1 0 obj\n<<\n/Title (T)\n/CreationDate (") + info +
               ")\n>>\nendobj\n2 0 obj\nstream\n" + packet;
    };
    EXPECT_TRUE(xmpDateCorrections(fileHead("D:20261231235959Z")).isEmpty());
    EXPECT_TRUE(xmpDateCorrections(fileHead("D:20270101005959+01'00'")).isEmpty());
    EXPECT_TRUE(xmpDateCorrections(fileHead("D:20261231185959-05'00'")).isEmpty());

    QByteArray head = fileHead("D:20270101010000+01'00'");
    const QList<ByteReplacement> corrections = xmpDateCorrections(head);
    ASSERT_EQ(corrections.size(), 2);
    for (const ByteReplacement &change : corrections)
        head.replace(change.offset, change.bytes.size(), change.bytes);
    EXPECT_EQ(head.count("=\"2027-01-01T00:00:00Z\""), 2);
    EXPECT_EQ(head.size(), fileHead("D:20270101010000+01'00'").size());
}

QByteArray renderedPages(const QString &pdfPath)
{
    QProcess process;
    process.start(QStringLiteral("pdftoppm"),
                  {QStringLiteral("-r"), QStringLiteral("60"), QStringLiteral("-gray"), pdfPath});
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return {};
    return process.readAllStandardOutput();
}

// Into a PDF file texts are drawn as the glyphs measured for the layout; a printer draws them
// as texts. Both must look alike, whichever way a text runs and whichever fonts it needs.
TEST(PdfOutput, PdfFilePagesLookAsAPrintersPages)
{
    Logbook logbook;
    fillLogbook(logbook);
    logbook.trips.append(trip(QStringLiteral("04.11.2026 09:00:00"), QStringLiteral("תל אביב"),
                              QStringLiteral("04.11.2026 10:00:00"),
                              QStringLiteral("القاهرة Kairo"), QStringLiteral("12"),
                              QStringLiteral("Ca\u0301fe\u0301 東京 Tab\there  "),
                              QStringLiteral("Geschäftlich")));
    logbook.trips.append(trip(QStringLiteral("05.11.2026 09:00:00"), QStringLiteral("Köln"),
                              QStringLiteral("05.11.2026 10:00:00"),
                              QStringLiteral("Aachen\u2028Eupen"), QStringLiteral("70"), QString(),
                              QStringLiteral("Privat")));
    QTemporaryDir dir;
    const QString filePath = dir.filePath(QStringLiteral("datei.pdf"));
    printLogbookToPdf(logbook, filePath, QString());

    const QString printerPath = dir.filePath(QStringLiteral("drucker.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(printerPath);
    const PdfPages pages = a4Pages();
    printer.setResolution(pages.resolution);
    printer.setPageLayout(pages.layout);
    PrinterCanvas canvas(printer);
    printLogbook(logbook, canvas);

    const QByteArray filePages = renderedPages(filePath);
    ASSERT_FALSE(filePages.isEmpty());
    EXPECT_TRUE(filePages == renderedPages(printerPath));
}

// The drawing instructions of every page, inflated, in the order of the file; the fonts'
// names left out, which follow the file's other objects.
QList<QByteArray> pageContents(const QString &pdfPath)
{
    const QByteArray pdf = fileBytes(pdfPath);
    QList<QByteArray> pages;
    for (qsizetype at = pdf.indexOf("stream\n"); at >= 0; at = pdf.indexOf("stream\n", at)) {
        at += 7;
        const qsizetype end = pdf.indexOf("endstream", at);
        if (end < 0)
            break;
        // Deflated streams begin with zlib's 0x78. qUncompress wants the size up front; it
        // takes more room when that is too small.
        if (pdf.at(at) == '\x78') {
            const QByteArray inflated =
                qUncompress(QByteArray("\x00\x10\x00\x00", 4) + pdf.mid(at, end - at));
            if (inflated.contains(" Tj\n"))
                pages.append(QString::fromLatin1(inflated)
                                 .replace(QRegularExpression(QStringLiteral("/F\\d+ ")),
                                          QStringLiteral("/F "))
                                 .toLatin1());
        }
        at = end + 9;
    }
    return pages;
}

// Into a PDF file the pages are laid out in a thread of their own and drawn from the glyphs
// shaped there, deleted trips' lines through them included: the file's drawing instructions
// are those of the same pages drawn directly.
TEST(PdfOutput, PagesDrawnFromAnotherThreadsGlyphsAreThoseDrawnDirectly)
{
    Logbook logbook;
    fillLogbook(logbook);
    logbook.trips.append(trip(QStringLiteral("04.11.2026 09:00:00"), QStringLiteral("Düsseldorf"),
                              QStringLiteral("04.11.2026 10:00:00"), QStringLiteral("Köln"),
                              QStringLiteral("41,5"), QStringLiteral("Rückfahrt"),
                              QStringLiteral("Geschäftlich"), QStringLiteral("Ja")));
    QTemporaryDir dir;
    const QString filePath = dir.filePath(QStringLiteral("datei.pdf"));
    printLogbookToPdf(logbook, filePath, QString());

    const QString directPath = dir.filePath(QStringLiteral("direkt.pdf"));
    {
        QPdfWriter writer(directPath);
        const PdfPages pages = a4Pages();
        writer.setResolution(pages.resolution);
        writer.setPageLayout(pages.layout);
        PrinterCanvas canvas(writer);
        printLogbook(logbook, canvas);
    }
    const QList<QByteArray> filePages = pageContents(filePath);
    ASSERT_FALSE(filePages.isEmpty());
    EXPECT_TRUE(filePages == pageContents(directPath));
}

TEST(PdfOutput, PdfHoldsHeadingTitlesAndTripTexts)
{
    QTemporaryDir dir;
    Logbook logbook;
    fillLogbook(logbook);
    const QString path = dir.filePath(QStringLiteral("logbuch.pdf"));
    printLogbookToPdf(logbook, path, QString());

    const QString text = pdfText(path, {QStringLiteral("-layout")});
    ASSERT_FALSE(text.isEmpty());
    for (const char *expected : {"Fahrtenbuch Dienstwagen",
                                 "Abfahrtszeit",
                                 "Abfahrtsort",
                                 "Ankunftszeit",
                                 "Ankunftsort",
                                 "Entfernung",
                                 "Fahrtzweck",
                                 "Art",
                                 "Km Stand",
                                 "Nachname: Weißmann",
                                 "Fahrzeug Kennezeichen: K-FB 2026",
                                 "Kilometerstand Beginn: 12345",
                                 "02.11.2026 08:15:00",
                                 "Düsseldorf",
                                 "Kundentermin",
                                 "Angebot übergeben",
                                 "Geschäftlich",
                                 "12386,5",
                                 "Einkauf",
                                 "Kilometerstand Ende: 12386,5",
                                 "Zusammenfassung",
                                 "Unterschrift"}) {
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected;
    }
    const QString info = pdfInfo(path);
    EXPECT_TRUE(info.contains(QStringLiteral("(A4)"))) << info.toStdString();
    // The trips on one page, the summary to sign on the next.
    EXPECT_TRUE(info.simplified().contains(QStringLiteral("Pages: 2 "))) << info.toStdString();
    // Nothing is left beside it.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList({QStringLiteral("logbuch.pdf")}));
    expectPdfA1b(path);
}

TEST(PdfOutput, FailedRunLeavesTheTargetAsItWas)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("alt.pdf"));
    ASSERT_TRUE(writeFileBytes(path, "alter Inhalt"));
    Logbook logbook;
    fillLogbook(logbook);
    logbook.trips.append(trip(QStringLiteral("04.11.2026"), QStringLiteral("A"),
                              QStringLiteral("04.11.2026"), QStringLiteral("B"),
                              QStringLiteral("zehn"), QString(), QStringLiteral("Privat")));
    EXPECT_THROW(printLogbookToPdf(logbook, path, QString()), ConversionError);
    EXPECT_EQ(fileBytes(path), QByteArray("alter Inhalt"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList({QStringLiteral("alt.pdf")}));
}

TEST(PdfOutput, PdfCutShortByAFullDiskDoesNotReplaceTheTarget)
{
    QTemporaryDir dir;
    Logbook logbook;
    fillLogbook(logbook);
    const QString path = dir.filePath(QStringLiteral("logbuch.pdf"));
    printLogbookToPdf(logbook, path, QString());
    const QByteArray before = fileBytes(path);
    ASSERT_FALSE(before.isEmpty());

    // Cut at the start, in the middle of the pages and within the last bytes.
    for (const qint64 limit : {qint64(0), qint64(100), before.size() / 2, before.size() - 200,
                               before.size() - 7, before.size() - 1}) {
        bool failed = false;
        {
            const test::FileSizeLimit cut(static_cast<rlim_t>(limit));
            try {
                printLogbookToPdf(logbook, path, QString());
            } catch (const FileError &) {
                failed = true;
            }
        }
        EXPECT_TRUE(failed) << "printed under a limit of " << limit << " bytes";
        EXPECT_EQ(fileBytes(path), before) << limit;
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                  QStringList({QStringLiteral("logbuch.pdf")}))
            << limit;
    }
}

TEST(PdfOutput, PrinterThatCannotPrintAnywhereIsNoPrinter)
{
    // What Qt makes without any printer in the system, whatever this machine has.
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    Logbook logbook;
    PrinterCanvas canvas(printer);
    try {
        printLogbook(logbook, canvas);
        FAIL() << "printed";
    } catch (const Error &error) {
        EXPECT_EQ(error.message(), QStringLiteral("Zur Zeit ist kein Standard-Drucker gewählt"));
    }
}

TEST(PdfOutput, TargetThatMayNotBeWrittenIsRefused)
{
    QTemporaryDir dir;
    Logbook logbook;
    // A directory would be destroyed by the replacement; a missing folder cannot take a file.
    EXPECT_THROW(printLogbookToPdf(logbook, dir.path(), QString()), FileError);
    EXPECT_THROW(printLogbookToPdf(logbook, dir.filePath(QStringLiteral("fehlt/x.pdf")), QString()),
                 FileError);
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

} // namespace
} // namespace fb
