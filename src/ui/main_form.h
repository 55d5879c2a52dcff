#pragma once

#include <QMainWindow>
#include <QString>

#include "export_command.h"
#include "product.h"

#include <functional>
#include <memory>

class QAction;
class QFontDialog;
class QPrinter;
class QPushButton;

namespace fb {

class LogbookDocument;
class Prompts;
class TAuswertungForm;
class TDruckenForm;
class TAboutBox;
class TFahrtForm;
class TPruefungForm;
class TStammForm;
class TVorlagenForm;
class TripListModel;
class TripListView;

// The main window: the trip list, the menu and the button bar, and the document as a whole
// with its file name and changed mark.
class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    explicit TMainForm(Prompts &prompts, int fontPixelsPerInch, QWidget *parent = nullptr);
    ~TMainForm() override;

    static QString baseCaption() { return kProductName; }

    LogbookDocument &document() { return *m_document; }
    TFahrtForm &fahrtForm() { return *m_fahrtForm; }
    TAuswertungForm &auswertungForm() { return *m_auswertungForm; }
    TPruefungForm &pruefungForm() { return *m_pruefungForm; }
    TDruckenForm &druckenForm() { return *m_druckenForm; }
    QFontDialog &headingFontDialog() { return *FontDialog1; }
    QFontDialog &textFontDialog() { return *FontDialog2; }
    // The printer the print commands use, as the printer set-up left it; held for the run.
    // The system's default printer unless the window was given one.
    QPrinter &printer();
    void setPrinter(std::unique_ptr<QPrinter> printer);
    TStammForm &stammForm() { return *m_stammForm; }
    TVorlagenForm &vorlagenForm() { return *m_vorlagenForm; }
    TAboutBox &aboutBox() { return *m_aboutBox; }
    TripListView &tripList() { return *ListView1; }

    // The file to open when the window is first shown (the first command-line argument).
    void setStartFile(const QString &path) { m_startFile = path; }

    void SetChanged();
    void SetUnChanged();
    bool SaveFile();
    bool OpenFile();
    void UpdateKMSTands();
    double getlastkm();

    // Handlers of the menu and the button bar.
    void Ne1Click();
    void ffnen1Click();
    void Speichern1Click();
    void Speichernunter1Click();
    void Beenden1Click();
    void QuitBtnClick();
    void Neu1Click();
    void ndern1Click();
    void Kopieren1Click();
    void Lschen1Click();
    void Auswertunganzeigen1Click();
    void Fahrtenbuchprfen1Click();
    void Drucke1Click();
    void Druckvorschau1Click();
    void Druckereinrichten1Click();
    void ndern3Click();
    void Verwalten1Click();
    void Exportieren1Click();
    void ber1Click();

    // The selected row, or -1.
    int selectedRow() const;
    void selectRow(int row);

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildMenu();
    void buildButtonBar(QWidget *bar);
    QAction *addCommand(QMenu *menu, const QString &text, const char *name,
                        void (TMainForm::*handler)());
    void runCommand(void (TMainForm::*handler)());
    void FormShow();
    bool FormCloseQuery();
    bool maybeSave(const QString &question);
    bool writeDocument();
    void updateCaption();
    void prepareNewReadings();
    void appendTripFromDialog();
    bool showPrintOptions();

    Prompts &m_prompts;
    LogbookDocument *m_document;
    TripListModel *m_tripModel;
    TripListView *ListView1;
    TFahrtForm *m_fahrtForm;
    TAuswertungForm *m_auswertungForm;
    TPruefungForm *m_pruefungForm;
    QFontDialog *FontDialog1;
    QFontDialog *FontDialog2;
    TDruckenForm *m_druckenForm;
    std::unique_ptr<QPrinter> m_printer;
    TStammForm *m_stammForm;
    TVorlagenForm *m_vorlagenForm;
    TAboutBox *m_aboutBox;
    TripExportCommand m_exportCommand; // SaveDialog2's remembered folder and name
    QString m_startFile;
    bool m_shown = false;
};

} // namespace fb
