#pragma once

#include "prompts.h"

#include <QString>

class QWidget;

namespace fb {

class LogbookDocument;

// The export for a tax audit from the window: asks for a folder, offering the one chosen last
// again, and writes the audit's files into it as the command line's --export-audit does. A
// cancelled dialog creates nothing; errors (a folder that holds files, one that cannot be
// written) are raised as Error for the general error display. The document is only read.
class AuditExportCommand {
public:
    void run(QWidget *parent, Prompts &prompts, const LogbookDocument &document);

private:
    QString m_lastFolder;
};

} // namespace fb
