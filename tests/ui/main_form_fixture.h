#pragma once

#include "scripted_prompts.h"
#include "widget_test_support.h"

#include "model/row.h"
#include "model/trip_columns.h"
#include "storage/logbook_document.h"
#include "ui/dialogs/fahrt_form.h"
#include "ui/list/trip_list_view.h"
#include "ui/window/main_form.h"

#include <QPrinter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace fb::test {

// A trip as the tests type it into the trip dialog.
struct TripInput {
    QDateTime departure;
    QString from;
    QDateTime arrival;
    QString to;
    QString distance; // as typed into the distance field
    QString purpose;
    bool business = true;
};

TripInput tripOn(int day, const QString &from, const QString &to, const QString &distance);

// A stored trip row with the given texts, before the odometer pass.
Row tripRow(const QString &departure, const QString &from, const QString &to,
            const QString &distance, const QString &kind = QStringLiteral("Geschäftlich"));

// Types the trip into the dialog and presses OK.
ScriptedPrompts::DialogScript enter(const TripInput &trip);
// Presses OK without touching a field.
ScriptedPrompts::DialogScript confirmAsItStands();
// Presses "Abbrechen".
ScriptedPrompts::DialogScript cancel();

// Writes a logbook file holding the given trips.
void writeLogbookFile(const QString &path, const QList<Row> &trips, qint32 startKm = 0);

// A printer that prints into the PDF file at path, as the printer set-up leaves it when a
// file is chosen; and one that cannot print anywhere, as Qt makes it without any printer.
std::unique_ptr<QPrinter> pdfPrinter(const QString &path);
std::unique_ptr<QPrinter> noPrinter();

// A main window with scripted prompts and a folder for its files. Every prompt a test does
// not script counts as a failure. Its printer prints into the file "druck.pdf" of the folder:
// no test reaches the machine's printers.
class MainFormTest : public ::testing::Test {
protected:
    MainFormTest();
    void TearDown() override;

    QString pathOf(const QString &name) const { return m_folder.filePath(name); }
    QString caption() const { return form->windowTitle(); }
    RowTable &trips() { return form->document().logbook().trips; }
    // Adds trips through the "Neue Fahrt..." command.
    void addTrips(const QList<TripInput> &inputs);
    void trigger(const char *actionName);
    void click(const char *buttonName);
    // Opens every dialog of the window through its command, the template editor from the
    // template window, lets look see each while it is shown and closes it unconfirmed. The
    // object names of the dialogs looked at, in that order.
    QStringList lookAtEveryDialog(const std::function<void(QDialog &)> &look);

    QTemporaryDir m_folder;
    ScriptedPrompts prompts;
    std::unique_ptr<TMainForm> form;
};

} // namespace fb::test
