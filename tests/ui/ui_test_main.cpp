// The main() of the widget tests: a widget application on the offscreen platform, which
// ctest's discovery does not pass on.
#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Fahrtenbuch"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
