#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

namespace fb::test {

// The text of a PDF file as pdftotext, a reader nobody here wrote, finds it; options go
// before the file (e.g. "-layout" to keep a line's texts on one line). Empty where the
// reader fails, so every expected text is then missing.
inline QString pdfText(const QString &path, const QStringList &options = {})
{
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"), options + QStringList{path, QStringLiteral("-")});
    if (!pdftotext.waitForFinished(30000) || pdftotext.exitCode() != 0)
        return {};
    return QString::fromUtf8(pdftotext.readAllStandardOutput());
}

} // namespace fb::test
