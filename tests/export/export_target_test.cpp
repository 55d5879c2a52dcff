#include "export/export_target.h"

#include "core/error.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "file_bytes.h"

using namespace fb;
using fb::test::writeFileBytes;

namespace {

bool refused(const QString &target, const QString &logbook)
{
    try {
        refuseExportOntoLogbook(target, logbook);
    } catch (const Error &error) {
        EXPECT_EQ(error.message(),
                  QStringLiteral("Der Export würde das Fahrtenbuch selbst "
                                 "überschreiben. Bitte eine andere Datei wählen."));
        return true;
    }
    return false;
}

} // namespace

TEST(ExportTarget, TheLogbookFileUnderAnyNameIsRefused)
{
    QTemporaryDir dir;
    const QString logbook = dir.filePath(QStringLiteral("fahrten.fbu"));
    ASSERT_TRUE(writeFileBytes(logbook, "logbook"));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("unter")));
    ASSERT_TRUE(QFile::link(logbook, dir.filePath(QStringLiteral("verweis.xls"))));
    ASSERT_TRUE(QFile::link(dir.path(), dir.filePath(QStringLiteral("ordner"))));
    ASSERT_EQ(::link(QFile::encodeName(logbook).constData(),
                     QFile::encodeName(dir.filePath(QStringLiteral("hart.xls"))).constData()),
              0);

    EXPECT_TRUE(refused(logbook, logbook));
    EXPECT_TRUE(refused(dir.filePath(QStringLiteral("unter/../fahrten.fbu")), logbook));
    EXPECT_TRUE(refused(dir.filePath(QStringLiteral("verweis.xls")), logbook));
    EXPECT_TRUE(refused(dir.filePath(QStringLiteral("hart.xls")), logbook));
    EXPECT_TRUE(refused(dir.filePath(QStringLiteral("ordner/fahrten.fbu")), logbook));

    EXPECT_FALSE(refused(dir.filePath(QStringLiteral("fahrten.xls")), logbook));
    EXPECT_FALSE(refused(dir.filePath(QStringLiteral("unter/fahrten.fbu")), logbook));
    EXPECT_FALSE(refused(logbook, QString())); // an untitled logbook has no file yet
    EXPECT_EQ(QFile(logbook).size(), 7);
}

TEST(ExportTarget, ALogbookNotYetSavedKeepsItsPathFree)
{
    // A logbook whose file could not be opened keeps the path for its next save.
    QTemporaryDir dir;
    const QString logbook = dir.filePath(QStringLiteral("neu.fbu"));
    EXPECT_TRUE(refused(logbook, logbook));
    EXPECT_TRUE(refused(dir.filePath(QStringLiteral("./neu.fbu")), logbook));
    EXPECT_FALSE(refused(dir.filePath(QStringLiteral("neu.xls")), logbook));
}
