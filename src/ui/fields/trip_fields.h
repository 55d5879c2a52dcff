#pragma once

#include <QDateTime>
#include <QWidget>

#include <memory>
#include <optional>

class QGridLayout;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;

namespace fb {

class CompletionPopup;
class DateField;
class NumberField;
class TripSuggestions;
class Prompts;
class TimeField;
struct Row;

// The fields a trip and a template share, with their labels: the two places, the distance,
// the purpose and the kind; for a trip also the departure and arrival dates, each with its
// time of day beside it. Both dialogs apply a template and check these fields through it, and
// give and take plain values: the purpose with its line breaks as CR LF, as the tables hold it.
class TripFields : public QWidget {
    Q_OBJECT
public:
    enum class Moments { Shown, None };

    explicit TripFields(Moments moments, QWidget *parent = nullptr);

    // A row above the shared ones and rows below them, in the same label column.
    void setLeadingRow(const QString &label, QWidget *field);
    void addTrailingRow(const QString &label, QWidget *field, QWidget *beside = nullptr);
    // The keyboard order: before (when given), the shared fields top to bottom up to the kind,
    // then afterKind, and the purpose last.
    void setKeyboardOrder(QWidget *before, const QList<QWidget *> &afterKind);
    // The first of the shared fields in the keyboard order, with its text selected, so that
    // typing replaces it.
    void focusFirstField();

    void setDeparture(const QDateTime &moment);
    void setArrival(const QDateTime &moment);
    // The date of the date field with the time of day of the time field beside it.
    QDateTime departure() const;
    QDateTime arrival() const;

    void setPlaces(const QString &from, const QString &to);
    QString departurePlace() const;
    QString arrivalPlace() const;

    // A distance set here is kept exactly, whatever the field shows with its two decimals,
    // until the person edits the field: a change must not round what nobody touched.
    void setDistance(double kilometres);
    // Shows a distance worked out from the readings: it is stored as the field shows it, like
    // a typed one, not with the noise of the subtraction.
    void showDistance(double kilometres);
    double distance() const;

    void setPurpose(const QString &purpose);
    QString purpose() const;

    void setBusiness(bool business);
    bool isBusiness() const;

    // Empty places and purpose, distance 0; the moments and the kind stay.
    void clearTexts();

    // What the places and the purpose complete from while typed, and, where distances are
    // proposed, the distance of an earlier trip between the two places; set each time the
    // dialog is shown. A proposal fills only a distance still as the dialog was prepared, and
    // shows in italics with where it came from until the person types into the field.
    void setSuggestions(std::shared_ptr<const TripSuggestions> suggestions);
    void setDistanceProposed(bool proposed) { m_proposesDistance = proposed; }
    bool isDistanceProposal() const { return m_distanceProposal; }
    // The completion lists of the places and the purpose.
    const CompletionPopup &completion(const QWidget &field) const;

    // Places, distance, purpose and kind from a template row, in this order. A distance that
    // does not parse throws ConversionError; the places are written by then.
    void applyTemplate(const Row &entry);

    // The dialogs' checks, each refusing with a message and the focus in the field to mend:
    // every date and time field reads as one; places and purpose given; the distance a number
    // from 0 to 100000 kilometres.
    bool momentsReadable(Prompts &prompts, QWidget &dialog);
    bool placesAndPurposeGiven(Prompts &prompts, QWidget &dialog);
    bool distancePlausible(Prompts &prompts, QWidget &dialog);

    // The arrival time field, where a wrong order of the moments is mended.
    QWidget &arrivalTimeField() const;

Q_SIGNALS:
    // The distance field's text changed, typed or set.
    void distanceChanged();
    // The departure date's or time's text changed, typed or set.
    void departureChanged();

private:
    void addRow(int row, const QString &label, QWidget *field, QWidget *beside = nullptr);
    void attachCompletion();
    void proposeDistance();
    void showAsProposal(const QString &source);
    void followDepartureDate();

    QGridLayout *m_grid;
    int m_nextRow = 1; // row 0 is kept for the leading row
    DateField *DateTimePicker1 = nullptr;
    TimeField *DateTimePicker2 = nullptr;
    QLineEdit *AbfahrtEd;
    DateField *DateTimePicker3 = nullptr;
    TimeField *DateTimePicker4 = nullptr;
    QLineEdit *AnkunftEd;
    NumberField *KMED;
    QPlainTextEdit *ZweckEd;
    QRadioButton *RadioButton1;
    QRadioButton *RadioButton2;
    std::optional<double> m_distanceAsSet;
    bool m_settingDistance = false;
    std::shared_ptr<const TripSuggestions> m_suggestions;
    CompletionPopup *m_fromCompletion = nullptr;
    CompletionPopup *m_toCompletion = nullptr;
    CompletionPopup *m_purposeCompletion = nullptr;
    bool m_proposesDistance = false;
    bool m_distanceProposal = false;
    double m_preparedDistance = 0; // as the command set it, before any proposal
    QDate m_departureDate;         // the last departure date that read as one
};

} // namespace fb
