#pragma once

#include "ui/window/prompts.h"

#include <QList>
#include <QStringList>

#include <deque>
#include <functional>

namespace fb::test {

// Answers every prompt from a script and records what was asked, so the tests run every
// command, question and error offscreen. A prompt without a scripted answer is recorded as
// unexpected and answered with Cancel, an empty path or a rejected dialog.
class ScriptedPrompts : public Prompts {
public:
    struct Asked {
        QString kind; // "question", "yesNo", "inputError", "stop", "open", "save", "dialog"
        QString title;
        QString text;
        // What Enter answers, for "yesNo".
        QMessageBox::StandardButton defaultAnswer = QMessageBox::NoButton;
    };

    // What the next dialog shown modally does; its return value is the dialog's result.
    using DialogScript = std::function<int(QDialog &)>;

    void answerQuestion(QMessageBox::StandardButton answer) { m_answers.push_back(answer); }
    void answerFile(const QString &path) { m_paths.push_back(path); }
    void answerDialog(DialogScript script) { m_dialogs.push_back(std::move(script)); }
    // A null text answers as a cancelled input.
    void answerText(const QString &text) { m_texts.push_back(text); }

    // Both kinds of question take their answers from answerQuestion, in order.
    QMessageBox::StandardButton question(QWidget *, const QString &title,
                                         const QString &text) override;
    QMessageBox::StandardButton askYesNo(QWidget *, const QString &title, const QString &text,
                                         QMessageBox::StandardButton defaultAnswer) override;
    QString askText(QWidget *, const QString &title, const QString &label,
                    const QString &initial) override;
    void inputError(QWidget *, const QString &text) override;
    void stopMessage(QWidget *, const QString &title, const QString &text) override;
    QString openFileName(QWidget *, const FileKind &files) override;
    QString saveFileName(QWidget *, const FileKind &files) override;
    // Answered from answerFile, recorded as "folder"; the start folder shows as
    // lastFileKind().startPath.
    QString folderName(QWidget *, const QString &title, const QString &startFolder) override;
    int showModal(QDialog &dialog) override;

    const QList<Asked> &asked() const { return m_asked; }
    QStringList askedKinds() const;
    void clearAsked() { m_asked.clear(); }
    int unexpected() const { return m_unexpected; }
    // Every scripted answer was used.
    bool scriptUsedUp() const
    {
        return m_answers.empty() && m_paths.empty() && m_dialogs.empty() && m_texts.empty();
    }
    // The file dialogs' filter and suffix, as last asked.
    FileKind lastFileKind() const { return m_lastKind; }

private:
    QString nextPath(const QString &kind, const FileKind &files);

    std::deque<QMessageBox::StandardButton> m_answers;
    std::deque<QString> m_paths;
    std::deque<DialogScript> m_dialogs;
    std::deque<QString> m_texts;
    QList<Asked> m_asked;
    FileKind m_lastKind;
    int m_unexpected = 0;
};

} // namespace fb::test
