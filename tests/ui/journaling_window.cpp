// A window that opens the logbook named as its second argument with its recovery journals in
// the folder named first, enters two trips and a start reading of 1000 through its commands,
// says "ready" on stdout and waits to be killed: the tests end it with SIGKILL, as a crash
// would, and look at what the next start offers.
#include "storage/logbook_document.h"
#include "ui/dialogs/fahrt_form.h"
#include "ui/dialogs/stamm_form.h"
#include "ui/fields/number_field.h"
#include "ui/window/main_form.h"
#include "ui/window/prompts.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>

#include <cstdio>

#include <unistd.h>

namespace {

template<typename Field> Field *field(QDialog &dialog, const char *name)
{
    auto *found = dialog.findChild<Field *>(QLatin1String(name));
    if (!found)
        qFatal("no field %s", name);
    return found;
}

// Confirms each dialog with its values; any other prompt ends the program with an error.
class FillingPrompts : public fb::Prompts {
public:
    QMessageBox::StandardButton question(QWidget *, const QString &, const QString &text) override
    {
        qFatal("unexpected question: %s", qPrintable(text));
    }
    QMessageBox::StandardButton askYesNo(QWidget *, const QString &, const QString &text,
                                         QMessageBox::StandardButton) override
    {
        qFatal("unexpected question: %s", qPrintable(text));
    }
    QString askText(QWidget *, const QString &, const QString &label, const QString &) override
    {
        qFatal("unexpected input: %s", qPrintable(label));
    }
    void inputError(QWidget *, const QString &text) override { qFatal("%s", qPrintable(text)); }
    void stopMessage(QWidget *, const QString &, const QString &text) override
    {
        qFatal("%s", qPrintable(text));
    }
    QString openFileName(QWidget *, const fb::FileKind &) override { return {}; }
    QString saveFileName(QWidget *, const fb::FileKind &) override { return {}; }
    QString folderName(QWidget *, const QString &, const QString &) override { return {}; }
    int showModal(QDialog &dialog) override
    {
        if (auto *stamm = qobject_cast<fb::TStammForm *>(&dialog)) {
            field<fb::NumberField>(dialog, "RxSpinEdit1")->setText(QStringLiteral("1000"));
            stamm->OkBtnClick();
            return stamm->result();
        }
        auto &fahrt = dynamic_cast<fb::TFahrtForm &>(dialog);
        ++m_trips;
        fahrt.setDeparture(QDateTime(QDate(2026, 11, m_trips), QTime(8, 0), Qt::UTC));
        fahrt.setArrival(QDateTime(QDate(2026, 11, m_trips), QTime(9, 0), Qt::UTC));
        field<QLineEdit>(dialog, "AbfahrtEd")->setText(QStringLiteral("Köln"));
        field<QLineEdit>(dialog, "AnkunftEd")->setText(QStringLiteral("Ziel %1").arg(m_trips));
        field<fb::NumberField>(dialog, "KMED")->setText(QStringLiteral("12,5"));
        field<QPlainTextEdit>(dialog, "ZweckEd")->setPlainText(QStringLiteral("Kunde"));
        fahrt.OkBtnClick();
        return fahrt.result();
    }

private:
    int m_trips = 0;
};

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() != 3) {
        std::fputs("usage: journaling_window JOURNAL_FOLDER LOGBOOK.fbu\n", stderr);
        return 2;
    }
    FillingPrompts prompts;
    fb::TMainForm window(prompts, 96);
    window.setRecoveryFolder(arguments.at(1));
    window.setStartFile(arguments.at(2));
    window.show();
    for (const char *command : {"Neu1", "Neu1", "ndern3"})
        window.findChild<QAction *>(QLatin1String(command))->trigger();
    std::puts(window.document().isChanged() ? "ready" : "unchanged");
    std::fflush(stdout);
    for (;;)
        ::pause();
}
