// Random sequences of the four trip commands, with saving and loading in between, must keep
// the logbook an audit trail whose readings always follow from its trips.
#include "main_form_fixture.h"

#include "model/odometer.h"
#include "ui/date_field.h"
#include "ui/number_field.h"
#include "ui/time_field.h"

#include <QFile>
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

QByteArray contentsOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
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

    // The dialog as a change or copy prepared it, with a new distance and purpose typed in.
    ScriptedPrompts::DialogScript editAsPrepared()
    {
        const QString distance = randomDistance();
        const QString purpose = QStringLiteral("Geändert %1").arg(m_steps);
        return [distance, purpose](QDialog &dialog) {
            auto &fahrt = dynamic_cast<TFahrtForm &>(dialog);
            control<NumberField>(fahrt, "KMED")->setText(distance);
            control<QPlainTextEdit>(fahrt, "ZweckEd")->setPlainText(purpose);
            fahrt.OkBtnClick();
            return fahrt.result();
        };
    }

    void runStep()
    {
        ++m_steps;
        const QList<Row> before = trips().rows();
        const auto step = Step(std::uniform_int_distribution<int>(0, 3)(m_random));
        const int row =
            before.isEmpty()
                ? -1
                : std::uniform_int_distribution<int>(0, int(before.size()) - 1)(m_random);
        if (row >= 0)
            form->selectRow(row);
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
        checkReadings();
    }

    // No row is ever removed or revived; a change stands directly below its old version.
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
            EXPECT_FALSE(isDeleted(after.last()));
            expected.append(withoutReadings(after.last()));
        } else if (step == Step::Change && live) {
            ASSERT_EQ(after.size(), before.size() + 1);
            expected[row] = markedDeleted(expected.at(row));
            EXPECT_FALSE(isDeleted(after.at(row + 1)));
            EXPECT_EQ(after.at(row + 1).caption, before.at(row).caption);
            expected.insert(row + 1, withoutReadings(after.at(row + 1)));
        } else if (step == Step::Delete && row >= 0) {
            expected[row] = markedDeleted(expected.at(row));
        }
        ASSERT_EQ(after.size(), expected.size());
        for (qsizetype i = 0; i < after.size(); ++i)
            ASSERT_EQ(withoutReadings(after.at(i)), expected.at(i))
                << "row " << i << " after step " << m_steps;
    }

    // The readings equal those of a fresh odometer pass.
    void checkReadings()
    {
        Logbook fresh;
        fresh.master.startKm = form->document().logbook().master.startKm;
        for (const Row &trip : trips().rows())
            fresh.trips.append(withoutReadings(trip));
        UpdateKMSTands(fresh);
        ASSERT_EQ(fresh.trips.rows(), trips().rows()) << "after step " << m_steps;
    }

    // Save, load and save again gives the same bytes and the same trips.
    void checkSaveAndLoad()
    {
        const QList<Row> before = trips().rows();
        const QString first = pathOf(QStringLiteral("eins.fbu"));
        const QString second = pathOf(QStringLiteral("zwei.fbu"));
        prompts.answerFile(first);
        trigger("Speichernunter1");
        prompts.answerFile(first);
        trigger("ffnen1");
        ASSERT_EQ(trips().rows(), before);
        prompts.answerFile(second);
        trigger("Speichernunter1");
        ASSERT_EQ(contentsOf(first), contentsOf(second));
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
