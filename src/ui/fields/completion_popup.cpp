#include "completion_popup.h"

#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QScreen>

#include <algorithm>

namespace fb {

CompletionPopup::CompletionPopup(QWidget *field, Source matching, Source whenEmpty)
    : QObject(field), m_field(field), m_matching(std::move(matching)),
      m_whenEmpty(std::move(whenEmpty)), m_list(new QListWidget(field->window()))
{
    // A window of its own that never takes the focus: every key goes to the field, and the
    // field hands over the few the list uses. It belongs to the field's dialog, so that the
    // dialog's modality lets a click through to it.
    m_list->setObjectName(QStringLiteral("Vorschlaege"));
    m_list->setAccessibleName(QStringLiteral("Vorschläge"));
    m_list->setWindowFlags(Qt::ToolTip | Qt::FramelessWindowHint);
    m_list->setAttribute(Qt::WA_ShowWithoutActivating);
    m_list->setFocusPolicy(Qt::NoFocus);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setTextElideMode(Qt::ElideRight);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(m_list, &QListWidget::itemClicked, this,
            [this](QListWidgetItem *item) { take(m_list->row(item)); });
    field->installEventFilter(this);
    // Moving the dialog leaves the list behind otherwise.
    field->window()->installEventFilter(this);
}

CompletionPopup::CompletionPopup(QLineEdit *field, Source matching, Source whenEmpty)
    : CompletionPopup(static_cast<QWidget *>(field), std::move(matching), std::move(whenEmpty))
{
    m_lineEdit = field;
    // Only what the person types opens the list, not a text the dialog puts in.
    connect(field, &QLineEdit::textEdited, this, [this](const QString &text) {
        offer(text.isEmpty() ? QStringList() : m_matching(text));
    });
}

CompletionPopup::CompletionPopup(QPlainTextEdit *field, Source matching)
    : CompletionPopup(static_cast<QWidget *>(field), std::move(matching), {})
{
    m_textEdit = field;
    connect(field, &QPlainTextEdit::textChanged, this, [this] {
        if (!std::exchange(m_keyTyped, false))
            return;
        const QString text = fieldText();
        offer(text.isEmpty() ? QStringList() : m_matching(text));
    });
}

bool CompletionPopup::isOpen() const
{
    return m_list->isVisible();
}

QString CompletionPopup::fieldText() const
{
    return m_lineEdit ? m_lineEdit->text() : m_textEdit->toPlainText();
}

void CompletionPopup::setFieldText(const QString &text)
{
    if (m_lineEdit) {
        m_lineEdit->setText(text);
        // From its start, as a place the dialog fills.
        m_lineEdit->setCursorPosition(0);
        return;
    }
    m_textEdit->setPlainText(text);
    m_textEdit->moveCursor(QTextCursor::End);
}

void CompletionPopup::offer(const QStringList &offered)
{
    // The tables hold line breaks as CR LF, a field of several lines as plain line feeds.
    QStringList entries = offered;
    if (m_textEdit)
        entries.replaceInStrings(QStringLiteral("\r\n"), QStringLiteral("\n"));
    // A text typed in full has nothing left to complete: Enter must not replace it by another
    // that merely begins the same way (and in the purpose, Enter starts a new line).
    if (entries.isEmpty() || !m_field->hasFocus() || entries.contains(fieldText())) {
        close();
        return;
    }
    m_list->clear();
    for (const QString &entry : std::as_const(entries)) {
        auto *item = new QListWidgetItem(
            QString(entry).replace(QLatin1Char('\n'), QLatin1String(" / ")), m_list);
        item->setData(Qt::UserRole, entry);
        item->setToolTip(entry);
    }
    m_list->setCurrentRow(-1);
    m_list->clearSelection();
    const int rowHeight = m_list->sizeHintForRow(0);
    const int frame = 2 * m_list->frameWidth();
    // Under the line being typed, as wide as the field or, for long entries, up to twice that.
    const int lineBottom =
        m_textEdit
            ? m_textEdit->viewport()->mapTo(m_field, m_textEdit->cursorRect().bottomLeft()).y() +
                  frame
            : m_field->height();
    QPoint below = m_field->mapToGlobal(QPoint(0, lineBottom));
    const int width = std::clamp(m_list->sizeHintForColumn(0) + frame + 8, m_field->width(),
                                 2 * m_field->width());
    const QSize size(width, rowHeight * int(entries.size()) + frame);
    // Above the field where the screen ends below it.
    if (const QScreen *screen = m_field->screen();
        screen && below.y() + size.height() > screen->availableGeometry().bottom())
        below.setY(m_field->mapToGlobal(QPoint(0, 0)).y() - size.height());
    m_list->setGeometry(QRect(below, size));
    m_list->show();
    m_list->raise();
}

void CompletionPopup::close()
{
    m_list->hide();
}

void CompletionPopup::choose(int row)
{
    m_list->setCurrentRow(row);
    if (QListWidgetItem *item = m_list->item(row)) {
        // The field keeps the focus; screen readers hear the choice from it.
        m_field->setAccessibleDescription(item->text());
        QAccessibleEvent event(m_field, QAccessible::DescriptionChanged);
        QAccessible::updateAccessibility(&event);
    }
}

void CompletionPopup::take(int row)
{
    const QListWidgetItem *item = m_list->item(row);
    close();
    m_field->setAccessibleDescription(QString());
    if (item)
        setFieldText(item->data(Qt::UserRole).toString());
}

bool CompletionPopup::keyWhileOpen(int key)
{
    const int current = m_list->currentRow();
    const int last = m_list->count() - 1;
    switch (key) {
    case Qt::Key_Down:
        choose(std::min(current + 1, last));
        return true;
    case Qt::Key_Up:
        choose(std::max(current - 1, 0));
        return true;
    case Qt::Key_PageDown:
        choose(last);
        return true;
    case Qt::Key_PageUp:
        choose(0);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        take(std::max(current, 0));
        return true;
    case Qt::Key_Tab:
        // Moves on either way; takes only what was chosen.
        if (current >= 0)
            take(current);
        close();
        return false;
    case Qt::Key_Escape:
        close();
        return true;
    default:
        return false;
    }
}

bool CompletionPopup::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_field->window() && watched != m_field) {
        if (event->type() == QEvent::Move || event->type() == QEvent::Hide)
            close();
        return QObject::eventFilter(watched, event);
    }
    if (watched != m_field)
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::KeyPress: {
        const auto *key = static_cast<QKeyEvent *>(event);
        const bool plain = (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
        if (isOpen() && plain && keyWhileOpen(key->key()))
            return true;
        if (isOpen() && key->key() == Qt::Key_Backtab)
            close();
        if (!isOpen() && plain && key->key() == Qt::Key_Down && m_whenEmpty &&
            fieldText().isEmpty()) {
            offer(m_whenEmpty(QString()));
            return true;
        }
        m_keyTyped = !key->text().isEmpty() || key->key() == Qt::Key_Backspace ||
                     key->key() == Qt::Key_Delete;
        break;
    }
    case QEvent::ShortcutOverride: {
        // Escape and Enter must not reach a shortcut while the list is open.
        const auto *key = static_cast<QKeyEvent *>(event);
        if (isOpen() && (key->key() == Qt::Key_Escape || key->key() == Qt::Key_Return ||
                         key->key() == Qt::Key_Enter)) {
            event->accept();
            return true;
        }
        break;
    }
    case QEvent::FocusOut:
    case QEvent::Hide:
    case QEvent::Move:
        close();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace fb
