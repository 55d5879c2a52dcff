#include "core/replacing_file.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace fb;

namespace {

mode_t modeOf(const QString &path)
{
    struct stat status {};
    EXPECT_EQ(::stat(QFile::encodeName(path).constData(), &status), 0);
    return status.st_mode & 07777;
}

// The process's file mask stays as it is throughout, for every thread: a new file gets what
// the mask leaves, a replaced file keeps its permissions.
TEST(ReplacingFile, NewFilesFollowTheMaskAndReplacedOnesKeepTheirPermissions)
{
    QTemporaryDir dir;
    const QString fresh = dir.filePath(QStringLiteral("neu.pdf"));
    const mode_t before = ::umask(027);
    {
        ReplacingFile file(fresh);
        ASSERT_NO_THROW(file.create());
        ASSERT_EQ(::umask(027), mode_t(027)) << "making the file leaves the mask alone";
        ASSERT_EQ(::write(file.handle(), "x", 1), 1);
        ASSERT_NO_THROW(file.commit());
        EXPECT_EQ(::umask(027), mode_t(027)) << "committing leaves the mask alone";
    }
    EXPECT_EQ(modeOf(fresh), mode_t(0640));

    ASSERT_EQ(::chmod(QFile::encodeName(fresh).constData(), 0604), 0);
    {
        ReplacingFile file(fresh);
        ASSERT_NO_THROW(file.create());
        ASSERT_NO_THROW(file.commit());
    }
    EXPECT_EQ(modeOf(fresh), mode_t(0604));
    ::umask(before);
}

} // namespace
