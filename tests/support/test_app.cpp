#include "support/test_app.h"

#include "core/os/native_path.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTest>
#include <filesystem>

namespace fav::test {

MessageAnswer ScriptedMessageBoxes::Show(const QString& text, const QString& caption,
                                         MessageButtons buttons, MessageIcon icon) {
    shown.push_back({text, caption, buttons, icon});
    if (!answers.empty()) {
        const MessageAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    return buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::Yes;
}

namespace {

std::string MakeFolder(const TempFolder& root, const std::string& name) {
    std::filesystem::create_directories(root / name);
    return root / name;
}

} // namespace

TestApp::TestApp()
    : programDir(MakeFolder(root, "program")), cabinetDir(MakeFolder(root, "cabinet")),
      configDir(JoinPath(cabinetDir, "config")),
      app({programDir, &messages, [] { return std::string(FixedDateTime); },
           [this] { ended = true; }}) {
    std::filesystem::create_directories(configDir);
}

TestApp::~TestApp() {
    Settle();
}

void TestApp::WriteCabinet(const std::string& emulatorsLine,
                           const std::vector<std::string>& games) {
    WriteBytes(cabinetDir + "/kabinet.cfg", "# launcher\r\n" + emulatorsLine + "\r\n");
    WriteBytes(cabinetDir + "/config/mame.cfg",
               "name = MAME\r\ndescription = Multiple Arcade Machine Emulator\r\n");
    std::string map;
    for (const auto& game : games) {
        map += game + "\r\n";
    }
    WriteBytes(cabinetDir + "/config/mame.map", map);
}

void TestApp::WriteSettings(int fullscreen) {
    const std::string& config = configDir;
    WriteBytes(
        programDir + "/favorize.cfg",
        "# This file was created by Favorizer for Kabinet.\r\n"
        "# Next line is where kabinet.cfg file is stored.\r\n"
        "Kabinet.cfg default path = " +
            cabinetDir +
            "\r\n"
            "# The next line is where mame.cfg is stored.\r\n"
            "Mame.cfg default path = " +
            config +
            "\r\n"
            "# The next line is where mame.map is stored.\r\n"
            "Mame.map default path = " +
            config +
            "\r\n"
            "# Next line chooses wheter or not Favorizer runs full screen. 1 = fullscreen\r\n"
            "Run Favorizer fullscreen =  " +
            std::to_string(fullscreen) + "\r\n");
}

namespace {

// The widget that has the keyboard in the active window (the window itself when none has).
QWidget* KeyboardTarget(WindowManager& windows) {
    Form* active = windows.ActiveForm();
    if (active != nullptr && active->focusWidget() != nullptr) {
        return active->focusWidget();
    }
    return active;
}

} // namespace

void TestApp::Press(Qt::Key key) {
    if (QWidget* target = KeyboardTarget(app.windows())) {
        QTest::keyClick(target, key);
    }
}

void TestApp::Hold(Qt::Key key, int repeats) {
    Send(QEvent::KeyPress, key, Qt::NoModifier, false);
    for (int i = 0; i < repeats; ++i) {
        Send(QEvent::KeyPress, key, Qt::NoModifier, true);
    }
}

void TestApp::Release(Qt::Key key) {
    Send(QEvent::KeyRelease, key, Qt::NoModifier, false);
}

void TestApp::Send(QEvent::Type type, Qt::Key key, Qt::KeyboardModifiers modifiers,
                   bool autoRepeat) {
    QWidget* target = KeyboardTarget(app.windows());
    if (target == nullptr) {
        return;
    }
    const QString text = key >= Qt::Key_Space && key <= Qt::Key_AsciiTilde
                             ? QString(QChar(static_cast<char16_t>(key))).toLower()
                             : QString();
    QKeyEvent event(type, key, modifiers, text, autoRepeat);
    QApplication::sendEvent(target, &event);
}

void TestApp::Press(Qt::Key key, int times) {
    for (int i = 0; i < times; ++i) {
        Press(key);
    }
}

void TestApp::Settle() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace fav::test
