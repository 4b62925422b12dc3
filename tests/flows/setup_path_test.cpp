#include "flows/flow_helpers.h"
#include "screens/setup/form1.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <optional>

using namespace fav;
using namespace fav::test;

namespace {

// A cabinet and a program folder beside it that outlive every run of the program.
struct Machine {
    TempFolder root;
    std::string programDir = root / "program";
    std::string cabinetDir = root / "cabinet";
    std::string configDir = JoinPath(cabinetDir, "config");

    Machine() {
        std::filesystem::create_directories(programDir);
        std::filesystem::create_directories(configDir);
        WriteBytes(cabinetDir + "/kabinet.cfg", "# launcher\r\nemulators = mame kbfavFIGHT\r\n");
        WriteBytes(configDir + "/mame.cfg", "name = MAME\r\n");
        WriteBytes(configDir + "/mame.map", "pacman \"Pac-Man (Midway)\"\r\n");
    }

    std::string Settings() const { return ReadBytes(programDir + "/favorize.cfg"); }
};

std::string SettingsFile(const std::string& launcher, const std::string& mameCfg,
                         const std::string& mameMap, const std::string& fullscreen) {
    return "# This file was created by Favorizer for Kabinet.\r\n"
           "# Next line is where kabinet.cfg file is stored.\r\n"
           "Kabinet.cfg default path = " +
           launcher +
           "\r\n# The next line is where mame.cfg is stored.\r\n"
           "Mame.cfg default path = " +
           mameCfg +
           "\r\n# The next line is where mame.map is stored.\r\n"
           "Mame.map default path = " +
           mameMap +
           "\r\n# Next line chooses wheter or not Favorizer runs full screen. 1 = fullscreen\r\n"
           "Run Favorizer fullscreen = " +
           fullscreen + "\r\n";
}

void Click(QWidget* widget) {
    QVERIFY(widget != nullptr);
    QTest::mouseClick(widget, Qt::LeftButton);
}

// The owner walks a folder picker to the folder with the mouse: a double click on each folder
// on the way, as the picker lists them.
void WalkFolderPicker(Program& p, int column, const char* picker, const std::string& folder) {
    Form1* setup = p.windows().Get<Form1>(FormId::Form1);
    auto* list = Control<QListWidget>(p, FormId::Form1, picker);
    QVERIFY(setup != nullptr && list != nullptr);
    for (int step = 0; step < 64 && setup->Column(column).Folder() != folder; ++step) {
        // The deepest listed folder on the way to the one wanted.
        QListWidgetItem* next = nullptr;
        std::size_t depth = 0;
        for (int row = 0; row < list->count(); ++row) {
            QListWidgetItem* item = list->item(row);
            const std::string path = item->data(Qt::UserRole).toByteArray().toStdString();
            const bool onTheWay =
                path == SystemRoot || folder == path || folder.starts_with(path + PathSeparator);
            if (onTheWay && path.size() >= depth) {
                next = item;
                depth = path.size();
            }
        }
        QVERIFY(next != nullptr);
        QVERIFY(next->data(Qt::UserRole).toByteArray().toStdString() !=
                setup->Column(column).Folder());
        list->scrollToItem(next);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {},
                           list->visualItemRect(next).center());
    }
    QCOMPARE(setup->Column(column).Folder(), folder);
}

} // namespace

class SetupPathTest : public QObject {
    Q_OBJECT

private slots:
    // A new cabinet: first started from the controls and left with ESC, then set up with the
    // mouse, then started again and straight into the menu.
    void setUpOnceThenStraightToTheMenu() {
        Machine m;
        {
            // No settings file: the defaults point at the root, where nothing is found.
            Program p(m.programDir);
            p.app.Start();
            QCOMPARE(VisibleScreens(p), Only(FormId::Form1));
            QCOMPARE(ActiveId(p), int(FormId::Form1));
            QVERIFY(Shown(p, FormId::Form1, "Frame1"));
            QVERIFY(!Control<QPushButton>(p, FormId::Form1, "Command2")->isEnabled());
            QCOMPARE(Text(p, FormId::Form1, "Label3"), QStringLiteral("Not Found!"));
            QCOMPARE(m.Settings(), SettingsFile(SystemRoot, SystemRoot, SystemRoot, "0"));
            p.Press(Qt::Key_Escape);
            QVERIFY(p.ended);
            QVERIFY(p.messages.shown.empty());
        }
        {
            Program p(m.programDir);
            p.app.Start();
            QVERIFY(Shown(p, FormId::Form1, "Frame1"));
            Draw(p);
            Click(Control(p, FormId::Form1, "Label13"));
            QVERIFY(!Shown(p, FormId::Form1, "Frame1"));
            QVERIFY(Shown(p, FormId::Form1, "Check1"));
            QCOMPARE(p.app.shared.SetupRequested, True);

            WalkFolderPicker(p, 0, "Dir1", m.cabinetDir);
            QCOMPARE(Text(p, FormId::Form1, "Label3"), QStringLiteral("Found!!"));
            // The other two pickers followed to the launcher's config folder, which holds both.
            Form1* setup = p.windows().Get<Form1>(FormId::Form1);
            QCOMPARE(setup->Column(1).Folder(), m.configDir);
            QCOMPARE(setup->Column(2).Folder(), m.configDir);
            QCOMPARE(Text(p, FormId::Form1, "Label18"), QStringLiteral("Found!!"));
            QCOMPARE(Text(p, FormId::Form1, "Label19"), QStringLiteral("Found!!"));
            // All found, but the screen waits for Next.
            QVERIFY(Control<QPushButton>(p, FormId::Form1, "Command2")->isEnabled());
            QCOMPARE(VisibleScreens(p), Only(FormId::Form1));
            QVERIFY(p.messages.shown.empty());
            QCOMPARE(m.Settings(), SettingsFile(SystemRoot, SystemRoot, SystemRoot, "0"));

            Draw(p);
            Click(Control<QCheckBox>(p, FormId::Form1, "Check1"));
            Click(Control<QPushButton>(p, FormId::Form1, "Command2"));
            QCOMPARE(p.messages.shown.size(), std::size_t{1});
            QCOMPARE(p.messages.shown[0].text, QStringLiteral("Save changes?"));
            QCOMPARE(p.messages.shown[0].caption, QStringLiteral("Settings have changed!"));
            QCOMPARE(p.messages.shown[0].buttons, MessageButtons::YesNo);
            QCOMPARE(m.Settings(), SettingsFile(m.cabinetDir, m.configDir, m.configDir, " 1"));

            QCOMPARE(VisibleScreens(p), Only(FormId::Form2));
            QCOMPARE(ActiveId(p), int(FormId::Form2));
            QVERIFY(p.windows().IsLoaded(FormId::Form1));
            QVERIFY(p.windows().Find(FormId::Form2)->isMaximized());
            QCOMPARE(Rows(Control<QListWidget>(p, FormId::Form2, "List1")), QStringList{" FIGHT"});
            p.Press(Qt::Key_Escape);
            QVERIFY(p.ended);
        }
        const std::string saved = m.Settings();
        {
            Program p(m.programDir);
            p.app.Start();
            QCOMPARE(VisibleScreens(p), Only(FormId::Form2));
            QCOMPARE(ActiveId(p), int(FormId::Form2));
            QVERIFY(p.messages.shown.empty());
            QVERIFY(p.windows().Find(FormId::Form2)->isMaximized());
            QCOMPARE(p.app.shared.LauncherDir, m.cabinetDir);
            QCOMPARE(Rows(Control<QListWidget>(p, FormId::Form2, "List1")), QStringList{" FIGHT"});
            p.Press(Qt::Key_Escape);
            QVERIFY(p.ended);
        }
        QCOMPARE(m.Settings(), saved);
        QVERIFY(!Exists(m.programDir + "/favorlog.txt"));
    }

    // The menu's setup line: the setup screen as it was left, and Next back to the menu.
    void menuSetupLineAndBack() {
        Machine m;
        WriteBytes(m.programDir + "/favorize.cfg",
                   SettingsFile(m.cabinetDir, m.configDir, m.configDir, " 0"));
        const std::string settings = m.Settings();
        Program p(m.programDir);
        p.app.Start();
        QCOMPARE(VisibleScreens(p), Only(FormId::Form2));

        Click(Control(p, FormId::Form2, "Label2"));
        QCOMPARE(VisibleScreens(p), Only(FormId::Form1));
        QCOMPARE(ActiveId(p), int(FormId::Form1));
        TestApp::Settle();
        QVERIFY(!p.windows().IsLoaded(FormId::Form2));
        QVERIFY(!Shown(p, FormId::Form1, "Frame1"));
        QVERIFY(Shown(p, FormId::Form1, "Check1"));
        QVERIFY(Control<QPushButton>(p, FormId::Form1, "Command2")->isEnabled());
        QCOMPARE(p.windows().Get<Form1>(FormId::Form1)->Column(0).Folder(), m.cabinetDir);

        // In the setup state a folder without the file leaves the warning away.
        WalkFolderPicker(p, 0, "Dir1", m.configDir);
        QCOMPARE(Text(p, FormId::Form1, "Label3"), QStringLiteral("Not Found!"));
        QVERIFY(!Shown(p, FormId::Form1, "Frame1"));
        QVERIFY(!Control<QPushButton>(p, FormId::Form1, "Command2")->isEnabled());
        WalkFolderPicker(p, 0, "Dir1", m.cabinetDir);

        // A drive that cannot be reached: the error over the setup screen, which stays.
        PickerColumn& launcher = p.windows().Get<Form1>(FormId::Form1)->Column(0);
        launcher.SetVolumes(
            {Volume{launcher.Drive(), {}, true}, Volume{UnreachableDrive, "CD", false}});
        auto* drives = Control<QComboBox>(p, FormId::Form1, "Drive1");
        drives->setFocus();
        p.Press(Qt::Key_Down);
        QCOMPARE(VisibleScreens(p), (std::vector<int>{1, 5}));
        QCOMPARE(ActiveId(p), int(FormId::Form5));
        QCOMPARE(Text(p, FormId::Form5, "Label1"), QStringLiteral("Error# 68 was encountered."));
        QCOMPARE(Text(p, FormId::Form5, "Label2"),
                 QStringLiteral("You have chosen a drive that is not acessible, please choose "
                                "another."));
        Draw(p);
        QCOMPARE(LogLines(m.programDir).size(), std::size_t{1});
        p.Press(Qt::Key_Escape);
        QCOMPARE(VisibleScreens(p), Only(FormId::Form1));
        QCOMPARE(ActiveId(p), int(FormId::Form1));
        QCOMPARE(launcher.Folder(), m.cabinetDir);
        QCOMPARE(m.Settings(), settings);

        Click(Control<QPushButton>(p, FormId::Form1, "Command2"));
        QVERIFY(p.messages.shown.empty());
        QCOMPARE(VisibleScreens(p), Only(FormId::Form2));
        QCOMPARE(ActiveId(p), int(FormId::Form2));
        QCOMPARE(Rows(Control<QListWidget>(p, FormId::Form2, "List1")), QStringList{" FIGHT"});
        QCOMPARE(m.Settings(), settings);
    }
};

QTEST_MAIN(SetupPathTest)
#include "setup_path_test.moc"
