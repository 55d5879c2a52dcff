#pragma once

#include "model/logbook_operation.h"
#include "model/row.h"
#include "model/row_table.h"

#include <QDialog>

#include <functional>
#include <optional>

class QPushButton;
class QStatusBar;

namespace fb {

class Prompts;
class RowListView;
class RowTableModel;

// The template window: the template table as a list, with commands to add, change, copy and
// delete templates. Each command is one operation that the window hands on to be applied to
// the logbook; once applied, the list shows it. Trips already entered are never touched.
class TVorlagenForm : public QDialog {
    Q_OBJECT
public:
    // Applies an operation to the logbook; an Error when it cannot ends the command.
    using ApplyOperation = std::function<void(const LogbookOperation &)>;

    // The templates as the logbook holds them, the trips whose places and purposes the editor
    // completes from, and what the editor held when it was last closed (none at first).
    TVorlagenForm(Prompts &prompts, const QList<Row> &templates, QList<Row> trips,
                  std::optional<Row> lastEdited, ApplyOperation apply, QWidget *parent = nullptr);

    // The template editor's fields as its last use left them, for the next showing.
    const std::optional<Row> &lastEdited() const { return m_lastEdited; }

    // Handlers.
    void NewBtnClick();
    void EditBtnClick();
    void CopyBtnClick();
    void DeleteBtnClick();

    QPushButton *BackBtn;
    QPushButton *NewBtn;
    QPushButton *EditBtn;
    QPushButton *DeleteBtn;
    QPushButton *CopyBtn;
    RowListView *ListView1;
    QStatusBar *StatusBar1;

protected:
    void showEvent(QShowEvent *event) override;

private:
    // Shows the editor with what it held last, or with the template given, and the completion
    // lists of the templates as they are now; the template it holds when confirmed.
    std::optional<Row> editedTemplate(const std::optional<Row> &from);
    void newTemplate(const std::optional<Row> &from);
    void buildLayout();

    Prompts &m_prompts;
    ApplyOperation m_apply;
    // The templates as applied so far: the list shows them.
    RowTable m_templates;
    const QList<Row> m_trips;
    std::optional<Row> m_lastEdited;
    RowTableModel *m_model;
};

} // namespace fb
