#pragma once

#include <QObject>
#include <QStringList>

#include <functional>

class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QWidget;

namespace fb {

// A list of suggestions under a text field, chosen with the keyboard while the field keeps the
// focus. It opens as soon as a character is typed, with nothing chosen; Down and Up choose,
// Enter takes the chosen entry (or the first) and leaves the focus in the field, Tab takes the
// chosen entry and moves on, Escape closes it and keeps what was typed. While it is open, Enter
// and Escape are its own: they never reach the dialog's buttons. Nothing is put into the field
// without a key or a click of the person's.
class CompletionPopup : public QObject {
    Q_OBJECT
public:
    // The suggestions for what the field holds, best first.
    using Source = std::function<QStringList(const QString &typed)>;

    // A one-line field; whenEmpty, where given, is what Down offers in the empty field.
    CompletionPopup(QLineEdit *field, Source matching, Source whenEmpty = {});
    // A field of several lines: its whole text is what was typed.
    CompletionPopup(QPlainTextEdit *field, Source matching);

    bool isOpen() const;
    // The list as it shows, for tests and screen readers.
    const QListWidget &list() const { return *m_list; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    CompletionPopup(QWidget *field, Source matching, Source whenEmpty);
    QString fieldText() const;
    void setFieldText(const QString &text);
    void offer(const QStringList &entries);
    void close();
    void choose(int row);
    void take(int row);
    bool keyWhileOpen(int key);

    QWidget *m_field;
    QLineEdit *m_lineEdit = nullptr;
    QPlainTextEdit *m_textEdit = nullptr;
    Source m_matching;
    Source m_whenEmpty;
    QListWidget *m_list; // a window of its own, owned by the field's dialog
    bool m_keyTyped = false;
};

} // namespace fb
