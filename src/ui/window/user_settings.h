#pragma once

#include <QStringList>

#include <memory>

class QHeaderView;
class QMainWindow;
class QSettings;
class QWidget;

namespace fb {

// What the program remembers between runs for the person using it, not for a logbook: the
// last logbooks opened or saved, and where the main window stood. Kept in a QSettings store
// (the organisation's and application's one in the program, a file of their own in tests).
class UserSettings {
public:
    static constexpr int kRecentFileCount = 5;

    explicit UserSettings(std::unique_ptr<QSettings> store);
    ~UserSettings();

    // Newest first, at most kRecentFileCount, each once.
    QStringList recentFiles() const;
    // Puts the path first, as the newest; a path already listed moves up.
    void addRecentFile(const QString &path);
    void removeRecentFile(const QString &path);

    // Size, position, state and the list's column widths, as the window was closed.
    void saveWindow(const QMainWindow &window, const QHeaderView &columns);
    // Restores what saveWindow kept; false, changing nothing, when nothing was kept. A window
    // that would stand off every screen, or be larger than its screen, is placed fully on it.
    bool restoreWindow(QMainWindow &window, QHeaderView &columns) const;

private:
    std::unique_ptr<QSettings> m_store;
};

// Moves and shrinks a window so that its frame lies fully on the screen it stands on most (the
// primary screen when it stands on none).
void keepOnScreen(QWidget &window);

} // namespace fb
