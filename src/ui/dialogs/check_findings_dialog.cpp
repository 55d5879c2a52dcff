#include "check_findings_dialog.h"

#include <QTableWidget>

#include <algorithm>

namespace fb {
namespace {

constexpr int kTripColumnWidth = 60;

} // namespace

CheckFindingsDialog::CheckFindingsDialog(QWidget *parent)
    : TripLinesDialog(
          QStringLiteral("Findings"),
          {QStringLiteral("Fahrt"), QStringLiteral("Abfahrt"), QStringLiteral("Auffälligkeit")},
          parent)
{
    setObjectName(QStringLiteral("PruefungForm"));
    setWindowTitle(QStringLiteral("Fahrtenbuch prüfen"));
    list().setColumnWidth(0, kTripColumnWidth);
    list().setColumnWidth(1, 120);
    resize(720, 420);
}

void CheckFindingsDialog::showFindings(const RowTable &trips, const std::vector<Finding> &findings)
{
    QList<QStringList> lines;
    QList<qsizetype> tripRows;
    for (const Finding &finding : findings) {
        const QString about =
            finding.row >= 0 ? QString::number(finding.row + 1) : QStringLiteral("Ablesung");
        lines.append({about, findingDeparture(trips, finding), finding.text});
        tripRows.append(finding.row);
    }
    showLines(lines, tripRows,
              findings.empty()
                  ? QStringLiteral("Keine Auffälligkeiten gefunden.")
                  : QStringLiteral("&Auffälligkeiten: %1 (Doppelklick zeigt die Fahrt)")
                        .arg(findings.size()),
              0);
    // "Ablesung" in place of a trip's number must show whole.
    list().resizeColumnToContents(0);
    list().setColumnWidth(0, std::max(kTripColumnWidth, list().columnWidth(0)));
}

} // namespace fb
