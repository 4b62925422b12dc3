#include "screens/error/form5.h"

#include "app/app.h"
#include "app/controls.h"
#include "app/display_text.h"
#include "app/twips.h"
#include "core/errors/error_log.h"
#include "core/settings/settings_file.h"
#include "core/textfile/files.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

namespace fav {

namespace {

const QString DriveMessage =
    QStringLiteral("You have chosen a drive that is not acessible, please choose another.");
const QString CorruptedMessage = QStringLiteral(
    "The favorize.cfg file appears to be corrupted. Favorize.cfg has been deleted, you will need "
    "to re-setup the program, using your keyboard and mouse.");
const QString PathMessage = QStringLiteral(
    "The favorize.cfg file has a path that is not available. Favorize.cfg has been deleted. You "
    "need to set up the appropiate path to Kabinet. You will need to hook up your mouse and "
    "keyboard to do this.");

// Deletes the settings file when it is an ordinary file; what went wrong, if anything.
QString DeleteSettingsFile(const std::string& programDir) {
    const std::string path = SettingsFilePath(programDir);
    if (!IsOrdinaryFile(path)) {
        return {};
    }
    const Status deleted = DeleteFileIfPresent(path);
    return deleted ? QString()
                   : QStringLiteral("(favorize.cfg could not be deleted: ") +
                         DisplayText(deleted.failure().description) + QLatin1Char(')');
}

} // namespace

Form5::Form5(App& app) : Form(app, FormId::Form5, QStringLiteral("Error!!"), 6825, 4050) {
    // The design's text size; the controls take it from the window.
    SetDesignPoints(this, 8.25);

    // Wider than the design's 2535 twips so that a long code still fits in bold.
    label1_ = MakeLabel(this, "Label1", QStringLiteral("Error!!"), 1320, 240, 5265, 255, {0, true});
    label1_->setWordWrap(false);
    MakeLabel(this, "Label4", QStringLiteral("Error Description:"), 2640, 840, 1575, 255,
              {0, false, true})
        ->setWordWrap(false);
    label3_ = MakeLabel(this, "Label3", {}, 240, 1320, 6255, 375);
    label2_ = MakeLabel(this, "Label2", {}, 240, 1920, 6255, 1215);

    command1_ = new QPushButton(QStringLiteral("Press ESC"), this);
    command1_->setObjectName(QStringLiteral("Command1"));
    PlaceTwips(command1_, 2880, 3360, 1215, 615);
    setCancelButton(command1_);
    connect(command1_, &QPushButton::clicked, this, [this] { Command1_Click(); });

    MakeEdge(this, 6825, 4050);
}

void Form5::Form_Load() {
    const Failure& failure = app_.CurrentFailure();
    const std::string& programDir = app_.programDir();

    // Every file is opened and closed inside the operation that uses it, so a failed screen
    // cannot have left one open for this screen to close.

    label1_->setText(QStringLiteral("Error# %1 was encountered.").arg(failure.code));
    label3_->setText(DisplayText(failure.description));

    QString problem;
    switch (failure.code) {
    case ErrorCode::DeviceUnavailable:
        label2_->setText(DriveMessage);
        break;
    case ErrorCode::InvalidPropertyValue:
    case ErrorCode::BadFileName:
        label2_->setText(CorruptedMessage);
        problem = DeleteSettingsFile(programDir);
        break;
    case ErrorCode::PathNotFound:
        label2_->setText(PathMessage);
        problem = DeleteSettingsFile(programDir);
        break;
    default:
        break;
    }

    if (const Status logged = AppendErrorLog(programDir, app_.DateTimeText(), failure); !logged) {
        // Nowhere else to report it: the screen says so and carries on.
        const QString note = QStringLiteral("(The error could not be written to favorlog.txt: ") +
                             DisplayText(logged.failure().description) + QLatin1Char(')');
        problem = problem.isEmpty() ? note : problem + QLatin1Char('\n') + note;
    }
    if (!problem.isEmpty()) {
        const QString explanation = label2_->text();
        label2_->setText(explanation.isEmpty() ? problem
                                               : explanation + QLatin1Char('\n') + problem);
    }
}

void Form5::Command1_Click() {
    app_.windows().Unload(FormId::Form5);
}

} // namespace fav
