#include "caption_width.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QString>

namespace fb {
namespace {

// The icon left of the caption and three buttons right of it, with their spacing.
constexpr int kFrameButtonsRoom = 4 * 26 + 24;

} // namespace

int widthShowingCaption(const QString &caption)
{
    QFont titleFont = QFontDatabase::systemFont(QFontDatabase::TitleFont);
    titleFont.setBold(true);
    return QFontMetrics(titleFont).horizontalAdvance(caption) + kFrameButtonsRoom;
}

} // namespace fb
