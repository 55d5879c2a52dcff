#include "scripted_prompts.h"
#include "widget_test_support.h"

#include "ui/window/prompts.h"

#include <QFileDialog>

namespace fb::test {
namespace {

const FileKind kLogbookFiles{"Fahrtenbuch-Datei (*.fbu)", "fbu"};

TEST(Prompts, SaveDialogAsksBeforeOverwritingAndAddsTheSuffix)
{
    QFileDialog dialog;
    prepareFileDialog(dialog, kLogbookFiles, QFileDialog::AcceptSave);
    EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptSave);
    EXPECT_FALSE(dialog.testOption(QFileDialog::DontConfirmOverwrite));
    EXPECT_EQ(dialog.defaultSuffix(), QStringLiteral("fbu"));
    EXPECT_EQ(dialog.nameFilters(), QStringList{"Fahrtenbuch-Datei (*.fbu)"});
}

TEST(Prompts, OpenDialogTakesNamesOfFilesThatDoNotExist)
{
    QFileDialog dialog;
    prepareFileDialog(dialog, kLogbookFiles, QFileDialog::AcceptOpen);
    EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptOpen);
    EXPECT_EQ(dialog.fileMode(), QFileDialog::AnyFile);
}

TEST(Prompts, GeneralErrorDisplayIsTitledWithTheApplicationAndEndsWithAFullStop)
{
    ScriptedPrompts prompts;
    prompts.showError(nullptr, "Read beyond end of file");
    prompts.showError(nullptr, "Schon zu Ende.");
    prompts.showError(nullptr, "Klammer)");
    ASSERT_EQ(prompts.asked().size(), 3);
    EXPECT_EQ(prompts.asked().at(0).kind, QStringLiteral("stop"));
    EXPECT_EQ(prompts.asked().at(0).title, QStringLiteral("Fahrtenbuch"));
    EXPECT_EQ(prompts.asked().at(0).text, QStringLiteral("Read beyond end of file."));
    EXPECT_EQ(prompts.asked().at(1).text, QStringLiteral("Schon zu Ende."));
    EXPECT_EQ(prompts.asked().at(2).text, QStringLiteral("Klammer)")) << "')' sorts before '.'";
}

} // namespace
} // namespace fb::test
