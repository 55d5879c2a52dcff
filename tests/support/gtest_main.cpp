// The main() of every GoogleTest binary: a Qt core application (event loop, QProcess,
// temporary files) and the offscreen platform, which ctest's discovery does not pass on.
#include <QCoreApplication>

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
