#include "app/os/system.h"
#include "screens/setup/form1.h"
#include "support/test_app.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <filesystem>
#include <optional>

using namespace fav;
using namespace fav::test;

namespace {

const std::string DefaultSettings =
    std::string("# This file was created by Favorizer for Kabinet.\r\n"
                "# Next line is where kabinet.cfg file is stored.\r\n"
                "Kabinet.cfg default path = ") +
    SystemRoot +
    "\r\n"
    "# The next line is where mame.cfg is stored.\r\n"
    "Mame.cfg default path = " +
    SystemRoot +
    "\r\n"
    "# The next line is where mame.map is stored.\r\n"
    "Mame.map default path = " +
    SystemRoot +
    "\r\n"
    "# Next line chooses wheter or not Favorizer runs full screen. 1 = fullscreen\r\n"
    "Run Favorizer fullscreen = 0\r\n";

Form1* Setup(TestApp& t) {
    return t.windows().Get<Form1>(FormId::Form1);
}

template <typename T = QLabel> T* Control(TestApp& t, const char* name) {
    T* control = Setup(t)->findChild<T*>(name);
    Q_ASSERT(control != nullptr);
    return control;
}

bool Shown(TestApp& t, const char* name) {
    return !Control<QWidget>(t, name)->isHidden();
}

std::string SettingsPath(const TestApp& t) {
    return t.programDir + "/favorize.cfg";
}

void WriteSettingsLines(TestApp& t, const std::string& launcher, const std::string& mameCfg,
                        const std::string& mameMap, const std::string& fullscreen = " 0") {
    WriteBytes(SettingsPath(t), "Kabinet.cfg default path = " + launcher +
                                    "\r\nMame.cfg default path = " + mameCfg +
                                    "\r\nMame.map default path = " + mameMap +
                                    "\r\nRun Favorizer fullscreen = " + fullscreen + "\r\n");
}

// The program started with all three files found, then the menu's setup link: the setup window
// is shown again in its setup state.
void StartAndReturnToSetup(TestApp& t) {
    t.WriteCabinet();
    t.WriteSettings();
    t.app.Start();
    QVERIFY(t.windows().IsVisible(FormId::Form2));
    t.windows().Unload(FormId::Form2);
    t.windows().Show(FormId::Form1);
    QVERIFY(t.windows().IsVisible(FormId::Form1));
}

// The user picks a folder in a folder picker: the entry selected, then Enter.
void ChooseFolder(TestApp& t, const char* picker, const std::string& folder) {
    auto* list = Control<QListWidget>(t, picker);
    for (int row = 0; row < list->count(); ++row) {
        if (list->item(row)->data(Qt::UserRole).toByteArray().toStdString() == folder) {
            list->setCurrentRow(row);
            list->setFocus();
            t.Press(Qt::Key_Return);
            return;
        }
    }
    QFAIL(("no entry for " + folder).c_str());
}

// Sets an environment variable (or unsets it, given none) for its lifetime.
class EnvironmentVariable {
public:
    EnvironmentVariable(const char* name, const std::optional<std::string>& value)
        : name_(name), old_(QByteArray::fromStdString(EnvironmentValue(name))),
          had_(qEnvironmentVariableIsSet(name)) {
        if (value) {
            qputenv(name, QByteArray::fromStdString(*value));
        } else {
            qunsetenv(name);
        }
    }
    ~EnvironmentVariable() {
        if (had_) {
            qputenv(name_, old_);
        } else {
            qunsetenv(name_);
        }
    }
    EnvironmentVariable(const EnvironmentVariable&) = delete;
    EnvironmentVariable& operator=(const EnvironmentVariable&) = delete;

private:
    const char* name_;
    QByteArray old_;
    bool had_;
};

void Click(QWidget* widget) {
    QTest::mouseClick(widget, Qt::LeftButton);
}

} // namespace

class SetupTest : public QObject {
    Q_OBJECT

private slots:
    void startUpWithAllFilesShowsTheMenuAndAsksNothing() {
        TestApp t;
        t.WriteCabinet();
        t.WriteSettings();
        t.app.Start();
        QVERIFY(t.windows().IsVisible(FormId::Form2));
        QVERIFY(t.windows().IsLoaded(FormId::Form1));
        QVERIFY(!t.windows().IsVisible(FormId::Form1));
        QVERIFY(Setup(t)->windowHandle() == nullptr); // never put on screen
        QVERIFY(t.messages.shown.empty());
        QVERIFY(!Shown(t, "Frame1"));
        QVERIFY(Shown(t, "Check1"));
        QCOMPARE(Control(t, "Label3")->text(), QStringLiteral("Found!!"));
        QCOMPARE(t.app.shared.LauncherDir, t.cabinetDir);
        QCOMPARE(t.app.shared.MameMapDir, t.configDir);
        QVERIFY(!t.windows().IsMaximised(FormId::Form2));
    }

    void startUpWithoutMameMapShowsTheWarningAndEscEnds() {
        TestApp t;
        t.WriteCabinet();
        std::filesystem::remove(t.cabinetDir + "/config/mame.map");
        t.WriteSettings();
        t.app.Start();
        QVERIFY(t.windows().IsVisible(FormId::Form1));
        QVERIFY(!t.windows().IsLoaded(FormId::Form2));
        QVERIFY(Shown(t, "Frame1"));
        QVERIFY(!Shown(t, "Check1"));
        QVERIFY(!Control<QPushButton>(t, "Command2")->isEnabled());
        QCOMPARE(Control(t, "Label3")->text(), QStringLiteral("Found!!"));
        QCOMPARE(Control(t, "Label18")->text(), QStringLiteral("Found!!"));
        QCOMPARE(Control(t, "Label19")->text(), QStringLiteral("Not Found!"));
        QVERIFY(Shown(t, "Image1") && !Shown(t, "Image4"));
        QVERIFY(!Shown(t, "Image3") && Shown(t, "Image6"));
        QVERIFY(t.messages.shown.empty());
        t.Press(Qt::Key_Escape);
        QVERIFY(t.ended);
    }

    void noSettingsFileGivesTheNineDefaultLinesInTheProgramFolder() {
        TestApp t;
        const QString workingDir = QDir::currentPath();
        QDir::setCurrent(QString::fromStdString(t.cabinetDir));
        t.app.Start();
        QDir::setCurrent(workingDir);
        QCOMPARE(ReadBytes(SettingsPath(t)), DefaultSettings);
        QVERIFY(!Exists(t.cabinetDir + "/favorize.cfg"));
        QCOMPARE(t.app.shared.LauncherDir, std::string(SystemRoot));
        QCOMPARE(t.app.shared.MameCfgDir, std::string(SystemRoot));
        QCOMPARE(t.app.shared.FullscreenFlag, std::int16_t{0});
        QCOMPARE(Setup(t)->Column(2).Folder(), std::string(SystemRoot));
        QVERIFY(Shown(t, "Frame1"));
    }

    void storedFoldersWithoutFilesBecomeTheRoot() {
        TestApp t;
        t.WriteCabinet();
        std::filesystem::create_directories(t.cabinetDir + "/empty/sub");
        WriteSettingsLines(t, t.cabinetDir + "/empty", t.cabinetDir + "/gone", t.configDir);
        t.app.Start();
        QCOMPARE(t.app.shared.LauncherDir, std::string(SystemRoot));
        QCOMPARE(t.app.shared.MameCfgDir, std::string(SystemRoot));
        QCOMPARE(t.app.shared.MameMapDir, t.configDir);
        QCOMPARE(Setup(t)->Column(0).Folder(), std::string(SystemRoot));
        QCOMPARE(Setup(t)->Column(2).Folder(), t.configDir);
        QCOMPARE(Control(t, "Label19")->text(), QStringLiteral("Found!!"));
        QVERIFY(Shown(t, "Frame1"));
        QVERIFY(!t.windows().IsVisible(FormId::Form5));
    }

    void storedFolderThatCannotBeListedCountsAsNotFound() {
#ifdef _WIN32
        QSKIP("the unlistable folder is a link loop, and links need extra rights on Windows");
#endif
        TestApp t;
        t.WriteCabinet();
        std::filesystem::create_symlink("loop", t.cabinetDir + "/loop");
        WriteSettingsLines(t, t.cabinetDir + "/loop", t.configDir, t.configDir);
        t.app.Start();
        QCOMPARE(t.app.shared.LauncherDir, std::string(SystemRoot));
        QVERIFY(Shown(t, "Frame1"));
        QVERIFY(!t.windows().IsLoaded(FormId::Form5));
        QVERIFY(Exists(SettingsPath(t)));
    }

    void fullscreenSettingTicksTheBoxWithoutCountingAsAChange() {
        TestApp t;
        t.WriteCabinet();
        t.WriteSettings(1);
        t.app.Start();
        QVERIFY(Control<QCheckBox>(t, "Check1")->isChecked());
        QVERIFY(!Setup(t)->CheckChanged());
        QCOMPARE(t.app.shared.FullscreenFlag, std::int16_t{1});
        QVERIFY(t.messages.shown.empty());
        for (FormId id : {FormId::Form2, FormId::Form3, FormId::Form4, FormId::Form7}) {
            QVERIFY(t.windows().IsMaximised(id));
        }
        QVERIFY(!t.windows().IsMaximised(FormId::Form5));
    }

    void storedPathInAnotherFormAsksToSave_data() {
        QTest::addColumn<bool>("yes");
        QTest::newRow("yes") << true;
        QTest::newRow("no") << false;
    }

    void storedPathInAnotherFormAsksToSave() {
        QFETCH(bool, yes);
        TestApp t;
        t.WriteCabinet();
        const std::string config = t.configDir;
        WriteSettingsLines(t, t.cabinetDir + "/", config, config);
        const std::string before = ReadBytes(SettingsPath(t));
        const MessageAnswer answer = yes ? MessageAnswer::Yes : MessageAnswer::No;
        t.messages.answers = {answer, answer};
        t.app.Start();

        QVERIFY(!t.messages.shown.empty());
        QCOMPARE(t.messages.shown[0].text, QStringLiteral("Save changes?"));
        QCOMPARE(t.messages.shown[0].caption, QStringLiteral("Settings have changed!"));
        QCOMPARE(t.messages.shown[0].buttons, MessageButtons::YesNo);
        QVERIFY(t.windows().IsVisible(FormId::Form2));
        if (yes) {
            QCOMPARE(t.app.shared.LauncherDir, t.cabinetDir);
            QCOMPARE(ReadBytes(SettingsPath(t)),
                     "# This file was created by Favorizer for Kabinet.\r\n"
                     "# Next line is where kabinet.cfg file is stored.\r\n"
                     "Kabinet.cfg default path = " +
                         t.cabinetDir +
                         "\r\n# The next line is where mame.cfg is stored.\r\n"
                         "Mame.cfg default path = " +
                         config +
                         "\r\n# The next line is where mame.map is stored.\r\n"
                         "Mame.map default path = " +
                         config +
                         "\r\n# Next line chooses wheter or not Favorizer runs full screen. 1 = "
                         "fullscreen\r\nRun Favorizer fullscreen =  0\r\n");
        } else {
            QCOMPARE(t.app.shared.LauncherDir, t.cabinetDir + "/");
            QCOMPARE(ReadBytes(SettingsPath(t)), before);
        }
    }

#ifndef _WIN32
    void storedFolderReachedThroughALinkAndDotsIsTheSystemsFolder() {
        TestApp t;
        t.WriteCabinet();
        // The text "link/.." names the test's root; the system, following the link, the cabinet.
        const std::string root = FolderOfPath(t.cabinetDir);
        std::filesystem::create_directory_symlink(t.configDir, root + "/link");
        WriteSettingsLines(t, root + "/link/..", t.configDir, t.configDir);
        t.messages.answers = {MessageAnswer::No};
        t.app.Start();
        QVERIFY(!t.windows().IsVisible(FormId::Form5));
        QVERIFY(t.windows().IsVisible(FormId::Form2));
        QCOMPARE(Control(t, "Label3")->text(), QStringLiteral("Found!!"));
    }
#endif

    void setupRequestLeadsToThePickersAndNextFollowsTheDetection() {
        TestApp t;
        t.WriteCabinet();
        const std::string config = t.configDir;
        std::filesystem::rename(config + "/mame.map", t.cabinetDir + "/mame.map.old");
        t.WriteSettings();
        const std::string before = ReadBytes(SettingsPath(t));
        t.app.Start();

        Click(Control(t, "Label13"));
        QCOMPARE(t.app.shared.SetupRequested, True);
        QVERIFY(!Shown(t, "Frame1"));
        QVERIFY(Shown(t, "Check1"));
        QCOMPARE(Setup(t)->Column(0).Folder(), t.cabinetDir);
        QCOMPARE(Setup(t)->Column(2).Folder(), config);
        QVERIFY(!Control<QPushButton>(t, "Command2")->isEnabled());

        // A folder without the launcher's file: not found, and the panel stays away.
        ChooseFolder(t, "Dir1", config);
        QCOMPARE(Setup(t)->Column(0).Folder(), config);
        QCOMPARE(Control(t, "Label3")->text(), QStringLiteral("Not Found!"));
        QVERIFY(!Shown(t, "Frame1"));
        ChooseFolder(t, "Dir1", t.cabinetDir);

        // The game list found elsewhere: Next is enabled, but nothing moves on by itself.
        std::filesystem::create_directory(config + "/maps");
        std::filesystem::rename(t.cabinetDir + "/mame.map.old", config + "/maps/mame.map");
        ChooseFolder(t, "Dir3", config); // refreshes the list to show the new folder
        ChooseFolder(t, "Dir3", JoinPath(config, "maps"));
        QCOMPARE(Control(t, "Label19")->text(), QStringLiteral("Found!!"));
        QVERIFY(Control<QPushButton>(t, "Command2")->isEnabled());
        QVERIFY(t.windows().IsVisible(FormId::Form1));
        QVERIFY(t.messages.shown.empty());

        // Answering No keeps the file and the shared folders.
        t.messages.answers = {MessageAnswer::No};
        Click(Control<QPushButton>(t, "Command2"));
        QCOMPARE(t.messages.shown.size(), std::size_t{1});
        QCOMPARE(ReadBytes(SettingsPath(t)), before);
        QCOMPARE(t.app.shared.MameMapDir, config);
        QVERIFY(!t.windows().IsVisible(FormId::Form1));
        QVERIFY(t.windows().IsVisible(FormId::Form2));
    }

    void setupRequestReplacesAStoredFolderThatIsGoneByTheRoot() {
        TestApp t;
        t.WriteCabinet();
        std::filesystem::remove(t.cabinetDir + "/config/mame.map");
        t.WriteSettings();
        t.app.Start();
        std::filesystem::remove_all(t.configDir);
        Click(Control(t, "Label13"));
        QVERIFY(!t.windows().IsLoaded(FormId::Form5));
        QCOMPARE(Setup(t)->Column(0).Folder(), t.cabinetDir);
        QCOMPARE(Setup(t)->Column(1).Folder(), std::string(SystemRoot));
        QCOMPARE(Setup(t)->Column(2).Folder(), std::string(SystemRoot));
    }

    void nextWithoutChangeAsksNothing() {
        TestApp t;
        StartAndReturnToSetup(t);
        Click(Control<QPushButton>(t, "Command2"));
        QVERIFY(t.messages.shown.empty());
        QVERIFY(!t.windows().IsVisible(FormId::Form1));
        QVERIFY(t.windows().IsVisible(FormId::Form2));
    }

    void checkBoxToggledTwiceStillAsksAndEveryLaterNextAsks() {
        TestApp t;
        StartAndReturnToSetup(t);
        auto* check = Control<QCheckBox>(t, "Check1");
        Click(check);
        Click(check);
        QVERIFY(!check->isChecked());
        Click(Control<QPushButton>(t, "Command2"));
        QCOMPARE(t.messages.shown.size(), std::size_t{1});
        QVERIFY(ReadBytes(SettingsPath(t)).ends_with("Run Favorizer fullscreen =  0\r\n"));

        t.windows().Unload(FormId::Form2);
        t.windows().Show(FormId::Form1);
        t.messages.answers = {MessageAnswer::No};
        Click(Control<QPushButton>(t, "Command2"));
        QCOMPARE(t.messages.shown.size(), std::size_t{2});
    }

    void tickedBoxMaximisesTheFourWindowsEvenWhenAnsweringNo() {
        TestApp t;
        StartAndReturnToSetup(t);
        const std::string before = ReadBytes(SettingsPath(t));
        Click(Control<QCheckBox>(t, "Check1"));
        t.messages.answers = {MessageAnswer::No};
        Click(Control<QPushButton>(t, "Command2"));
        QCOMPARE(t.messages.shown.size(), std::size_t{1});
        QCOMPARE(ReadBytes(SettingsPath(t)), before);
        QCOMPARE(t.app.shared.FullscreenFlag, std::int16_t{0});
        for (FormId id : {FormId::Form2, FormId::Form3, FormId::Form4, FormId::Form7}) {
            QVERIFY(t.windows().IsMaximised(id));
        }
    }

    void savingATickedBoxWritesTheFlagSignSpaced() {
        TestApp t;
        StartAndReturnToSetup(t);
        Click(Control<QCheckBox>(t, "Check1"));
        Click(Control<QPushButton>(t, "Command2"));
        QCOMPARE(t.app.shared.FullscreenFlag, std::int16_t{1});
        QVERIFY(ReadBytes(SettingsPath(t)).ends_with("Run Favorizer fullscreen =  1\r\n"));
    }

    void driveThatCannotBeReachedShowsError68AndTheWindowStays() {
        TestApp t;
        StartAndReturnToSetup(t);
        PickerColumn& launcher = Setup(t)->Column(0);
        const std::string drive = launcher.Drive();
        launcher.SetVolumes({Volume{drive, {}, true}, Volume{UnreachableDrive, "Z", false}});
        auto* picker = Control<QComboBox>(t, "Drive1");
        QCOMPARE(picker->currentIndex(), 0);
        picker->setFocus();
        t.Press(Qt::Key_Down);

        QVERIFY(t.windows().IsVisible(FormId::Form5));
        auto* error = t.windows().Find(FormId::Form5);
        QCOMPARE(error->findChild<QLabel*>("Label1")->text(),
                 QStringLiteral("Error# 68 was encountered."));
        QVERIFY(Exists(SettingsPath(t)));
        QCOMPARE(picker->currentIndex(), 0);
        QCOMPARE(launcher.Drive(), drive);
        QCOMPARE(launcher.Folder(), t.cabinetDir);

        t.Press(Qt::Key_Escape);
        QVERIFY(!t.windows().IsLoaded(FormId::Form5));
        QCOMPARE(t.windows().ActiveForm(), static_cast<Form*>(Setup(t)));
        QVERIFY(!t.ended);
    }

    void saveFailureInsideNextShowsTheErrorAndTheWindowStays() {
        TestApp t;
        StartAndReturnToSetup(t);
        std::filesystem::remove(SettingsPath(t));
        std::filesystem::create_directory(SettingsPath(t));
        Click(Control<QCheckBox>(t, "Check1"));
        Click(Control<QPushButton>(t, "Command2"));
        QVERIFY(t.windows().IsVisible(FormId::Form5));
        QVERIFY(t.windows().IsVisible(FormId::Form1));
        QVERIFY(!t.windows().IsLoaded(FormId::Form2));
        QCOMPARE(t.app.shared.FullscreenFlag, std::int16_t{0});
        t.Press(Qt::Key_Escape);
        QCOMPARE(t.windows().ActiveForm(), static_cast<Form*>(Setup(t)));
    }

    void startUpFailureUnloadsTheSetupWindowAndShowsTheError() {
        // A relative stored path: the folder picker refuses it (380), the settings file goes.
        TestApp t;
        t.WriteCabinet();
        WriteSettingsLines(t, "cabinet", "/", "/");
        const QString workingDir = QDir::currentPath();
        QDir::setCurrent(QString::fromStdString(t.root.path()));
        t.app.Start();
        QDir::setCurrent(workingDir);
        QVERIFY(!t.windows().IsLoaded(FormId::Form1));
        QVERIFY(t.windows().IsVisible(FormId::Form5));
        QCOMPARE(t.windows().Find(FormId::Form5)->findChild<QLabel*>("Label1")->text(),
                 QStringLiteral("Error# 380 was encountered."));
        QVERIFY(!Exists(SettingsPath(t)));
        QVERIFY(!t.ended);
        t.Press(Qt::Key_Escape);
        QVERIFY(t.ended);
    }

    void settingsFileThatCannotBeCreatedShowsTheError() {
        TestApp t;
        std::filesystem::create_directory(SettingsPath(t));
        t.app.Start();
        QVERIFY(!t.windows().IsLoaded(FormId::Form1));
        QVERIFY(t.windows().IsVisible(FormId::Form5));
        QVERIFY(Exists(t.programDir + "/favorlog.txt"));
        t.Press(Qt::Key_Escape);
        QVERIFY(t.ended);
    }

    // A launcher kept in a Wine prefix in the home folder: the folder pickers list the prefix's
    // dot-folder, the drive picker offers its drives by letter (read again at every opening),
    // and choosing the launcher's folder from "c:" brings the other pickers to its config folder.
    void wineLauncherChosenFromItsDriveWithTheMouse() {
#ifdef _WIN32
        QSKIP("a Wine prefix is where a Windows launcher is kept on Linux");
#endif
        TestApp t;
        const std::string home = t.root / "home";
        const std::string prefix = home + "/.wine";
        const std::string launcher = prefix + "/drive_c/Games/Kabinet";
        std::filesystem::create_directories(launcher + "/config");
        std::filesystem::create_directories(prefix + "/dosdevices");
        std::filesystem::create_directories(t.root / "stick");
        std::filesystem::create_directory_symlink("../drive_c", prefix + "/dosdevices/c:");
        std::filesystem::create_directory_symlink(t.root / "stick", prefix + "/dosdevices/e:");
        std::filesystem::create_directory_symlink("/", prefix + "/dosdevices/z:");
        std::filesystem::create_symlink("/dev/null", prefix + "/dosdevices/d::");
        WriteBytes(launcher + "/kabinet.cfg", "emulators = mame\r\n");
        WriteBytes(launcher + "/config/mame.cfg", "name = MAME\r\n");
        WriteBytes(launcher + "/config/mame.map", "pacman\r\n");
        const EnvironmentVariable homeVariable("HOME", home);
        const EnvironmentVariable prefixVariable("WINEPREFIX", std::nullopt);
        StartAndReturnToSetup(t);
        PickerColumn& column = Setup(t)->Column(0);

        QVERIFY(column.SetFolder(home));
        ChooseFolder(t, "Dir1", prefix);
        QCOMPARE(column.Folder(), prefix);

        auto* drives = Control<QComboBox>(t, "Drive1");
        auto offered = [drives] {
            drives->showPopup();
            drives->hidePopup();
            QStringList texts;
            for (int i = 0; i < drives->count(); ++i) {
                texts << drives->itemText(i);
            }
            return texts;
        };
        auto wine = [](const std::string& letter, const std::string& folder) {
            return QString::fromStdString(letter + "  [" + folder + "]");
        };
        QStringList texts = offered();
        QVERIFY(texts.contains(wine("c:", prefix + "/drive_c")));
        QVERIFY(texts.contains(wine("e:", t.root / "stick")));
        QVERIFY(texts.contains(wine("z:", "/")));
        QVERIFY(!texts.contains(wine("f:", t.root / "later")));
        QVERIFY(std::none_of(texts.begin(), texts.end(),
                             [](const QString& text) { return text.startsWith("d:"); }));
        // A drive that appears while the program runs is offered at the next opening.
        std::filesystem::create_directories(t.root / "later");
        std::filesystem::create_directory_symlink(t.root / "later", prefix + "/dosdevices/f:");
        texts = offered();
        QVERIFY(texts.contains(wine("f:", t.root / "later")));

        const int c = texts.indexOf(wine("c:", prefix + "/drive_c"));
        drives->setCurrentIndex(c);
        emit drives->activated(c);
        QCOMPARE(column.Drive(), prefix + "/drive_c");
        QCOMPARE(column.Folder(), prefix + "/drive_c");
        ChooseFolder(t, "Dir1", prefix + "/drive_c/Games");
        ChooseFolder(t, "Dir1", launcher);
        QCOMPARE(Control(t, "Label3")->text(), QStringLiteral("Found!!"));
        QCOMPARE(Setup(t)->Column(1).Folder(), launcher + "/config");
        QCOMPARE(Setup(t)->Column(2).Folder(), launcher + "/config");
        QCOMPARE(Control(t, "Label18")->text(), QStringLiteral("Found!!"));
        QCOMPARE(Control(t, "Label19")->text(), QStringLiteral("Found!!"));
        QVERIFY(!t.windows().IsLoaded(FormId::Form5));

        // A choice made in a followed picker afterwards stands.
        ChooseFolder(t, "Dir3", launcher);
        QCOMPARE(Setup(t)->Column(2).Folder(), launcher);
        QCOMPARE(Control(t, "Label19")->text(), QStringLiteral("Not Found!"));
        QCOMPARE(Setup(t)->Column(1).Folder(), launcher + "/config");
        QVERIFY(!Control<QPushButton>(t, "Command2")->isEnabled());
    }

    void pickersRefuseWhatTheyCannotTake() {
        TestApp t;
        StartAndReturnToSetup(t);
        PickerColumn& column = Setup(t)->Column(1);
        const std::string folder = column.Folder();
        const std::string drive = column.Drive();
        struct Case {
            Status status;
            int code;
        };
        const Case cases[] = {
            {column.SetFolder("cabinet/config"), ErrorCode::InvalidPropertyValue},
            {column.SetFolder(""), ErrorCode::InvalidPropertyValue},
            {column.SetFolder(t.cabinetDir + "/gone"), ErrorCode::PathNotFound},
            {column.SetFolder(t.cabinetDir + "/kabinet.cfg"), ErrorCode::PathNotFound},
            {column.SetDrive("relative"), ErrorCode::InvalidPropertyValue},
            {column.SetDrive(t.configDir), ErrorCode::InvalidPropertyValue},
        };
        for (const Case& c : cases) {
            QVERIFY(!c.status);
            QCOMPARE(c.status.failure().code, c.code);
        }
        QCOMPARE(column.Folder(), folder);
        QCOMPARE(column.Drive(), drive);
        QVERIFY(!t.windows().IsLoaded(FormId::Form5));
    }

    void foldersAreReportedInOneForm_data() {
        QTest::addColumn<QString>("given");
        QTest::addColumn<QString>("reported");
#ifdef _WIN32
        // Drive letters in one case, either slash taken, backslashes given back.
        QTest::newRow("root") << "C:/"
                              << "c:\\";
        QTest::newRow("trailing slash") << "c:\\a\\b\\"
                                        << "c:\\a\\b";
        QTest::newRow("mixed and doubled") << "D:\\\\a//b"
                                           << "d:\\a\\b";
        QTest::newRow("dots") << "c:\\a\\.\\b\\..\\c"
                              << "c:\\a\\c";
        QTest::newRow("above the root") << "c:\\..\\a"
                                        << "c:\\a";
        QTest::newRow("no drive") << "\\a\\b"
                                  << "\\a\\b";
        QTest::newRow("drive-relative") << "c:a"
                                        << "c:a";
#else
        QTest::newRow("root") << "/"
                              << "/";
        QTest::newRow("trailing slash") << "/a/b/"
                                        << "/a/b";
        QTest::newRow("doubled slashes") << "//a//b"
                                         << "/a/b";
        QTest::newRow("dots") << "/a/./b/../c"
                              << "/a/c";
        QTest::newRow("above the root") << "/../a"
                                        << "/a";
        QTest::newRow("blanks kept") << "/a /b "
                                     << "/a /b ";
#endif
    }

    void foldersAreReportedInOneForm() {
        QFETCH(QString, given);
        QFETCH(QString, reported);
        QCOMPARE(QString::fromStdString(NormaliseFolder(given.toStdString())), reported);
    }
};

QTEST_MAIN(SetupTest)
#include "setup_test.moc"
