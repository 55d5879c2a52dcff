#include "core/write_target.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "file_bytes.h"

#include <sys/stat.h>

#include <cerrno>

using namespace fb;

namespace {

void writeFile(const QString &path, QFileDevice::Permissions permissions)
{
    ASSERT_TRUE(test::writeFileBytes(path, "old"));
    QFile::setPermissions(path, permissions);
}

} // namespace

TEST(WriteTarget, OnlyAWritableRegularFileOrNothingMayBeReplaced)
{
    QTemporaryDir dir;
    const auto path = [&dir](const char *name) {
        return dir.filePath(QString::fromUtf8(name));
    };
    writeFile(path("frei.fbu"), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    // The group's write bit does not stand in for the owner's.
    writeFile(path("geschuetzt.fbu"),
              QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::WriteGroup);
    ASSERT_EQ(::mkfifo(QFile::encodeName(path("pipe")).constData(), 0666), 0);
    ASSERT_TRUE(QFile::link(path("pipe"), path("zur-pipe")));
    ASSERT_TRUE(QFile::link(path("frei.fbu"), path("zur-datei")));

    EXPECT_EQ(writeTargetRefusal(path("frei.fbu")), 0);
    EXPECT_EQ(writeTargetRefusal(path("zur-datei")), 0);
    EXPECT_EQ(writeTargetRefusal(path("neu.fbu")), 0);
    EXPECT_EQ(writeTargetRefusal(path("fehlt/neu.fbu")), 0);

    EXPECT_EQ(writeTargetRefusal(path("geschuetzt.fbu")), EACCES);
    EXPECT_EQ(writeTargetRefusal(path("pipe")), EACCES);
    EXPECT_EQ(writeTargetRefusal(path("zur-pipe")), EACCES);
    EXPECT_EQ(writeTargetRefusal(dir.path()), EACCES);
    EXPECT_EQ(writeTargetRefusal(QStringLiteral("/dev/null")), EACCES);
}
