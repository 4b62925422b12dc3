#include <QApplication>
#include <QKeyEvent>
#include <QLabel>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QLabel window(QStringLiteral("Favorizer " FAVORIZER_VERSION));
    window.show();
    return application.exec();
}
