#pragma once

#include <QDialog>

class QPushButton;
class QStatusBar;
class QTableView;

namespace fb {

class LogbookDocument;
class Prompts;
class RowTable;
class RowTableModel;
class TVorlageNeuForm;

// The template window: the template table as a list, with commands to add, change, copy and
// delete templates, each applied to the document as one operation; trips already entered are
// never touched.
class TVorlagenForm : public QDialog {
    Q_OBJECT
public:
    TVorlagenForm(Prompts &prompts, LogbookDocument &document, QWidget *parent = nullptr);

    TVorlageNeuForm &editor() { return *m_editor; }

    // The selected row, or -1.
    int selectedRow() const;
    void selectRow(int row);

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
    QTableView *ListView1;
    QStatusBar *StatusBar1;

protected:
    void showEvent(QShowEvent *event) override;

private:
    // Shows the editor with the completion lists of the logbook as it is now.
    bool editorConfirmed();
    void buildLayout();
    void runCommand(void (TVorlagenForm::*handler)());

    Prompts &m_prompts;
    LogbookDocument &m_document;
    const RowTable &m_templates;
    RowTableModel *m_model;
    TVorlageNeuForm *m_editor;
};

} // namespace fb
