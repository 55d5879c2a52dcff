#pragma once

#include <QDialog>

#include <functional>

class QLabel;
class QPrinter;

namespace fb {

class PageView;
class RecordedPages;

// "Druckvorschau": the pages of a printout as the printer will print them, to look through and
// print from. The pages are laid out before; each is painted when it comes into view. Printing
// closes the dialog as accepted.
class PrintPreviewDialog : public QDialog {
    Q_OBJECT
public:
    // The pages were laid out for printer; print prints them there and reports its own errors.
    PrintPreviewDialog(const RecordedPages &pages, QPrinter &printer, std::function<void()> print,
                       QWidget *parent = nullptr);

    PageView &pageView() { return *m_view; }

private:
    void addToolBar();
    void showPosition();

    std::function<void()> m_print;
    PageView *m_view;
    QLabel *m_position;
};

} // namespace fb
