#include "test_support.h"

#include "file_size_limit.h"

#include "core/file_error.h"
#include "model/trip_columns.h"
#include "storage/logbook_document.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>

using namespace fb;
using namespace fb::test;

namespace {

QByteArray le32(qint32 value)
{
    QByteArray bytes(4, '\0');
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<char>((static_cast<quint32>(value) >> (8 * i)) & 0xFF);
    return bytes;
}

QByteArray text(const QString &value)
{
    QByteArray bytes = le32(static_cast<qint32>(value.size()));
    for (const QChar c : value) {
        bytes.append(static_cast<char>(c.unicode() & 0xFF));
        bytes.append(static_cast<char>(c.unicode() >> 8));
    }
    return bytes;
}

QByteArray rowBytes(const Row &row)
{
    QByteArray bytes = le32(static_cast<qint32>(row.subItems.size())) + text(row.caption);
    for (const QString &subItem : row.subItems)
        bytes += text(subItem);
    return bytes;
}

class LogbookFile : public ::testing::Test {
protected:
    QString path(const QString &name) const { return dir.filePath(name); }

    // Loads bytes through the document, as the Open command does; returns the message of
    // the error the load ended with, or an empty text.
    QString load(LogbookDocument &document, const QByteArray &bytes,
                 const QString &name = QStringLiteral("in.fbu"))
    {
        writeFileBytes(path(name), bytes);
        try {
            document.OpenFileWithName(path(name));
        } catch (const Error &error) {
            return error.message();
        }
        return {};
    }

    QTemporaryDir dir;
};

} // namespace

TEST_F(LogbookFile, NewDocumentIs176BytesFieldByField)
{
    LogbookDocument document;
    document.setFileName(path(QStringLiteral("new.fbu")));
    document.SaveTheFile();
    const QByteArray bytes = fileBytes(document.fileName());
    ASSERT_EQ(bytes.size(), 176);

    EXPECT_EQ(bytes.left(8), le32(0) + le32(0));            // no trips, no templates
    EXPECT_EQ(bytes.mid(8, 40), QByteArray(40, '\0'));      // ten empty texts
    EXPECT_EQ(bytes.mid(48, 8), QByteArray(8, '\0'));       // start reading 0,0
    EXPECT_EQ(bytes.mid(72, 2), QByteArray("\x01\x00", 2)); // "all trips", not a range
    EXPECT_EQ(bytes.mid(90, 3), QByteArray("\x01\x01\x01"));
    EXPECT_EQ(bytes.mid(93, 26), text(QStringLiteral("Fahrtenbuch")));
    EXPECT_EQ(bytes.mid(119, 2), QByteArray("\x01\x01"));
    const QByteArray headingFont = QByteArray("\x00\x08\x00\x00\x80\x0B", 6) + "Arial Black" +
                                   QByteArray("\x00", 1) + le32(96) + le32(14) +
                                   QByteArray("\x00", 1);
    EXPECT_EQ(bytes.mid(121, 27), headingFont);
    const QByteArray textFont = QByteArray("\x00\x08\x00\x00\x80\x0C", 6) + "Arial Narrow" +
                                QByteArray("\x00", 1) + le32(96) + le32(8) + QByteArray("\x01", 1);
    EXPECT_EQ(bytes.mid(148, 28), textFont);
    EXPECT_FALSE(document.isChanged());
}

TEST_F(LogbookFile, EverythingSurvivesSaveAndLoad)
{
    Logbook original;
    fillSample(original);
    original.master.registrationAuthority = QStringLiteral("Köln");
    original.print.printDateRange = true;
    original.print.printPrivateTrips = false;
    original.print.heading = QStringLiteral("Fahrtenbuch 2026 €");
    original.headingFont.face = QStringLiteral("Liberation Sans");
    original.headingFont.style = PrintFont::Italic | PrintFont::Underline;
    original.textFont.color = 0x0000FF;

    Logbook loaded;
    readBytes(toBytes(original), loaded);
    EXPECT_EQ(loaded.trips.rows(), original.trips.rows());
    EXPECT_EQ(loaded.templates.rows(), original.templates.rows());
    EXPECT_EQ(loaded.master, original.master);
    EXPECT_EQ(loaded.print, original.print);
    EXPECT_EQ(loaded.headingFont, original.headingFont);
    EXPECT_EQ(loaded.textFont, original.textFont);
    EXPECT_EQ(toBytes(loaded), toBytes(original));
}

TEST_F(LogbookFile, TextsAreUtf16LittleEndian)
{
    Logbook logbook;
    logbook.master.company = QStringLiteral("ä€");
    const QByteArray bytes = toBytes(logbook);
    EXPECT_EQ(bytes.mid(8, 8), le32(2) + QByteArray("\xE4\x00\xAC\x20", 4));
}

TEST_F(LogbookFile, RowsKeepTheirSubItemCount)
{
    Logbook logbook;
    logbook.trips.append(
        Row{QStringLiteral("01.01.2026"),
            {QStringLiteral("A"), QStringLiteral("01.01.2026 01:00:00"), QStringLiteral("B"),
             QStringLiteral("10"), QStringLiteral("x"), QStringLiteral("Privat")}});
    QStringList eleven;
    for (int i = 0; i < 11; ++i)
        eleven.append(QString::number(i));
    eleven[3] = QStringLiteral("5");
    eleven[6] = QString();
    logbook.trips.append(Row{QStringLiteral("02.01.2026"), eleven});

    LogbookDocument document;
    EXPECT_EQ(load(document, toBytes(logbook)), QString());
    const RowTable &trips = document.logbook().trips;
    ASSERT_EQ(trips.count(), 2);
    ASSERT_EQ(trips.at(0).subItems.size(), 9);
    EXPECT_EQ(trips.at(0).subItem(TripSubItem::KmEnd), QStringLiteral("10"));
    ASSERT_EQ(trips.at(1).subItems.size(), 11);
    EXPECT_EQ(trips.at(1).subItem(10), QStringLiteral("10"));

    document.setFileName(path(QStringLiteral("out.fbu")));
    document.SaveTheFile();
    Logbook reread;
    readBytes(fileBytes(document.fileName()), reread);
    EXPECT_EQ(reread.trips.at(0).subItems.size(), 9);
    EXPECT_EQ(reread.trips.at(1).subItems.size(), 11);
}

TEST_F(LogbookFile, FileCutInTheThirdTripKeepsWhatWasRead)
{
    Logbook logbook;
    fillSample(logbook);
    logbook.trips.append(logbook.trips.at(0));
    const QByteArray whole = toBytes(logbook);
    const qsizetype thirdRowStart =
        4 + rowBytes(logbook.trips.at(0)).size() + rowBytes(logbook.trips.at(1)).size();
    // The third row's count and the start of its caption, then the end of the file.
    const QByteArray cut = whole.left(thirdRowStart + 4 + 10);

    LogbookDocument document;
    document.logbook().master.company = QStringLiteral("vorher");
    document.logbook().print.heading = QStringLiteral("vorher");
    document.logbook().headingFont.sizePoints = 30;
    EXPECT_EQ(load(document, cut), QStringLiteral("Read beyond end of file"));
    const RowTable &trips = document.logbook().trips;
    ASSERT_EQ(trips.count(), 3);
    EXPECT_EQ(trips.at(0), logbook.trips.at(0));
    EXPECT_EQ(trips.at(1), logbook.trips.at(1));
    EXPECT_TRUE(trips.at(2).subItems.isEmpty());
    // The fields not reached keep their values; no odometer pass ran.
    EXPECT_EQ(document.logbook().master.company, QStringLiteral("vorher"));
    EXPECT_EQ(document.logbook().print.heading, QStringLiteral("vorher"));
    EXPECT_EQ(document.logbook().headingFont.sizePoints, 30);
    EXPECT_EQ(trips.at(0).subItems.size(), 7);
    // The damaged file must not be the target of the next save.
    EXPECT_TRUE(document.fileName().isEmpty());
    EXPECT_FALSE(document.isChanged());
}

TEST_F(LogbookFile, EmptyFileEndsTheLoad)
{
    LogbookDocument document;
    document.logbook().trips.append(Row{QStringLiteral("x"), {}});
    EXPECT_EQ(load(document, QByteArray()), QStringLiteral("Read beyond end of file"));
    EXPECT_TRUE(document.logbook().trips.isEmpty());
}

TEST_F(LogbookFile, NegativeCountsReadAsNoRows)
{
    Logbook logbook;
    fillSample(logbook);
    QByteArray bytes = toBytes(Logbook());
    bytes.replace(0, 4, le32(-5));
    bytes.replace(4, 4, le32(-1));
    LogbookDocument document;
    EXPECT_EQ(load(document, bytes), QString());
    EXPECT_TRUE(document.logbook().trips.isEmpty());
    EXPECT_TRUE(document.logbook().templates.isEmpty());
}

TEST_F(LogbookFile, ImpossibleLengthsAndCountsEndTheLoadWithoutReserving)
{
    const auto expectReadBeyondEnd = [this](const QByteArray &bytes) {
        LogbookDocument document;
        EXPECT_EQ(load(document, bytes), QStringLiteral("Read beyond end of file"));
    };
    // Trip count of two billion, a sub-item count of two billion, a caption of two billion
    // units, a negative text length: each must fail at once, not allocate.
    expectReadBeyondEnd(le32(0x7FFFFFFF) + QByteArray(100, '\0'));
    expectReadBeyondEnd(le32(1) + le32(0x7FFFFFFF) + le32(0) + QByteArray(100, '\0'));
    expectReadBeyondEnd(le32(1) + le32(0) + le32(0x7FFFFFFF) + QByteArray(100, '\0'));
    expectReadBeyondEnd(le32(1) + le32(0) + le32(-2) + QByteArray(200, '\0'));
    QByteArray master = toBytes(Logbook());
    master.replace(8, 4, le32(0x40000000));
    expectReadBeyondEnd(master);
}

TEST_F(LogbookFile, TrailingBytesAreIgnored)
{
    LogbookDocument document;
    EXPECT_EQ(load(document, toBytes(Logbook()) + "trailing garbage"), QString());
    EXPECT_FALSE(document.fileName().isEmpty());
}

TEST_F(LogbookFile, FontSizeInPointsSurvivesAnotherScreen)
{
    Logbook written(120);
    written.headingFont.sizePoints = 14;
    const QByteArray bytes = toBytes(written);
    EXPECT_EQ(bytes.mid(121 + 6 + 11 + 1, 8), le32(120) + le32(14));

    LogbookDocument document(96);
    EXPECT_EQ(load(document, bytes), QString());
    EXPECT_EQ(document.logbook().headingFont.sizePoints, 14);
    EXPECT_EQ(document.logbook().headingFont.pixelsPerInch, 96);
}

TEST_F(LogbookFile, RangeFlagsActLikeRadioButtons)
{
    const auto loadFlags = [this](char all, char range) {
        QByteArray bytes = toBytes(Logbook());
        bytes[72] = all;
        bytes[73] = range;
        LogbookDocument document;
        EXPECT_EQ(load(document, bytes), QString());
        return document.logbook().print.printDateRange;
    };
    EXPECT_FALSE(loadFlags(1, 0));
    EXPECT_TRUE(loadFlags(0, 1));
    EXPECT_TRUE(loadFlags(1, 1)); // the second one wins
    EXPECT_TRUE(loadFlags(0, 7)); // any non-zero byte is set
}

TEST_F(LogbookFile, StartReadingIsRoundedHalvesToEven)
{
    QByteArray bytes = toBytes(Logbook());
    const auto withStart = [&](double value) {
        QByteArray copy = bytes;
        copy.replace(48, 8, QByteArray(reinterpret_cast<const char *>(&value), 8));
        Logbook logbook;
        readBytes(copy, logbook);
        return logbook.master.startKm;
    };
    EXPECT_EQ(withStart(2.5), 2);
    EXPECT_EQ(withStart(3.5), 4);
    EXPECT_EQ(withStart(-7.6), -8);
    EXPECT_EQ(withStart(1e12), 0); // not a 32-bit whole number: the field reads 0
}

TEST_F(LogbookFile, FileThatCannotBeOpenedLeavesTheDocumentAsItWas)
{
    LogbookDocument document;
    document.logbook().trips.append(Row{QStringLiteral("x"), {}});
    document.setFileName(path(QStringLiteral("vorher.fbu")));
    document.SetChanged();
    const QString missing = path(QStringLiteral("neu.fbu"));
    try {
        document.OpenFileWithName(missing);
        ADD_FAILURE() << "opened a missing file";
    } catch (const FileError &error) {
        EXPECT_EQ(error.errorNumber(), ENOENT);
        EXPECT_EQ(error.message(), QStringLiteral("File not found"));
    }
    EXPECT_EQ(document.fileName(), path(QStringLiteral("vorher.fbu")));
    EXPECT_EQ(document.logbook().trips.count(), 1);
    EXPECT_TRUE(document.isChanged());
}

TEST_F(LogbookFile, PipesDevicesAndFoldersAreNotOpened)
{
    const QString pipe = path(QStringLiteral("pipe.fbu"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0666), 0);
    // Nobody writes to the pipe: reading it would wait for ever, /dev/zero never ends.
    for (const QString &input : {pipe, dir.path(), QStringLiteral("/dev/zero")}) {
        LogbookDocument document;
        try {
            document.OpenFileWithName(input);
            ADD_FAILURE() << "opened " << input.toStdString();
        } catch (const FileError &error) {
            EXPECT_EQ(error.message(), notARegularFileMessage());
        }
        // The next save must not go there.
        EXPECT_TRUE(document.fileName().isEmpty());
        EXPECT_TRUE(document.logbook().trips.isEmpty());
    }
}

TEST_F(LogbookFile, UnwritableTargetsFailWithoutTouchingTheFile)
{
    LogbookDocument document;
    fillSample(document.logbook());
    document.SetChanged();

    const QString protectedPath = path(QStringLiteral("schreibgeschuetzt.fbu"));
    writeFileBytes(protectedPath, "old");
    QFile::setPermissions(protectedPath, QFileDevice::ReadOwner | QFileDevice::ReadGroup);
    for (const QString &target : {protectedPath, path(QStringLiteral("fehlt/x.fbu")), dir.path()}) {
        EXPECT_THROW(document.SaveTheFileAs(target), FileError) << target.toStdString();
        EXPECT_TRUE(document.isChanged());
        EXPECT_TRUE(document.fileName().isEmpty()) << "a failed save binds no name";
    }
    EXPECT_EQ(fileBytes(protectedPath), QByteArray("old"));
}

TEST_F(LogbookFile, PipesAndWriteProtectedFilesAreRefusedAndStayAsTheyWere)
{
    LogbookDocument document;
    fillSample(document.logbook());
    document.SetChanged();

    const QString pipe = path(QStringLiteral("pipe.fbu"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0666), 0);
    const QString link = path(QStringLiteral("zur-pipe.fbu"));
    ASSERT_TRUE(QFile::link(pipe, link));
    const QString protectedPath = path(QStringLiteral("schreibgeschuetzt.fbu"));
    writeFileBytes(protectedPath, "old");
    QFile::setPermissions(protectedPath, QFileDevice::ReadOwner | QFileDevice::ReadOther);

    for (const QString &target : {pipe, link, protectedPath, dir.path()}) {
        document.setFileName(target);
        try {
            document.SaveTheFile();
            ADD_FAILURE() << "saved to " << target.toStdString();
        } catch (const FileError &error) {
            EXPECT_EQ(error.errorNumber(), EACCES) << target.toStdString();
            EXPECT_EQ(error.message(), QStringLiteral("File access denied"));
        }
        EXPECT_TRUE(document.isChanged());
    }
    struct stat status {};
    ASSERT_EQ(::stat(QFile::encodeName(pipe).constData(), &status), 0);
    EXPECT_TRUE(S_ISFIFO(status.st_mode));
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(fileBytes(protectedPath), QByteArray("old"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::System).size(), 3);
}

TEST_F(LogbookFile, FailedWriteLeavesThePreviousFileWhole)
{
    const QString target = path(QStringLiteral("fahrten.fbu"));
    LogbookDocument document;
    fillSample(document.logbook());
    document.setFileName(target);
    document.SaveTheFile();
    const QByteArray before = fileBytes(target);

    // Make the document far larger than a file may grow, so the write fails part-way.
    for (int i = 0; i < 5000; ++i)
        document.logbook().trips.append(document.logbook().trips.at(0));
    document.SetChanged();
    QString message;
    {
        const FileSizeLimit cut(64 * 1024);
        try {
            document.SaveTheFile();
        } catch (const FileError &error) {
            message = error.message();
        }
    }

    EXPECT_FALSE(message.isEmpty());
    EXPECT_TRUE(document.isChanged());
    EXPECT_EQ(fileBytes(target), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("fahrten.fbu")});
}

TEST_F(LogbookFile, SaveCutShortAtAnyByteFailsAndKeepsThePreviousFile)
{
    const QString target = path(QStringLiteral("fahrten.fbu"));
    LogbookDocument document;
    fillSample(document.logbook());
    document.setFileName(target);
    document.SaveTheFile();
    const QByteArray before = fileBytes(target);

    document.logbook().trips.append(document.logbook().trips.at(0));
    const qsizetype size = toBytes(document.logbook()).size();
    for (qsizetype limit = 0; limit < size; ++limit) {
        document.SetChanged();
        QString message;
        {
            const FileSizeLimit cut(static_cast<rlim_t>(limit));
            try {
                document.SaveTheFile();
            } catch (const FileError &error) {
                message = error.message();
            }
        }
        ASSERT_FALSE(message.isEmpty()) << "saved under a limit of " << limit << " bytes";
        EXPECT_TRUE(document.isChanged()) << limit;
        ASSERT_EQ(fileBytes(target), before) << limit;
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("fahrten.fbu")});
    document.SaveTheFile();
    EXPECT_EQ(fileBytes(target).size(), size);
}

TEST_F(LogbookFile, SaveKeepsTheFilePermissions)
{
    const QString target = path(QStringLiteral("geteilt.fbu"));
    writeFileBytes(target, "old");
    const auto permissions = QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                             QFileDevice::ReadGroup | QFileDevice::WriteGroup;
    QFile::setPermissions(target, permissions);
    LogbookDocument document;
    document.setFileName(target);
    document.SaveTheFile();
    const auto ownerGroupOther =
        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
        QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup |
        QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
    EXPECT_EQ(QFile::permissions(target) & ownerGroupOther, permissions);
}
