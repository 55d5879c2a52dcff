#include <QApplication>
#include <QMainWindow>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Tervona Fahrtenbuch 1.0 - [unbenannt.fbu]"));
    window.resize(780, 582);
    window.show();
    return app.exec();
}
