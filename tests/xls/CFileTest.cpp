#include "xls/CFile.h"
#include "XLSTestUtil.h"
#include "file_bytes.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace fb::xls;
using namespace fb::xls::test;
using fb::test::fileBytes;
using fb::test::writeFileBytes;

namespace {

template<typename Fn> int cfileErrorCode(Fn &&fn, QString *message = nullptr)
{
    try {
        fn();
    } catch (const ECFileError &e) {
        if (message)
            *message = e.message();
        return e.code();
    }
    return -1;
}

QByteArray pattern(int size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        bytes[i] = static_cast<char>(i * 7 + i / 251);
    return bytes;
}

QByteArray readStream(const QString &path, const QByteArray &name, int *streamCount = nullptr)
{
    TCFile file(TCFileMode::Open, path);
    if (streamCount)
        *streamCount = file.Root().Count();
    TCFileStream *stream = file.Root().FindStream(name);
    return stream ? stream->ReadAll() : QByteArray("<missing>");
}

TEST(CompoundFile, WrittenStreamReadsBackWithOverwrittenBytes)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.xls"));
    // Small streams live in the container's mini stream, large ones in ordinary sectors;
    // seeking back must work in both.
    for (const int size : {100, 300000}) {
        QByteArray expected = pattern(size);
        {
            TCFile file(TCFileMode::Create, path);
            TCFileStream &stream = file.Root().CreateStream("Workbook");
            ASSERT_TRUE(stream.WriteBuffer(expected.constData(), expected.size()));
            EXPECT_EQ(stream.Size(), size);
            stream.SetPosition(10);
            ASSERT_TRUE(stream.WriteWord(0xBEEF));
            EXPECT_EQ(stream.Position(), 12);
            stream.SetPosition(size - 4);
            ASSERT_TRUE(stream.WriteDWord(0x01020304));
            stream.SetPosition(stream.Size());
            ASSERT_TRUE(stream.WriteBuffer("end", 3));
            file.Commit();
        }
        expected[10] = char(0xEF);
        expected[11] = char(0xBE);
        expected.replace(size - 4, 4, QByteArray("\x04\x03\x02\x01", 4));
        expected.append("end");

        int streams = 0;
        const QByteArray actual = readStream(path, "Workbook", &streams);
        EXPECT_EQ(streams, 1);
        EXPECT_EQ(actual.size(), expected.size());
        EXPECT_TRUE(actual == expected) << "size " << size;
    }
}

TEST(CompoundFile, PositionOutsideTheStreamIsRefused)
{
    TCFile file(TCFileMode::Memory, QString());
    TCFileStream &stream = file.Root().CreateStream("Workbook");
    ASSERT_TRUE(stream.WriteBuffer("0123456789", 10));
    QString message;
    EXPECT_EQ(cfileErrorCode([&] { stream.SetPosition(11); }, &message), 6);
    EXPECT_EQ(message, QStringLiteral("Can not set stream position"));
    EXPECT_EQ(cfileErrorCode([&] { stream.SetPosition(-1); }), 6);
    EXPECT_EQ(stream.Position(), 10);
    EXPECT_EQ(stream.Seek(-3, TCFileSeekOrigin::End), 7);
    EXPECT_EQ(stream.Seek(1, TCFileSeekOrigin::Current), 8);
}

TEST(CompoundFile, UncreatableTargetIsReportedAndLeavesNothing)
{
    QTemporaryDir dir;
    QString message;
    const QString underMissingFolder = dir.filePath(QStringLiteral("missing/out.xls"));
    EXPECT_EQ(
        cfileErrorCode([&] { TCFile file(TCFileMode::Create, underMissingFolder); }, &message), 0);
    EXPECT_EQ(message, QStringLiteral("Can not create a docfile"));
    EXPECT_EQ(cfileErrorCode([&] { TCFile file(TCFileMode::Create, dir.path()); }), 0);
    EXPECT_EQ(cfileErrorCode([&] { TCFile file(TCFileMode::Create, QString()); }), 0);
    EXPECT_TRUE(QDir(dir.path())
                    .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)
                    .isEmpty());
}

TEST(CompoundFile, ReplacesTargetOnlyWhenCommitted)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.xls"));
    ASSERT_TRUE(writeFileBytes(path, "old contents"));
    {
        // A save that fails half-way (freed without Commit) keeps the old file.
        TCFile file(TCFileMode::Create, path);
        file.Root().CreateStream("Workbook").WriteBuffer("new", 3);
    }
    EXPECT_EQ(fileBytes(path), QByteArray("old contents"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1)
        << "temporary file left";

    {
        TCFile file(TCFileMode::Create, path);
        file.Root().CreateStream("Workbook").WriteBuffer("new", 3);
        file.Commit();
    }
    EXPECT_EQ(readStream(path, "Workbook"), QByteArray("new"));
}

TEST(CompoundFile, StreamNamesAreLimited)
{
    TCFile file(TCFileMode::Memory, QString());
    QString message;
    EXPECT_EQ(cfileErrorCode([&] { file.Root().CreateStream(QByteArray(32, 'n')); }, &message), 1);
    EXPECT_EQ(message, QStringLiteral("Can not create a stream"));
    EXPECT_EQ(cfileErrorCode([&] { file.Root().CreateStream(QByteArray()); }), 1);
    file.Root().CreateStream(QByteArray(31, 'n'));
    file.Root().CreateStream("\xDC"
                             "bersicht"); // 8-bit name, converted from the code page
    file.Commit();

    TCFile reopened(file.MemoryBytes());
    ASSERT_EQ(reopened.Root().Count(), 2);
    EXPECT_NE(reopened.Root().FindStream(QByteArray(31, 'n')), nullptr);
    EXPECT_NE(reopened.Root().FindStream("\xDC"
                                         "bersicht"),
              nullptr);
}

TEST(CompoundFile, OpeningFailsForMissingOrForeignFiles)
{
    QTemporaryDir dir;
    QString message;
    EXPECT_EQ(cfileErrorCode(
                  [&] { TCFile f(TCFileMode::Open, dir.filePath(QStringLiteral("none.xls"))); },
                  &message),
              3);
    EXPECT_EQ(message, QStringLiteral("Can not open a docfile"));
    const QString text = dir.filePath(QStringLiteral("text.xls"));
    ASSERT_TRUE(writeFileBytes(text, QByteArray(2048, 'x')));
    EXPECT_EQ(cfileErrorCode([&] { TCFile file(TCFileMode::Open, text); }), 3);
    EXPECT_EQ(cfileErrorCode([&] { TCFile file(QByteArray(2048, 'x')); }), 0);
}

TEST(CompoundFile, ErrorMessagesByCode)
{
    const char *expected[] = {"Can not create a docfile",    "Can not create a stream",
                              "Can not create a storage",    "Can not open a docfile",
                              "Can not open a stream",       "Can not open a storage",
                              "Can not set stream position", "Can not commit a storage"};
    for (int code = 0; code < 8; ++code)
        EXPECT_EQ(ECFileError(code).message(), QString::fromLatin1(expected[code]));
}

} // namespace
