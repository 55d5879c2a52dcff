#pragma once

#include "logbook.h"

#include <QObject>
#include <QString>

namespace fb {

// The open logbook as a whole: its six parts, its file name (empty while untitled) and its
// changed mark. The window caption is rebuilt only when the mark is set or cleared.
class LogbookDocument : public QObject {
    Q_OBJECT
public:
    explicit LogbookDocument(int fontPixelsPerInch = PrintFont::kStandardPixelsPerInch,
                             QObject *parent = nullptr);

    Logbook &logbook() { return m_logbook; }
    const Logbook &logbook() const { return m_logbook; }

    const QString &fileName() const { return m_fileName; }
    void setFileName(const QString &path) { m_fileName = path; }
    bool isChanged() const { return m_changed; }

    void SetChanged();
    void SetUnChanged();
    // Empties the trip and template tables and forgets the file name; master data, print
    // settings and fonts stay, so a new logbook starts with the previous vehicle and keeper.
    void NewAll();

    // Writes the document to its file name, replacing the file only when the new one is
    // complete. False, without a message, when the file cannot be created or must not be
    // replaced (a directory, a device, a pipe, a write-protected file; whyNot says why);
    // throws FileError when a write fails. Clears the changed mark on success.
    bool SaveTheFile(QString *whyNot = nullptr);

    // Replaces the document with the file's contents and runs the odometer pass. False,
    // without a message, when the file cannot be opened: the document is then empty and
    // bears the path as its file name. A file that ends early or cannot be read throws
    // FileError; what was read stays, and the file name is cleared so that the damaged file
    // is not overwritten by the next save. So does a path that is not a regular file (a
    // directory, a device, a pipe), before anything is read.
    bool OpenFileWithName(const QString &path, QString *whyNot = nullptr);

    // "<base> - [name]" with "*" before the "]" while changed; "unbenannt.fbu" while untitled.
    QString caption(const QString &baseCaption) const;

Q_SIGNALS:
    // The changed mark was set or cleared: time to rebuild the caption.
    void captionChanged();

private:
    Logbook m_logbook;
    QString m_fileName;
    bool m_changed = false;
};

} // namespace fb
