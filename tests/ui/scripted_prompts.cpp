#include "scripted_prompts.h"

#include <QDialog>

namespace fb::test {

QMessageBox::StandardButton ScriptedPrompts::question(QWidget *, const QString &title,
                                                      const QString &text)
{
    m_asked.append({QStringLiteral("question"), title, text});
    if (m_answers.empty()) {
        ++m_unexpected;
        return QMessageBox::Cancel;
    }
    const auto answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}

QMessageBox::StandardButton ScriptedPrompts::askYesNo(QWidget *, const QString &title,
                                                      const QString &text,
                                                      QMessageBox::StandardButton defaultAnswer)
{
    m_asked.append({QStringLiteral("yesNo"), title, text, defaultAnswer});
    if (m_answers.empty()) {
        ++m_unexpected;
        return QMessageBox::No;
    }
    const auto answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}

QString ScriptedPrompts::askText(QWidget *, const QString &title, const QString &label,
                                 const QString &initial)
{
    m_asked.append(
        {QStringLiteral("text"), title, label + QStringLiteral(" [") + initial + QLatin1Char(']')});
    if (m_texts.empty()) {
        ++m_unexpected;
        return QString();
    }
    const QString text = m_texts.front();
    m_texts.pop_front();
    return text;
}

void ScriptedPrompts::inputError(QWidget *, const QString &text)
{
    m_asked.append({QStringLiteral("inputError"), QString(), text});
}

void ScriptedPrompts::stopMessage(QWidget *, const QString &title, const QString &text)
{
    m_asked.append({QStringLiteral("stop"), title, text});
}

QString ScriptedPrompts::nextPath(const QString &kind, const FileKind &files)
{
    m_lastKind = files;
    m_asked.append({kind, QString(), files.filter});
    if (m_paths.empty()) {
        ++m_unexpected;
        return QString();
    }
    const QString path = m_paths.front();
    m_paths.pop_front();
    return path;
}

QString ScriptedPrompts::openFileName(QWidget *, const FileKind &files)
{
    return nextPath(QStringLiteral("open"), files);
}

QString ScriptedPrompts::saveFileName(QWidget *, const FileKind &files)
{
    return nextPath(QStringLiteral("save"), files);
}

QString ScriptedPrompts::folderName(QWidget *, const QString &title, const QString &startFolder)
{
    FileKind folders{title, QString()};
    folders.startPath = startFolder;
    return nextPath(QStringLiteral("folder"), folders);
}

int ScriptedPrompts::showModal(QDialog &dialog)
{
    m_asked.append({QStringLiteral("dialog"), dialog.windowTitle(), dialog.objectName()});
    if (m_dialogs.empty()) {
        ++m_unexpected;
        return QDialog::Rejected;
    }
    const DialogScript script = std::move(m_dialogs.front());
    m_dialogs.pop_front();
    dialog.setResult(QDialog::Rejected);
    return script(dialog);
}

QStringList ScriptedPrompts::askedKinds() const
{
    QStringList kinds;
    for (const Asked &entry : m_asked)
        kinds.append(entry.kind);
    return kinds;
}

} // namespace fb::test
