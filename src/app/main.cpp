#include "app/app.h"
#include "app/controllers.h"
#include "app/looks.h"

#include <QApplication>
#include <QDir>
#include <QStyleFactory>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    // The same drawing on every cabinet, whatever desktop theme is installed: the windows' own
    // palette (greyed disabled controls) is drawn as intended by this style.
    if (QStyle* style = QStyleFactory::create(QStringLiteral("Fusion"))) {
        QApplication::setStyle(style);
    }
    // The message boxes too, which take the program's face rather than a window's.
    QApplication::setFont(fav::DesignFont());
    application.setQuitOnLastWindowClosed(false);

    fav::ScreenMessageBoxes messages;
    // In the system's own spelling (backslashes on Windows), as it is joined and shown.
    const std::string programDir =
        QDir::toNativeSeparators(QCoreApplication::applicationDirPath()).toStdString();
    fav::App app({programDir, &messages, {}, [] { QCoreApplication::exit(0); }});
    // Game controllers reach the windows as the cabinet's keys, beside the keyboard.
    fav::Controllers controllers(app);
    app.Start();
    if (app.windows().ProgramEnded()) {
        return 0;
    }
    return application.exec();
}
