#pragma once

#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QStringList>

#include <gtest/gtest.h>

#ifndef XLS_CHECK_PYTHON
#error "XLS_CHECK_PYTHON names the interpreter with xlrd (tests/python.cmake)"
#endif

namespace fb::test {

using Sheet = QList<QStringList>;

// Reads the first sheet with xlrd, a reader nobody here wrote, as rows of texts. Cells that
// are not text show as "<type N>", so a number where a text belongs is caught; positions
// without a cell show as "<none>", so an empty text cell is told from no cell.
inline Sheet readSheetWithXlrd(const QString &path)
{
    const QString script = QStringLiteral(
        "import json, sys, xlrd\n"
        "sheet = xlrd.open_workbook(sys.argv[1]).sheet_by_index(0)\n"
        "def text(c):\n"
        "    if c.ctype == xlrd.XL_CELL_TEXT: return c.value\n"
        "    return '<none>' if c.ctype == xlrd.XL_CELL_EMPTY else '<type %d>' % c.ctype\n"
        "rows = [[text(c)\n"
        "         for c in sheet.row(r)] for r in range(sheet.nrows)]\n"
        "print(json.dumps(rows))\n");
    QProcess python;
    python.start(QStringLiteral(XLS_CHECK_PYTHON), {QStringLiteral("-c"), script, path});
    if (!python.waitForFinished(30000) || python.exitCode() != 0) {
        ADD_FAILURE() << "xlrd failed: " << python.readAllStandardError().toStdString();
        return {};
    }
    Sheet sheet;
    for (const QJsonValue &row : QJsonDocument::fromJson(python.readAllStandardOutput()).array()) {
        QStringList texts;
        for (const QJsonValue &cell : row.toArray())
            texts.append(cell.toString());
        sheet.append(texts);
    }
    return sheet;
}

} // namespace fb::test
