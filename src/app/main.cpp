#include "app/app.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    application.setQuitOnLastWindowClosed(false);

    fav::ScreenMessageBoxes messages;
    fav::App app({QCoreApplication::applicationDirPath().toStdString(), &messages, {}, [] {
                      QCoreApplication::exit(0);
                  }});
    app.Start();
    if (app.windows().ProgramEnded()) {
        return 0;
    }
    return application.exec();
}
