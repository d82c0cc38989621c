// The floor of start-up for any Qt Widgets program that shows text: a main
// window holding one label (the label loads the font database, as every real
// window does), the size of Tuberon's window.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setCentralWidget(new QLabel(QStringLiteral("Tuberon")));
    window.resize(1184, 689);
    window.show();
    return app.exec();
}
