#include "screens/setup/form1.h"

#include "app/app.h"
#include "app/controls.h"
#include "app/product.h"
#include "app/twips.h"
#include "core/backups/list_versions.h"
#include "core/launcher/list_files.h"
#include "core/os/native_path.h"
#include "core/settings/settings_file.h"
#include "core/textfile/files.h"
#include "core/textfile/names.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

namespace fav {

namespace {

// The three columns as the design places them: launcher, MAME configuration, MAME game list.
std::array<ColumnDesign, 3> ColumnDesigns() {
    return {{
        {.headingName = "Label2",
         .headingText = QStringLiteral("Path to Kabinet.cfg"),
         .headingLeft = 600,
         .driveName = "Drive1",
         .folderName = "Dir1",
         .pickerLeft = 120,
         .foundMarkName = "Image1",
         .notFoundMarkName = "Image4",
         .markLeft = 1320,
         .fileLabelName = "Label20",
         .fileLabelText = QStringLiteral("Kabinet.cfg"),
         .fileLabelLeft = 120,
         .statusName = "Label3",
         .statusLeft = 1200,
         .fileName = "kabinet.cfg"},
        {.headingName = "Label4",
         .headingText = QStringLiteral("Path to Mame.cfg"),
         .headingLeft = 3840,
         .driveName = "Drive2",
         .folderName = "Dir2",
         .pickerLeft = 3360,
         .foundMarkName = "Image2",
         .notFoundMarkName = "Image5",
         .markLeft = 4560,
         .fileLabelName = "Label16",
         .fileLabelText = QStringLiteral("mame.cfg"),
         .fileLabelLeft = 3600,
         .statusName = "Label18",
         .statusLeft = 4560,
         .fileName = "mame.cfg"},
        {.headingName = "Label21",
         .headingText = QStringLiteral("Path to mame.map"),
         .headingLeft = 6840,
         .driveName = "Drive3",
         .folderName = "Dir3",
         .pickerLeft = 6360,
         .foundMarkName = "Image3",
         .notFoundMarkName = "Image6",
         .markLeft = 7440,
         .fileLabelName = "Label17",
         .fileLabelText = QStringLiteral("mame.map"),
         .fileLabelLeft = 6480,
         .statusName = "Label19",
         .statusLeft = 7440,
         .fileName = "mame.map"},
    }};
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& text, int left, int top,
                        int width, int height) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    PlaceTwips(button, left, top, width, height);
    return button;
}

} // namespace

// Taller than the design's 7275 twips, which cut the last line of the instructions in half.
Form1::Form1(App& app) : Form(app, FormId::Form1, QString::fromLatin1(ProductTitle), 11040, 7575) {
    // Set up with mouse and keyboard: every key reaches its controls.
    CabinetScreen = false;
    // The design's text size; the controls take it from the window.
    SetDesignPoints(this, 8.25);

    QLabel* title = MakeLabel(this, "Label1", QString::fromLatin1(ProductTitle), 1800, 240, 6255,
                              495, {18, true});
    title->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    const std::array<ColumnDesign, 3> designs = ColumnDesigns();
    for (std::size_t i = 0; i < designs.size(); ++i) {
        columns_[i] = new PickerColumn(
            this, designs[i], [this] { return DetectFiles(); },
            [this](const Failure& failure) { app_.ShowError(failure); });
    }
    columns_[0]->SetUserChoiceHandler([this] { return FollowLauncherConfig(); });

    command3_ =
        MakeButton(this, "Command3", QStringLiteral("Press ESC to Exit"), 9480, 1080, 1215, 615);
    // Its text is wider than the button at the window's text size.
    SetDesignPoints(command3_, 7);
    command3_->setStyleSheet(QStringLiteral("padding: 0px;"));
    setCancelButton(command3_);
    connect(command3_, &QPushButton::clicked, this, [this] { Command3_Click(); });

    command2_ = MakeButton(this, "Command2", QStringLiteral("Next"), 9360, 4200, 1095, 615);
    connect(command2_, &QPushButton::clicked, this, [this] { Report(Command2_Click()); });

    check1_ = new QCheckBox(QStringLiteral("Run Favorizer Fullscreen"), this);
    check1_->setObjectName(QStringLiteral("Check1"));
    PlaceTwips(check1_, 8040, 5520, 2655, 375);
    check1_->hide();
    // `clicked` comes from the user only, never from setChecked.
    connect(check1_, &QCheckBox::clicked, this, [this] { checkChanged_ = true; });

    // Where game controllers are heard, one can be taught the cabinet's controls from here.
    if (app_.teachController) {
        QPushButton* teach =
            MakeButton(this, "TeachController", QStringLiteral("Teach a game controller"), 8040,
                       6000, 2655, 375);
        connect(teach, &QPushButton::clicked, this, [this] {
            if (app_.teachController) {
                app_.teachController();
            }
        });
    }

    MakeLabel(this, "Label8",
              QStringLiteral("This program must be setup from your PC using your mouse and "
                             "keyboard, after it is setup, it is designed to work with the arcade "
                             "controls (Joystick, player1 start button, game escape and P1 action "
                             "buttons.)"),
              960, 5640, 6975, 735);
    MakeLabel(this, "Label5",
              QStringLiteral("This program only works with Kabinet and Mame Arcade emulators."),
              960, 6480, 9975, 255);
    MakeLabel(this, "Label6",
              QStringLiteral("You must first point it to where the Kabinet.cfg, Mame.cfg, and "
                             "mame.map  files are stored."),
              960, 6840, 9975, 255);
    MakeLabel(this, "Label7",
              QStringLiteral("You should only have to do this once, unless one of the cfg files "
                             "gets moved to a different location."),
              960, 7200, 9975, 255);

    // Narrower than the design's 10935 twips, which ran its right edge out of the window.
    frame1_ = MakeFrame(this, "Frame1", 120, 360, 10815, 6855);
    frame1_->setFrameShape(QFrame::Box);
    QLabel* warning =
        MakeLabel(frame1_, "Label9", QStringLiteral("Warning!"), 3480, 480, 3975, 735, {24, true});
    warning->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    warning->setStyleSheet(QStringLiteral("color: #c00000;"));
    MakeLabel(frame1_, "Label10", QStringLiteral("Favorizer is not set up correctly to run."), 840,
              1560, 9255, 375, {12, true});
    MakeLabel(frame1_, "Label11",
              QStringLiteral("Favorizer needs to know the locations of kabinet.cfg, mame.cfg and "
                             "mame.map."),
              840, 2160, 9255, 615, {12});
    MakeLabel(frame1_, "Label12",
              QStringLiteral("If you are running Favorizer from the Arcade Controls, please exit "
                             "now by hitting the ESCAPE or GAME EXIT button. Connect the keyboard "
                             "and mouse to the computer and run Favorizer again."),
              840, 3000, 9255, 1095, {12});
    label13_ = MakeLabel(frame1_, "Label13",
                         QStringLiteral("If you have your keyboard and mouse connected now, you "
                                        "can press here to setup Favorizer"),
                         840, 4440, 9255, 735, {12, false, true});
    label13_->setStyleSheet(QStringLiteral("color: #0000c0;"));
    label13_->setCursor(Qt::PointingHandCursor);
    label13_->installEventFilter(this);
    frame1_->raise();
}

void Form1::Form_Load() {
    if (app_.AnotherCopyRunning()) {
        app_.windows().Unload(FormId::Form1);
        return;
    }
    for (PickerColumn* column : columns_) {
        column->HideFoundMark();
    }
    if (const Status started = StartUp(); !started) {
        // The error screen goes up before this window goes, so the program keeps a window and
        // does not end under it.
        app_.ShowError(started.failure());
        app_.windows().Unload(FormId::Form1);
    }
}

Status Form1::StartUp() {
    const std::string& programDir = app_.programDir();
    // A run killed while it wrote leaves its journal: it is finished before any file is read.
    if (Status finished = FinishInterruptedWrites(programDir); !finished) {
        return finished;
    }
    const std::string settingsPath = SettingsFilePath(programDir);
    if (!IsOrdinaryFile(settingsPath)) {
        if (Status written = WriteDefaultSettingsFile(programDir); !written) {
            return written;
        }
    }

    Result<Settings> stored = ReadSettingsFile(settingsPath);
    if (!stored) {
        return stored.failure();
    }
    // Temporary files of runs that were killed, wherever this program writes.
    if (const std::string& launcherDir = stored.value().launcherDir; !launcherDir.empty()) {
        RemoveDeadTemporaryFiles(launcherDir);
        RemoveDeadTemporaryFiles(ConfigFolderPath(launcherDir));
    }
    RemoveDeadTemporaryFiles(programDir);
    RemoveDeadVersionTemporaries(programDir);

    Result<Settings> settings = WithDefaultFolders(std::move(stored).value());
    if (!settings) {
        return settings.failure();
    }
    Module1& shared = app_.shared;
    shared.LauncherDir = settings.value().launcherDir;
    shared.MameCfgDir = settings.value().mameCfgDir;
    shared.MameMapDir = settings.value().mameMapDir;
    shared.FullscreenFlag = settings.value().fullscreenFlag;
    check1_->setChecked(shared.FullscreenFlag == 1);
    checkChanged_ = false;

    // Each setting runs the column's change handling, and so the detection, before the next.
    // The shared values are read afresh every time: a detection may have saved new ones.
    for (int i = 0; i < 3; ++i) {
        if (Status set = columns_[i]->SetDrive(DriveOf(SharedFolder(i))); !set) {
            return set;
        }
        if (Status set = columns_[i]->SetFolder(SharedFolder(i)); !set) {
            return set;
        }
    }
    return DetectFiles();
}

// The program reads mame.cfg and mame.map from the launcher's config folder alone, so when the
// owner chooses a launcher folder whose config folder holds them, the other pickers go there as
// if the owner had chosen it. A choice made in them afterwards stands.
Status Form1::FollowLauncherConfig() {
    const std::string config = ConfigFolderPath(columns_[0]->Folder());
    for (int i = 1; i < 3; ++i) {
        if (IsOrdinaryFile(PathInFolder(config, columns_[i]->FileName())) &&
            columns_[i]->CanTake(config)) {
            if (Status moved = columns_[i]->MoveTo(config); !moved) {
                return moved;
            }
        }
    }
    return {};
}

Status Form1::DetectFiles() {
    for (PickerColumn* column : columns_) {
        column->ShowFound(IsOrdinaryFile(PathInFolder(column->Folder(), column->FileName())));
    }
    const bool allFound = std::all_of(columns_.begin(), columns_.end(),
                                      [](const PickerColumn* c) { return c->FoundMarkShown(); });
    if (allFound) {
        frame1_->hide();
        check1_->show();
        command2_->setEnabled(true);
        if (app_.shared.SetupRequested == False) {
            return Command2_Click();
        }
        return {};
    }
    command2_->setEnabled(false);
    if (app_.shared.SetupRequested == False) {
        frame1_->show();
        frame1_->raise();
    }
    return {};
}

Status Form1::Command2_Click() {
    int changes = 0;
    for (int i = 0; i < 3; ++i) {
        if (columns_[i]->Folder() != SharedFolder(i)) {
            ++changes;
        }
    }
    if (checkChanged_) {
        ++changes;
    }
    if (changes > 0) {
        const MessageAnswer answer = app_.messages().Show(QStringLiteral("Save changes?"),
                                                          QStringLiteral("Settings have changed!"),
                                                          MessageButtons::YesNo, MessageIcon::None);
        if (answer == MessageAnswer::Yes) {
            // Not saved: the setup window stays up to show the error over.
            if (Status saved = SaveSettings(); !saved) {
                return saved;
            }
        }
    }
    app_.windows().Hide(FormId::Form1);
    if (check1_->isChecked()) {
        app_.windows().SetFullScreen();
    }
    app_.windows().Show(FormId::Form2);
    return {};
}

Status Form1::SaveSettings() {
    const int checkValue = check1_->isChecked() ? 1 : 0;
    if (Status written =
            WriteSettingsFile(app_.programDir(), columns_[0]->Folder(), columns_[1]->Folder(),
                              columns_[2]->Folder(), checkValue);
        !written) {
        return written;
    }
    app_.shared.FullscreenFlag = static_cast<std::int16_t>(checkValue);
    for (int i = 0; i < 3; ++i) {
        SharedFolder(i) = columns_[i]->Folder();
    }
    return DetectFiles();
}

Status Form1::Label13_Click() {
    frame1_->hide();
    check1_->show();
    // A stored folder the pickers cannot take (gone, or on a drive that cannot be reached) is
    // replaced by the root, so the user starts from there.
    auto applicable = [this](int i) {
        return columns_[i]->CanTake(SharedFolder(i)) ? SharedFolder(i) : std::string(DefaultFolder);
    };
    Status applied;
    for (int i = 0; i < 3 && applied; ++i) {
        applied = columns_[i]->SetDrive(DriveOf(applicable(i)));
        if (applied) {
            applied = columns_[i]->SetFolder(applicable(i));
        }
    }
    // The user asked for the pickers: even after a failure here they stay on them.
    app_.shared.SetupRequested = True;
    return applied;
}

void Form1::Command3_Click() {
    app_.windows().UnloadAll();
}

std::string& Form1::SharedFolder(int index) {
    switch (index) {
    case 0:
        return app_.shared.LauncherDir;
    case 1:
        return app_.shared.MameCfgDir;
    default:
        return app_.shared.MameMapDir;
    }
}

void Form1::Report(const Status& status) {
    if (!status) {
        app_.ShowError(status.failure());
    }
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == label13_) {
        if (event->type() == QEvent::MouseButtonPress) {
            // Taken here so the release comes back to the label.
            return true;
        }
        if (event->type() == QEvent::MouseButtonRelease) {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton &&
                label13_->rect().contains(mouse->position().toPoint())) {
                Report(Label13_Click());
            }
            return true;
        }
    }
    return Form::eventFilter(watched, event);
}

} // namespace fav
