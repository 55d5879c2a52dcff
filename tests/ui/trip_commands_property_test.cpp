// Random sequences of the four trip commands, with saving and loading in between, must keep
// the logbook an audit trail whose live trips stand in time order, whose readings always
// follow from its trips, and whose entry log knows when each row was entered and deleted.
#include "main_form_fixture.h"

#include "file_bytes.h"

#include "checks/trip_totals.h"
#include "model/entry_log.h"
#include "model/odometer.h"
#include "model/text_forms.h"
#include "ui/fields/date_field.h"
#include "ui/fields/number_field.h"
#include "ui/fields/time_field.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QRadioButton>

#include <random>

namespace fb::test {
namespace {

Row withoutReadings(Row row)
{
    row.padSubItems(TripSubItem::Count);
    row.subItems[TripSubItem::KmStart].clear();
    row.subItems[TripSubItem::KmEnd].clear();
    return row;
}

Row markedDeleted(Row row)
{
    row.padSubItems(TripSubItem::Count);
    row.subItems[TripSubItem::Deleted] = kDeletedMark;
    return row;
}

class TripCommandsPropertyTest : public MainFormTest, public ::testing::WithParamInterface<int> {
protected:
    enum class Step { New, Change, Copy, Delete };

    QString randomDistance()
    {
        // Whole and decimal kilometres, now and then none at all.
        const int cents = std::uniform_int_distribution<int>(0, 40000)(m_random);
        if (cents % 7 == 0)
            return QString::number(cents / 100);
        return QStringLiteral("%1,%2").arg(cents / 100).arg(cents % 100, 2, 10, QLatin1Char('0'));
    }

    TripInput randomTrip()
    {
        const int day = std::uniform_int_distribution<int>(1, 28)(m_random);
        TripInput trip = tripOn(day, QStringLiteral("Von %1").arg(day),
                                QStringLiteral("Nach %1").arg(m_steps), randomDistance());
        trip.purpose = m_steps % 5 == 0 ? QStringLiteral("Zeile eins\nZeile zwei")
                                        : QStringLiteral("Zweck %1").arg(m_steps);
        trip.business = m_steps % 3 != 0;
        return trip;
    }

    // The dialog as a change or copy prepared it, with a new distance and purpose typed in,
    // and now and then another day.
    ScriptedPrompts::DialogScript editAsPrepared()
    {
        const QString distance = randomDistance();
        const QString purpose = QStringLiteral("Geändert %1").arg(m_steps);
        const int day = std::uniform_int_distribution<int>(-28, 28)(m_random);
        return [distance, purpose, day](QDialog &dialog) {
            auto &fahrt = dynamic_cast<TFahrtForm &>(dialog);
            control<NumberField>(fahrt, "KMED")->setText(distance);
            control<QPlainTextEdit>(fahrt, "ZweckEd")->setPlainText(purpose);
            if (day > 0) {
                const TripInput moved = tripOn(day, QString(), QString(), QString());
                fahrt.setDeparture(moved.departure);
                fahrt.setArrival(moved.arrival);
            }
            fahrt.OkBtnClick();
            return fahrt.result();
        };
    }

    void runStep()
    {
        ++m_steps;
        const QList<Row> before = trips().rows();
        const std::size_t eventsBefore = form->document().logbook().entryLog.events().size();
        const auto step = Step(std::uniform_int_distribution<int>(0, 3)(m_random));
        const int row =
            before.isEmpty()
                ? -1
                : std::uniform_int_distribution<int>(0, int(before.size()) - 1)(m_random);
        if (row >= 0)
            form->tripList().selectRow(row);
        switch (step) {
        case Step::New:
            prompts.answerDialog(enter(randomTrip()));
            trigger("Neu1");
            break;
        case Step::Change:
            if (row >= 0 && !isDeleted(before.at(row)))
                prompts.answerDialog(editAsPrepared());
            trigger("ndern1");
            break;
        case Step::Copy:
            if (row >= 0)
                prompts.answerDialog(editAsPrepared());
            trigger("Kopieren1");
            break;
        case Step::Delete:
            trigger("Lschen1");
            break;
        }
        ASSERT_TRUE(prompts.scriptUsedUp()) << "step " << m_steps;
        checkAuditTrail(step, row, before);
        checkTimeOrder();
        checkReadings();
        checkLog(step, row, before, eventsBefore);
    }

    QDateTime departs(qsizetype row) { return parseDateTimeText(trips().at(row).caption); }

    // The row the command wrote: the selected one.
    qsizetype written() { return form->tripList().selectedRow(); }

    // The written row stands directly before the first live trip that departs after it, at the
    // end when none does, and below every live trip that departs no later.
    void checkPlacedInTime(qsizetype placed)
    {
        const QDateTime at = departs(placed);
        for (qsizetype i = 0; i < trips().count(); ++i) {
            if (i == placed || isDeleted(trips().at(i)))
                continue;
            if (i < placed) {
                ASSERT_LE(departs(i), at) << "row " << i << " after step " << m_steps;
            } else {
                ASSERT_GT(departs(i), at) << "row " << i << " after step " << m_steps;
            }
        }
        if (placed + 1 < trips().count()) {
            ASSERT_FALSE(isDeleted(trips().at(placed + 1))) << "step " << m_steps;
        }
    }

    // No row is ever removed or revived; a trip goes to its place in time, a change directly
    // below its old version where it still fits there.
    void checkAuditTrail(Step step, int row, const QList<Row> &before)
    {
        const QList<Row> &after = trips().rows();
        ASSERT_GE(after.size(), before.size()) << "step " << m_steps;
        QList<Row> expected;
        for (const Row &kept : before)
            expected.append(withoutReadings(kept));
        const bool live = row >= 0 && !isDeleted(before.at(row));
        if (step == Step::New || (step == Step::Copy && row >= 0)) {
            ASSERT_EQ(after.size(), before.size() + 1);
            const qsizetype placed = written();
            EXPECT_FALSE(isDeleted(after.at(placed)));
            expected.insert(placed, withoutReadings(after.at(placed)));
            checkPlacedInTime(placed);
        } else if (step == Step::Change && live) {
            ASSERT_EQ(after.size(), before.size() + 1);
            expected[row] = markedDeleted(expected.at(row));
            const qsizetype placed = written();
            EXPECT_FALSE(isDeleted(after.at(placed)));
            const qsizetype oldRow = placed <= row ? row + 1 : row;
            ASSERT_TRUE(isDeleted(after.at(oldRow)));
            expected.insert(placed, withoutReadings(after.at(placed)));
            // Directly below the old version exactly while it fits between its live neighbours.
            const auto neighbour = [&](qsizetype from, int direction) -> std::optional<QDateTime> {
                for (qsizetype i = from; i >= 0 && i < after.size(); i += direction) {
                    if (i != placed && !isDeleted(after.at(i)))
                        return departs(i);
                }
                return std::nullopt;
            };
            const std::optional<QDateTime> above = neighbour(oldRow - 1, -1);
            const std::optional<QDateTime> below = neighbour(oldRow + 1, +1);
            const QDateTime at = departs(placed);
            const bool fits = (!above || *above <= at) && (!below || at <= *below);
            ASSERT_EQ(placed == oldRow + 1, fits) << "step " << m_steps;
            if (!fits)
                checkPlacedInTime(placed);
        } else if (step == Step::Delete && row >= 0) {
            expected[row] = markedDeleted(expected.at(row));
        }
        ASSERT_EQ(after.size(), expected.size());
        for (qsizetype i = 0; i < after.size(); ++i)
            ASSERT_EQ(withoutReadings(after.at(i)), expected.at(i))
                << "row " << i << " after step " << m_steps;
    }

    // The live trips stand in the order of their departures.
    void checkTimeOrder()
    {
        std::optional<QDateTime> previous;
        for (qsizetype i = 0; i < trips().count(); ++i) {
            if (isDeleted(trips().at(i)))
                continue;
            ASSERT_TRUE(!previous || *previous <= departs(i))
                << "row " << i << " after step " << m_steps;
            previous = departs(i);
        }
    }

    // Every row was entered here and is logged with what it says; every deleted row has its
    // deletion logged and no live one has; each command added its events and no other.
    void checkLog(Step step, int row, const QList<Row> &before, std::size_t eventsBefore)
    {
        const EntryLog &log = form->document().logbook().entryLog;
        const bool live = row >= 0 && !isDeleted(before.at(row));
        std::size_t added = 0;
        if (step == Step::New || (step == Step::Copy && row >= 0) || (step == Step::Delete && live))
            added = 1;
        else if (step == Step::Change && live)
            added = 2;
        ASSERT_EQ(log.events().size(), eventsBefore + added) << "step " << m_steps;
        ASSERT_EQ(log.state(), trips().isEmpty() ? EntryLogState::None : EntryLogState::Intact);
        for (qsizetype i = 0; i < trips().count(); ++i) {
            const Row &trip = trips().at(i);
            ASSERT_NE(log.enteredEvent(i), nullptr) << "row " << i << " step " << m_steps;
            ASSERT_EQ(log.enteredEvent(i)->digest, tripDigest(trip));
            ASSERT_EQ(log.deletedEvent(i) != nullptr, isDeleted(trip)) << "row " << i;
        }
        if (step == Step::Change && live) {
            const EntryEvent &entered = log.events().back();
            ASSERT_EQ(entered.kind, EntryEventKind::Entered);
            ASSERT_EQ(entered.replaces, log.deletedEvent(written() > row ? row : row + 1)->row);
        }
    }

    // The readings equal those of a fresh odometer pass, the status bar's totals a fresh count.
    void checkReadings()
    {
        ASSERT_EQ(form->findChild<QLabel *>(QStringLiteral("Totals"))->text(),
                  tripTotalsText(trips()))
            << "after step " << m_steps;
        Logbook fresh;
        fresh.master.startKm = form->document().logbook().master.startKm;
        for (const Row &trip : trips().rows())
            fresh.trips.append(withoutReadings(trip));
        UpdateKMSTands(fresh);
        ASSERT_EQ(fresh.trips.rows(), trips().rows()) << "after step " << m_steps;
    }

    // Save, load and save again gives the same bytes, the same trips and the same log.
    void checkSaveAndLoad()
    {
        const QList<Row> before = trips().rows();
        const EntryLog logBefore = form->document().logbook().entryLog;
        const QString first = pathOf(QStringLiteral("eins.fbu"));
        const QString second = pathOf(QStringLiteral("zwei.fbu"));
        prompts.answerFile(first);
        trigger("Speichernunter1");
        prompts.answerFile(first);
        trigger("ffnen1");
        ASSERT_EQ(trips().rows(), before);
        ASSERT_EQ(form->document().logbook().entryLog, logBefore);
        ASSERT_TRUE(form->document().outsideChangeFound().isEmpty());
        prompts.answerFile(second);
        trigger("Speichernunter1");
        ASSERT_EQ(fileBytes(first), fileBytes(second));
        ASSERT_TRUE(prompts.scriptUsedUp());
        for (const auto &entry : prompts.asked())
            ASSERT_NE(entry.kind, QStringLiteral("stop")) << entry.text.toStdString();
        prompts.clearAsked();
    }

    std::mt19937 m_random{unsigned(GetParam())};
    int m_steps = 0;
};

TEST_P(TripCommandsPropertyTest, CommandsKeepAnAuditTrailWithDerivedReadings)
{
    form->document().logbook().master.startKm = GetParam() * 1000;
    for (int round = 0; round < 5; ++round) {
        for (int i = 0; i < 300; ++i) {
            runStep();
            if (HasFatalFailure())
                return;
        }
        checkSaveAndLoad();
        if (HasFatalFailure())
            return;
        prompts.clearAsked();
    }
    EXPECT_GT(trips().count(), 700);
}

INSTANTIATE_TEST_SUITE_P(Seeds, TripCommandsPropertyTest, ::testing::Values(1, 29, 4711));

} // namespace
} // namespace fb::test
