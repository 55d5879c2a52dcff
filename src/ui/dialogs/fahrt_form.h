#pragma once

#include "model/row.h"

#include <QDateTime>
#include <QDialog>

#include <functional>
#include <memory>

class QComboBox;
class QPushButton;

namespace fb {

class NumberField;
class Prompts;
class TripFields;
class TripSuggestions;

// The trip dialog: one trip entered or changed. It keeps the three kilometre fields
// consistent, applies a chosen template, and closes confirmed only for a plausible trip.
// It is given plain values and never touches the logbook; the main window prepares it and
// reads it back.
class TFahrtForm : public QDialog {
    Q_OBJECT
public:
    explicit TFahrtForm(Prompts &prompts, QWidget *parent = nullptr);

    // The four date and time fields.
    void setDeparture(const QDateTime &moment);
    void setArrival(const QDateTime &moment);
    QDateTime departure() const;
    QDateTime arrival() const;
    // The kind: business or private.
    void setBusiness(bool business);
    bool isBusiness() const;

    // Readings that stay as set whatever the departure.
    void setReadings(double start, double endMinimum, double endMaximum, double end);
    // The start reading of a trip departing at a moment: where the trip will go decides it.
    using StartReadingAt = std::function<double(const QDateTime &departure)>;
    // The start reading follows the departure until the dialog closes, with the end reading's
    // bounds (start to start + 100000) and the end reading (start + distance); empty leaves
    // the readings as they are.
    void followDeparture(StartReadingAt startReadingAt);

    // The templates to choose from: the list shows every name in table order; nothing is
    // chosen.
    void fillTemplateList(QList<Row> templates);
    // What the places, the purpose and the distance are completed from (TripFields).
    void setSuggestions(std::shared_ptr<const TripSuggestions> suggestions);
    // Sets the places, moments, distance, purpose and kind from a trip row; the moments and
    // the distance must parse (ConversionError otherwise) and are parsed before any field
    // changes.
    void setFromTrip(const Row &trip);
    void clearTexts();

    // The trip as the dialog holds it: caption and sub-items 0 to 5. The distance is the one
    // set by the preparing command while nobody edited it, in full.
    Row tripRow() const;

    // Handlers.
    void ComboBox1Change();
    void KMEDChange();
    void KM2EdChange();
    void OkBtnClick();

protected:
    void showEvent(QShowEvent *event) override;
    // Lets go of what the readings followed: it belongs to the trip just entered.
    void done(int result) override;

private:
    void buildLayout();
    void showReadingsForDeparture();

    Prompts &m_prompts;
    QList<Row> m_templates;
    TripFields *m_fields;
    QComboBox *ComboBox1;
    NumberField *KM1Ed;
    NumberField *KM2Ed;
    QPushButton *OkBtn;
    QPushButton *BitBtn2;
    StartReadingAt m_startReadingAt;
    bool m_updating = false;
};

} // namespace fb
