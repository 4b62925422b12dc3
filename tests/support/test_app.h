#pragma once

#include "app/app.h"
#include "core/os/native_path.h"
#include "support/temp_folder.h"

#include <QEvent>
#include <QString>
#include <deque>
#include <vector>

namespace fav::test {

// Message boxes answered by the test: each box is recorded and takes the next queued answer
// (Ok for OK boxes, Yes for Yes/No boxes when nothing is queued).
class ScriptedMessageBoxes final : public MessageBoxes {
public:
    struct Shown {
        QString text;
        QString caption;
        MessageButtons buttons;
        MessageIcon icon;
    };

    MessageAnswer Show(const QString& text, const QString& caption, MessageButtons buttons,
                       MessageIcon icon) override;

    std::deque<MessageAnswer> answers;
    std::vector<Shown> shown;
};

// A program in a temporary program folder with a cabinet folder beside it, a fixed clock and
// scripted message boxes. Ending the program only sets `ended`.
class TestApp {
public:
    TestApp();
    ~TestApp();

    TempFolder root;
    std::string programDir; // root/program
    std::string cabinetDir; // root/cabinet
    std::string configDir;  // root/cabinet/config
    ScriptedMessageBoxes messages;
    bool ended = false;
    App app;

    WindowManager& windows() { return app.windows(); }

    // A cabinet with kabinet.cfg (the given emulators line), config/mame.cfg and config/mame.map
    // holding `games` lines.
    void WriteCabinet(const std::string& emulatorsLine = "emulators = mame",
                      const std::vector<std::string>& games = {"pacman \"Pac-Man (Midway)\""});
    // favorize.cfg in the program folder pointing all three folders at the cabinet.
    void WriteSettings(int fullscreen = 0);

    // Presses a key as the cabinet's controls do: sent to the widget that has the keyboard focus
    // in the active window (the window itself when none has).
    void Press(Qt::Key key);
    void Press(Qt::Key key, int times);
    // A key held down, as the window system sends it: the press, then `repeats` auto-repeated
    // presses (each in the widget that has the keyboard at that moment), no release.
    void Hold(Qt::Key key, int repeats = 0);
    void Release(Qt::Key key);
    // One key event of any kind through the program's event path, to the widget with the keyboard.
    void Send(QEvent::Type type, Qt::Key key, Qt::KeyboardModifiers modifiers, bool autoRepeat);
    // Lets deferred deletions of unloaded windows happen.
    static void Settle();
};

// A drive the drive pickers may be offered that is not there.
#ifdef _WIN32
inline constexpr const char* UnreachableDrive = "q:\\";
#else
inline constexpr const char* UnreachableDrive = "/no-such-drive";
#endif

inline constexpr const char* FixedDateTime = "12/7/26 9:30:00 PM";

} // namespace fav::test
