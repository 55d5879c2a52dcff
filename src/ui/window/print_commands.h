#pragma once

#include "model/logbook_operation.h"

#include <memory>

class QPrinter;
class QWidget;

namespace fb {

class LogbookDocument;
class Prompts;

// The window's print commands: the print options, printing, the print preview and the printer
// set-up, all on the one printer held for the run. Errors (a font size no printer can take, a
// PDF file that cannot be written) are raised as Error for the window's general error display.
class LogbookPrintCommands {
public:
    LogbookPrintCommands(Prompts &prompts, LogbookDocument &document);
    ~LogbookPrintCommands();
    LogbookPrintCommands(const LogbookPrintCommands &) = delete;
    LogbookPrintCommands &operator=(const LogbookPrintCommands &) = delete;

    // The printer as the printer set-up left it; the system's default printer unless one was
    // given.
    QPrinter &printer();
    void setPrinter(std::unique_ptr<QPrinter> printer);

    // Shows the print options dialog over parent; whatever was set there reaches the logbook
    // as one operation, even when it was cancelled. True when the person asked to go on.
    bool chooseOptions(QWidget *parent);
    // Prints the logbook on the printer, or into the PDF file the set-up chose.
    void print();
    // Shows the preview of the printout; true when it was printed from there.
    bool preview(QWidget *parent);
    void setUpPrinter(QWidget *parent);

private:
    Prompts &m_prompts;
    LogbookDocument &m_document;
    std::unique_ptr<QPrinter> m_printer;
};

} // namespace fb
