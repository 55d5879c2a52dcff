#include "main_window_run.h"

#include "about_box.h"
#include "main_form.h"
#include "prompts.h"
#include "session/logbook_session.h"
#include "storage/early_logbook_read.h"
#include "user_settings.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QScreen>
#include <QSettings>
#include <QTranslator>

namespace fb {

int runMainWindow(int argc, char **argv, std::unique_ptr<EarlyLogbookRead> startFileRead)
{
    QApplication app(argc, argv);
    QApplication::setWindowIcon(programIcon());
    // Lets the desktop match the windows to the installed menu entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("fahrtenbuch"));

    // Qt's own buttons and dialogs speak German: "Ja", "Nein", "Abbrechen".
    QTranslator platformTexts;
    if (platformTexts.load(QLocale(QLocale::German), QStringLiteral("qtbase"), QStringLiteral("_"),
                           QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&platformTexts);

    const int pixelsPerInch = qRound(app.primaryScreen()->logicalDotsPerInchY());
    WidgetPrompts prompts;
    TMainForm window(prompts, pixelsPerInch);
    window.setRecoveryFolder(LogbookSession::defaultRecoveryFolder());
    window.setEntryLogMemoryFolder(LogbookSession::defaultEntryLogMemoryFolder());
    // Under the organisation and application names set at start.
    window.setUserSettings(std::make_unique<UserSettings>(std::make_unique<QSettings>()));
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 1)
        window.setStartFile(arguments.at(1), std::move(startFileRead));
    window.show();
    return QApplication::exec();
}

} // namespace fb
