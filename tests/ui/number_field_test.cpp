#include "ui/fields/number_field.h"

#include "widget_test_support.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace fb {
namespace {

TEST(NumberField, DecimalKindWritesTwoDecimalsWithTheDecimalComma)
{
    NumberField field(NumberField::Kind::Decimal);
    EXPECT_EQ(field.text(), QStringLiteral("0,00"));
    field.setValue(12370.5);
    EXPECT_EQ(field.text(), QStringLiteral("12370,50"));
    field.setValue(1234567.125);
    EXPECT_EQ(field.text(), QStringLiteral("1234567,13")) << "no thousands separators";
    field.setValue(-3);
    EXPECT_EQ(field.text(), QStringLiteral("-3,00"));
}

TEST(NumberField, WholeNumberKindRoundsHalvesToEven)
{
    NumberField field(NumberField::Kind::WholeNumber);
    EXPECT_EQ(field.text(), QStringLiteral("0"));
    field.setValue(2.5);
    EXPECT_EQ(field.text(), QStringLiteral("2"));
    field.setValue(3.5);
    EXPECT_EQ(field.text(), QStringLiteral("4"));
    field.setValue(-7.6);
    EXPECT_EQ(field.text(), QStringLiteral("-8"));
}

TEST(NumberField, TextThatDoesNotParseReadsAsTheLowerBound)
{
    NumberField decimal(NumberField::Kind::Decimal);
    decimal.setText(QStringLiteral("-"));
    EXPECT_EQ(decimal.value(), 0);
    decimal.setText(QStringLiteral("25,5"));
    EXPECT_EQ(decimal.value(), 25.5);
    decimal.setText(QStringLiteral("1,5e2"));
    EXPECT_EQ(decimal.value(), 150);

    decimal.setRange(100, 200);
    decimal.setText(QString());
    EXPECT_EQ(decimal.value(), 100);

    NumberField whole(NumberField::Kind::WholeNumber);
    whole.setRange(-5, 5);
    whole.setText(QStringLiteral("3000000000"));
    EXPECT_EQ(whole.value(), -5) << "beyond a signed 32-bit integer";
    whole.setText(QStringLiteral("4"));
    EXPECT_EQ(whole.value(), 4);
}

TEST(NumberField, BoundsClampProgramValuesOnlyWhenTheyDiffer)
{
    NumberField field(NumberField::Kind::Decimal);
    field.setValue(-50);
    EXPECT_EQ(field.value(), -50) << "no bounds";
    field.setRange(7, 7);
    field.setValue(99);
    EXPECT_EQ(field.value(), 99) << "equal bounds do not count";
    field.setRange(12345, 112345);
    field.setValue(200000 + 12345);
    EXPECT_EQ(field.text(), QStringLiteral("112345,00"));
    field.setValue(1);
    EXPECT_EQ(field.text(), QStringLiteral("12345,00"));
}

TEST(NumberField, TypedValueOutsideTheBoundsBecomesTheNearerBoundOnFocusLoss)
{
    QWidget window;
    auto *field = new NumberField(NumberField::Kind::Decimal, &window);
    auto *other = new QLineEdit(&window);
    field->setRange(100, 200);
    ASSERT_TRUE(test::showActive(window));
    field->setFocus();
    field->setText(QStringLiteral("50"));
    EXPECT_EQ(field->text(), QStringLiteral("50")) << "typing is not corrected at once";
    other->setFocus();
    EXPECT_EQ(field->text(), QStringLiteral("100,00"));

    field->setFocus();
    field->setText(QStringLiteral("250,5"));
    other->setFocus();
    EXPECT_EQ(field->text(), QStringLiteral("200,00"));
}

TEST(NumberField, ArrowKeysStepByOneUnlessReadOnly)
{
    QWidget window;
    auto *field = new NumberField(NumberField::Kind::Decimal, &window);
    field->setValue(10.25);
    ASSERT_TRUE(test::showActive(window));
    field->setFocus();
    QTest::keyClick(field, Qt::Key_Up);
    EXPECT_EQ(field->text(), QStringLiteral("11,25"));
    QTest::keyClick(field, Qt::Key_Down);
    QTest::keyClick(field, Qt::Key_Down);
    EXPECT_EQ(field->text(), QStringLiteral("9,25"));

    field->setReadOnly(true);
    QTest::keyClick(field, Qt::Key_Up);
    field->stepBy(1);
    EXPECT_EQ(field->text(), QStringLiteral("9,25"));
}

TEST(NumberField, KeyFilterLetsThroughOnlyWhatANumberHolds)
{
    QWidget window;
    auto *decimal = new NumberField(NumberField::Kind::Decimal, &window);
    auto *whole = new NumberField(NumberField::Kind::WholeNumber, &window);
    ASSERT_TRUE(test::showActive(window));
    decimal->setText(QString());
    decimal->setFocus();
    QTest::keyClicks(decimal, QStringLiteral("-1x2,5,3e4E.a"));
    EXPECT_EQ(decimal->text(), QStringLiteral("-12,53e4"));

    whole->setText(QString());
    whole->setFocus();
    QTest::keyClicks(whole, QStringLiteral("+12,5e"));
    EXPECT_EQ(whole->text(), QStringLiteral("+12,5"))
        << "a decimal separator is rounded away later";
}

TEST(NumberField, AnnouncesEveryTextChangeTypedOrSet)
{
    NumberField field(NumberField::Kind::Decimal);
    QSignalSpy changes(&field, &NumberField::changed);
    field.setValue(5);
    field.setValue(5);
    field.setText(QStringLiteral("7"));
    EXPECT_EQ(changes.count(), 2) << "setting the same value again changes no text";
}

} // namespace
} // namespace fb
