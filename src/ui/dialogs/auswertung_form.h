#pragma once

#include <QDialog>
#include <QStringList>

class QFrame;
class QPlainTextEdit;
class QPushButton;
class QStatusBar;

namespace fb {

// The evaluation window: the lines of an evaluation in an editable memo (what is typed there
// is not kept anywhere) above a status bar, with an OK button in a panel on top.
class TAuswertungForm : public QDialog {
    Q_OBJECT
public:
    explicit TAuswertungForm(QWidget *parent = nullptr);

    // Clears the memo and adds the lines, so a second run does not append to the first.
    void showLines(const QStringList &lines);
    QStringList lines() const;

    QFrame *Panel1;
    QPushButton *BitBtn1;
    QPlainTextEdit *Memo1;
    QStatusBar *StatusBar1;

protected:
    void showEvent(QShowEvent *event) override;
};

} // namespace fb
