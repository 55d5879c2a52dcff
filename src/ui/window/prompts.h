#pragma once

#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QString>

class QWidget;

namespace fb {

// The file dialogs a prompt can show: what to filter and which suffix to add.
struct FileKind {
    QString filter;        // "Fahrtenbuch-Datei (*.fbu)"
    QString defaultSuffix; // "fbu"
    // Where the dialog starts: a folder, or a folder and a file name; empty for Qt's choice.
    QString startPath = {};
    // Shows the filter without its last parenthesised patterns, for a description that
    // carries text of its own in parentheses: "Excel Dateien (*-xls) (*.xls)".
    bool hidePatterns = false;
};

// Every message box, question, file dialog and modal dialog of the window layer goes through
// this interface, so the tests can answer them offscreen and see what was asked.
class Prompts {
public:
    virtual ~Prompts() = default;

    // A question with Yes, No and Cancel and a question-mark icon. Closing the box is Cancel.
    virtual QMessageBox::StandardButton question(QWidget *parent, const QString &title,
                                                 const QString &text) = 0;
    // A question with Yes and No and a question-mark icon; Enter gives defaultAnswer, closing
    // the box No.
    virtual QMessageBox::StandardButton askYesNo(QWidget *parent, const QString &title,
                                                 const QString &text,
                                                 QMessageBox::StandardButton defaultAnswer) = 0;
    // A line of text to type, starting from initial; a null text when the user cancelled.
    virtual QString askText(QWidget *parent, const QString &title, const QString &label,
                            const QString &initial) = 0;
    // A refused input: error icon, one OK button, no title of its own.
    virtual void inputError(QWidget *parent, const QString &text) = 0;
    // A stop message with its title and one OK button.
    virtual void stopMessage(QWidget *parent, const QString &title, const QString &text) = 0;
    // The chosen path, or an empty text when the user cancelled. The open dialog accepts
    // names of files that do not exist yet; the save dialog asks before overwriting one.
    virtual QString openFileName(QWidget *parent, const FileKind &files) = 0;
    virtual QString saveFileName(QWidget *parent, const FileKind &files) = 0;
    // A folder to write into, starting at startFolder (empty for Qt's choice); the dialog
    // lets the user make a new one. The chosen path, or an empty text when cancelled.
    virtual QString folderName(QWidget *parent, const QString &title,
                               const QString &startFolder) = 0;
    // Shows a prepared dialog modally and returns its result (QDialog::Accepted or Rejected).
    virtual int showModal(QDialog &dialog) = 0;

    // The general error display: an error that ends a command, titled with the application's
    // name, with a full stop added where the message lacks one.
    void showError(QWidget *parent, const QString &message);
};

// Sets a logbook file dialog up: its filter and default suffix; a save dialog asks before it
// overwrites a file, an open dialog takes names of files that do not exist yet.
void prepareFileDialog(QFileDialog &dialog, const FileKind &files, QFileDialog::AcceptMode mode);

// The prompts a person sees: Qt's own message boxes and file dialogs.
class WidgetPrompts : public Prompts {
public:
    QMessageBox::StandardButton question(QWidget *parent, const QString &title,
                                         const QString &text) override;
    QMessageBox::StandardButton askYesNo(QWidget *parent, const QString &title, const QString &text,
                                         QMessageBox::StandardButton defaultAnswer) override;
    QString askText(QWidget *parent, const QString &title, const QString &label,
                    const QString &initial) override;
    void inputError(QWidget *parent, const QString &text) override;
    void stopMessage(QWidget *parent, const QString &title, const QString &text) override;
    QString openFileName(QWidget *parent, const FileKind &files) override;
    QString saveFileName(QWidget *parent, const FileKind &files) override;
    QString folderName(QWidget *parent, const QString &title, const QString &startFolder) override;
    int showModal(QDialog &dialog) override;
};

} // namespace fb
