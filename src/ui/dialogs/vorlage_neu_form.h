#pragma once

#include "model/row.h"

#include <QDialog>

#include <memory>

class QLineEdit;
class QPushButton;

namespace fb {

class Prompts;
class TripFields;
class TripSuggestions;

// The template editor: one template's name, places, distance, purpose and kind. The template
// window keeps what it held between uses, so a new template starts from what the previous use
// left.
class TVorlageNeuForm : public QDialog {
    Q_OBJECT
public:
    explicit TVorlageNeuForm(Prompts &prompts, QWidget *parent = nullptr);

    // Fills the fields from a template row. The distance must parse (ConversionError
    // otherwise); it is parsed before any field changes.
    void setFromTemplate(const Row &entry);
    // What the places and the purpose are completed from while typed.
    void setSuggestions(std::shared_ptr<const TripSuggestions> suggestions);
    // The template as the editor holds it: the name and five sub-items.
    Row templateRow() const;

    void OkBtnClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void buildLayout();

    Prompts &m_prompts;
    TripFields *m_fields;
    QLineEdit *DescEd;
    QPushButton *OkBtn;
    QPushButton *BitBtn2;
};

} // namespace fb
