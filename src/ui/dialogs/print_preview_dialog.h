#pragma once

#include <QDialog>

#include <functional>

class QLabel;
class QPrinter;
class QTimer;

namespace fb {

class PageView;
class RecordedPages;

// "Druckvorschau": the pages of a printout as the printer will print them, to look through and
// print from. Each page is painted when it comes into view; pages that are still being laid out
// join the view as they are completed, and the page count shows once all are. Printing closes
// the dialog as accepted.
class PrintPreviewDialog : public QDialog {
    Q_OBJECT
public:
    // The pages were laid out for printer; print prints them there and reports its own errors.
    PrintPreviewDialog(const RecordedPages &pages, QPrinter &printer, std::function<void()> print,
                       QWidget *parent = nullptr);

    PageView &pageView() { return *m_view; }
    // Whether every page is laid out and in the view.
    bool hasAllPages() const;

private:
    void addToolBar();
    void showPosition();
    void takeNewPages();

    const RecordedPages &m_pages;
    std::function<void()> m_print;
    QTimer *m_newPages;
    PageView *m_view;
    QLabel *m_position;
};

} // namespace fb
