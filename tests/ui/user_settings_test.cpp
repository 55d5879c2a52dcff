#include "ui/window/user_settings.h"

#include "widget_test_support.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QMainWindow>
#include <QScreen>
#include <QSettings>
#include <QTableWidget>
#include <QTemporaryDir>

namespace fb::test {
namespace {

class UserSettingsTest : public ::testing::Test {
protected:
    std::unique_ptr<UserSettings> settings()
    {
        return std::make_unique<UserSettings>(std::make_unique<QSettings>(
            folder.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat));
    }

    QTemporaryDir folder;
};

TEST_F(UserSettingsTest, RecentFilesAreNewestFirstOnceEachAndAtMostFive)
{
    auto kept = settings();
    for (const char *name : {"a", "b", "c", "d", "e", "f"})
        kept->addRecentFile(folder.filePath(QString::fromLatin1(name) + ".fbu"));
    kept->addRecentFile(folder.filePath("sub/../d.fbu"));
    const auto names = [this](const QStringList &paths) {
        QStringList shown;
        for (const QString &path : paths)
            shown.append(QDir(folder.path()).relativeFilePath(path));
        return shown;
    };
    EXPECT_EQ(names(kept->recentFiles()),
              (QStringList{"d.fbu", "f.fbu", "e.fbu", "c.fbu", "b.fbu"}));
    kept->removeRecentFile(folder.filePath("f.fbu"));
    kept.reset();
    EXPECT_EQ(names(settings()->recentFiles()), (QStringList{"d.fbu", "e.fbu", "c.fbu", "b.fbu"}))
        << "kept for the next run";
}

TEST_F(UserSettingsTest, WindowAndColumnsComeBackAndStayOnTheScreen)
{
    QMainWindow window;
    auto *list = new QTableWidget(3, 4, &window);
    window.setCentralWidget(list);
    QHeaderView &columns = *list->horizontalHeader();
    columns.setStretchLastSection(true);
    EXPECT_FALSE(settings()->restoreWindow(window, columns)) << "nothing kept yet";

    window.setGeometry(40, 30, 500, 300);
    columns.resizeSection(0, 123);
    ASSERT_TRUE(showActive(window));
    settings()->saveWindow(window, columns);

    QMainWindow again;
    auto *otherList = new QTableWidget(3, 4, &again);
    again.setCentralWidget(otherList);
    ASSERT_TRUE(settings()->restoreWindow(again, *otherList->horizontalHeader()));
    EXPECT_EQ(again.geometry(), window.geometry());
    EXPECT_EQ(otherList->horizontalHeader()->sectionSize(0), 123);

    // A window larger than the screen and off it, as from a larger monitor unplugged since.
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    window.setGeometry(screen.right() + 500, 10, screen.width() * 2, screen.height() + 100);
    keepOnScreen(window);
    EXPECT_TRUE(screen.contains(window.frameGeometry()))
        << window.frameGeometry().x() << "," << window.frameGeometry().width();
}

TEST_F(UserSettingsTest, AWindowStartedAgainAndAgainStaysWhereItWas)
{
    // Each start restores before the window shows, as the program does; the frame the platform
    // draws around a window (a title bar) must not push it down at every start.
    const auto placeOf = [](const QWidget &window) {
        const QRect frame = window.frameGeometry();
        return QStringLiteral("%1,%2 %3x%4")
            .arg(frame.x())
            .arg(frame.y())
            .arg(frame.width())
            .arg(frame.height());
    };
    QString first;
    for (int start = 0; start < 6; ++start) {
        QMainWindow window;
        auto *list = new QTableWidget(3, 4, &window);
        window.setCentralWidget(list);
        if (!settings()->restoreWindow(window, *list->horizontalHeader()))
            window.setGeometry(120, 90, 500, 300);
        ASSERT_TRUE(showActive(window));
        if (start == 0)
            first = placeOf(window);
        EXPECT_EQ(placeOf(window), first) << "start " << start + 1;
        settings()->saveWindow(window, *list->horizontalHeader());
    }
}

} // namespace
} // namespace fb::test
