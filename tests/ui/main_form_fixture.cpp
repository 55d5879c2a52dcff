#include "main_form_fixture.h"

#include "sample_logbook.h"

#include "ui/fields/date_field.h"
#include "ui/fields/number_field.h"
#include "ui/fields/time_field.h"

#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

namespace fb::test {

TripInput tripOn(int day, const QString &from, const QString &to, const QString &distance)
{
    const QDate date(2026, 11, day);
    return {QDateTime(date, QTime(8, 0), Qt::UTC),
            from,
            QDateTime(date, QTime(9, 30), Qt::UTC),
            to,
            distance,
            QStringLiteral("Besuch bei %1").arg(to),
            true};
}

Row tripRow(const QString &departure, const QString &from, const QString &to,
            const QString &distance, const QString &kind)
{
    Row row;
    row.caption = departure;
    row.subItems = {from, departure, to, distance, QStringLiteral("Zweck"), kind};
    return row;
}

ScriptedPrompts::DialogScript enter(const TripInput &trip)
{
    return [trip](QDialog &dialog) {
        auto &form = dynamic_cast<TFahrtForm &>(dialog);
        form.setDeparture(trip.departure);
        form.setArrival(trip.arrival);
        control<QLineEdit>(form, "AbfahrtEd")->setText(trip.from);
        control<QLineEdit>(form, "AnkunftEd")->setText(trip.to);
        control<NumberField>(form, "KMED")->setText(trip.distance);
        control<QPlainTextEdit>(form, "ZweckEd")->setPlainText(trip.purpose);
        (trip.business ? control<QRadioButton>(form, "RadioButton1")
                       : control<QRadioButton>(form, "RadioButton2"))
            ->setChecked(true);
        form.OkBtnClick();
        return form.result();
    };
}

ScriptedPrompts::DialogScript confirmAsItStands()
{
    return [](QDialog &dialog) {
        dynamic_cast<TFahrtForm &>(dialog).OkBtnClick();
        return dialog.result();
    };
}

ScriptedPrompts::DialogScript cancel()
{
    return [](QDialog &dialog) {
        control<QPushButton>(dialog, "BitBtn2")->click();
        return dialog.result();
    };
}

void writeLogbookFile(const QString &path, const QList<Row> &trips, qint32 startKm)
{
    saveLogbookFile(path, [&](Logbook &logbook) {
        logbook.master.startKm = startKm;
        for (const Row &row : trips)
            logbook.trips.append(row);
    });
}

std::unique_ptr<QPrinter> pdfPrinter(const QString &path)
{
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(path);
    return printer;
}

std::unique_ptr<QPrinter> noPrinter()
{
    // Setting an empty file name would go back to the system's printer, where there is one.
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    return printer;
}

MainFormTest::MainFormTest() : form(std::make_unique<TMainForm>(prompts, 96))
{
    form->setPrinter(pdfPrinter(pathOf(QStringLiteral("druck.pdf"))));
}

void MainFormTest::TearDown()
{
    EXPECT_EQ(prompts.unexpected(), 0)
        << "prompts asked: " << prompts.askedKinds().join(u',').toStdString();
    EXPECT_TRUE(prompts.scriptUsedUp());
    form.reset();
}

void MainFormTest::addTrips(const QList<TripInput> &inputs)
{
    for (const TripInput &input : inputs) {
        prompts.answerDialog(enter(input));
        trigger("Neu1");
    }
}

void MainFormTest::trigger(const char *actionName)
{
    auto *action = form->findChild<QAction *>(QLatin1String(actionName));
    ASSERT_NE(action, nullptr) << actionName;
    action->trigger();
}

QStringList MainFormTest::lookAtEveryDialog(const std::function<void(QDialog &)> &look)
{
    QStringList seen;
    const auto looking = [&seen, &look](QDialog &dialog) {
        seen.append(dialog.objectName());
        look(dialog);
        return int(QDialog::Rejected);
    };
    for (const char *command : {"Neu1", "ndern3", "Drucke1", "Auswertunganzeigen1",
                                "Fahrtenbuchprfen1", "nderungsprotokollanzeigen1", "ber1"}) {
        prompts.answerDialog(looking);
        trigger(command);
    }
    prompts.answerDialog([this, &looking](QDialog &dialog) {
        looking(dialog);
        prompts.answerDialog(looking);
        control<QPushButton>(dialog, "NewBtn")->click();
        return int(QDialog::Rejected);
    });
    trigger("Verwalten1");
    return seen;
}

void MainFormTest::click(const char *buttonName)
{
    auto *button = form->findChild<QPushButton *>(QLatin1String(buttonName));
    ASSERT_NE(button, nullptr) << buttonName;
    button->click();
}

} // namespace fb::test
