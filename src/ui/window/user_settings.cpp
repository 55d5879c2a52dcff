#include "user_settings.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QMainWindow>
#include <QScreen>
#include <QSettings>

namespace fb {
namespace {

const QString kRecentFiles = QStringLiteral("recentFiles");
const QString kGeometry = QStringLiteral("mainWindow/geometry");
const QString kState = QStringLiteral("mainWindow/state");
const QString kColumnWidths = QStringLiteral("mainWindow/columnWidths");

// The same file under two spellings (a relative path, "..") is listed once.
QString canonical(const QString &path)
{
    return QFileInfo(path).absoluteFilePath();
}

QScreen *screenShowingMostOf(const QRect &frame)
{
    QScreen *best = nullptr;
    qint64 bestArea = 0;
    for (QScreen *screen : QGuiApplication::screens()) {
        const QRect shared = screen->availableGeometry().intersected(frame);
        const qint64 area = qint64(shared.width()) * shared.height();
        if (area > bestArea) {
            best = screen;
            bestArea = area;
        }
    }
    return best ? best : QGuiApplication::primaryScreen();
}

} // namespace

UserSettings::UserSettings(std::unique_ptr<QSettings> store) : m_store(std::move(store)) {}

UserSettings::~UserSettings() = default;

QStringList UserSettings::recentFiles() const
{
    QStringList files = m_store->value(kRecentFiles).toStringList();
    files.removeDuplicates();
    files.removeAll(QString());
    return files.mid(0, kRecentFileCount);
}

void UserSettings::addRecentFile(const QString &path)
{
    QStringList files = recentFiles();
    const QString file = canonical(path);
    files.removeAll(file);
    files.prepend(file);
    m_store->setValue(kRecentFiles, files.mid(0, kRecentFileCount));
    // Written at once: a program that is killed later still leaves the list behind.
    m_store->sync();
}

void UserSettings::removeRecentFile(const QString &path)
{
    QStringList files = recentFiles();
    files.removeAll(canonical(path));
    m_store->setValue(kRecentFiles, files);
    m_store->sync();
}

void UserSettings::saveWindow(const QMainWindow &window, const QHeaderView &columns)
{
    m_store->setValue(kGeometry, window.saveGeometry());
    m_store->setValue(kState, window.saveState());
    QVariantList widths;
    for (int column = 0; column < columns.count(); ++column)
        widths.append(columns.sectionSize(column));
    m_store->setValue(kColumnWidths, widths);
    m_store->sync();
}

bool UserSettings::restoreWindow(QMainWindow &window, QHeaderView &columns) const
{
    const QByteArray geometry = m_store->value(kGeometry).toByteArray();
    if (geometry.isEmpty() || !window.restoreGeometry(geometry))
        return false;
    window.restoreState(m_store->value(kState).toByteArray());
    const QVariantList widths = m_store->value(kColumnWidths).toList();
    // The last column stretches to the list's width; its stored width is no wish of anyone.
    for (int column = 0; column < widths.size() && column + 1 < columns.count(); ++column) {
        const int width = widths.at(column).toInt();
        if (width > 0)
            columns.resizeSection(column, width);
    }
    keepOnScreen(window);
    return true;
}

void keepOnScreen(QWidget &window)
{
    if (window.isMaximized() || window.isFullScreen())
        return;
    // The frame's margins, where a window manager has drawn them already.
    const QRect frame = window.frameGeometry();
    const QRect inner = window.geometry();
    const QMargins margins(inner.left() - frame.left(), inner.top() - frame.top(),
                           frame.right() - inner.right(), frame.bottom() - inner.bottom());
    const QScreen *screen = screenShowingMostOf(frame);
    if (!screen)
        return;
    const QRect available = screen->availableGeometry();
    const QSize size = window.size().boundedTo(available.size().shrunkBy(margins));
    if (size != window.size())
        window.resize(size);
    QRect placed(frame.topLeft(), size.grownBy(margins));
    if (placed.right() > available.right())
        placed.moveRight(available.right());
    if (placed.bottom() > available.bottom())
        placed.moveBottom(available.bottom());
    placed.moveLeft(std::max(placed.left(), available.left()));
    placed.moveTop(std::max(placed.top(), available.top()));
    // Set as the window's own geometry, as restoreGeometry sets it, and only where it changes:
    // move() places the frame, whose size is not known before the window is shown, so the
    // window would come down by its title bar at every start.
    const QRect inside = placed.marginsRemoved(margins);
    if (inside != inner)
        window.setGeometry(inside);
}

} // namespace fb
