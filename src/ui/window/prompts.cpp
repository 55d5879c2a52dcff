#include "prompts.h"

#include "core/error.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLineEdit>

namespace fb {

void Prompts::showError(QWidget *parent, const QString &message)
{
    stopMessage(parent, QCoreApplication::applicationName(), displayMessage(message));
}

QMessageBox::StandardButton WidgetPrompts::question(QWidget *parent, const QString &title,
                                                    const QString &text)
{
    const auto answer = QMessageBox::question(
        parent, title, text, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
        QMessageBox::Yes);
    return answer == QMessageBox::Yes || answer == QMessageBox::No ? answer : QMessageBox::Cancel;
}

QMessageBox::StandardButton WidgetPrompts::askYesNo(QWidget *parent, const QString &title,
                                                    const QString &text,
                                                    QMessageBox::StandardButton defaultAnswer)
{
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(defaultAnswer);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes ? QMessageBox::Yes : QMessageBox::No;
}

QString WidgetPrompts::askText(QWidget *parent, const QString &title, const QString &label,
                               const QString &initial)
{
    bool confirmed = false;
    const QString text =
        QInputDialog::getText(parent, title, label, QLineEdit::Normal, initial, &confirmed);
    return confirmed ? text : QString();
}

void WidgetPrompts::inputError(QWidget *parent, const QString &text)
{
    QMessageBox::critical(parent, QString(), text);
}

void WidgetPrompts::stopMessage(QWidget *parent, const QString &title, const QString &text)
{
    QMessageBox::critical(parent, title, text);
}

void prepareFileDialog(QFileDialog &dialog, const FileKind &files, QFileDialog::AcceptMode mode)
{
    dialog.setAcceptMode(mode);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(files.filter);
    dialog.setDefaultSuffix(files.defaultSuffix);
    // Overwriting another logbook by one mis-click would destroy it: the save dialog asks.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    dialog.setOption(QFileDialog::HideNameFilterDetails, files.hidePatterns);
    if (!files.startPath.isEmpty()) {
        const QFileInfo start(files.startPath);
        if (start.isDir()) {
            dialog.setDirectory(start.absoluteFilePath());
        } else {
            dialog.setDirectory(start.absolutePath());
            dialog.selectFile(start.fileName());
        }
    }
}

namespace {

QString runFileDialog(QWidget *parent, const FileKind &files, QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(parent);
    prepareFileDialog(dialog, files, mode);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

} // namespace

QString WidgetPrompts::openFileName(QWidget *parent, const FileKind &files)
{
    return runFileDialog(parent, files, QFileDialog::AcceptOpen);
}

QString WidgetPrompts::saveFileName(QWidget *parent, const FileKind &files)
{
    return runFileDialog(parent, files, QFileDialog::AcceptSave);
}

QString WidgetPrompts::folderName(QWidget *parent, const QString &title, const QString &startFolder)
{
    QFileDialog dialog(parent, title, startFolder);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

int WidgetPrompts::showModal(QDialog &dialog)
{
    return dialog.exec();
}

} // namespace fb
