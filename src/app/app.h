#pragma once

#include "app/message_boxes.h"
#include "app/module1.h"
#include "app/os/system.h"
#include "app/window_manager.h"
#include "core/backups/list_versions.h"
#include "core/errors/failure.h"

#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>

namespace fav {

// What the program is given from outside: its folder, how to ask the user, the clock, and what
// ending the program means. Tests supply their own.
struct AppEnvironment {
    std::string programDir;
    MessageBoxes* messages = nullptr;
    // The date and time text of the error log; the system locale's when empty.
    std::function<std::string()> dateTimeText;
    // Called once when the last window has been unloaded.
    std::function<void()> endProgram;
};

// The running program: its shared values, windows and services. One per process, owned by
// main (or by a test); every window reaches it through the reference it was built with.
class App {
public:
    explicit App(AppEnvironment environment);
    ~App();
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    Module1 shared;
    // Opens the screen that teaches a game controller the cabinet's controls, for the next one
    // whose button is pressed; empty where no controllers are heard.
    std::function<void()> teachController;

    WindowManager& windows() { return *windows_; }
    // The environment's message boxes; after each one the keyboard goes back to the top window.
    MessageBoxes& messages() { return *messages_; }
    const std::string& programDir() const { return environment_.programDir; }
    std::string DateTimeText() const;
    // Where a list's files are kept before they are replaced or deleted, as of now.
    VersionKeeping KeepingVersions() const;

    // Loads and shows the setup window, whose load handler starts the program.
    void Start();

    // True when another copy runs from the same program folder; otherwise this copy takes the
    // lock and keeps it until it ends.
    bool AnotherCopyRunning();

    // Shows the error screen for the failure. While an error screen is loaded it stays as it is:
    // a second error neither replaces it nor runs its load steps again.
    void ShowError(const Failure& failure);
    // The failure the error screen reports.
    const Failure& CurrentFailure() const { return currentFailure_; }
    // Writes the failure's line in favorlog.txt unless the log holds it already: for what is only
    // worth knowing of, not worth stopping for, and may come again at every opening.
    void LogOnce(const Failure& failure);

private:
    AppEnvironment environment_;
    std::unique_ptr<WindowManager> windows_;
    std::unique_ptr<MessageBoxes> messages_;
    SingleCopyLock singleCopyLock_;
    Failure currentFailure_;
    std::set<std::string> logged_;
};

// The date and time in the form the error log uses: the system locale's short date, a blank, its
// long time.
QString LocalTimeText(const LocalTime& time);

// Builds the window for an id; defined beside the screens.
Form* CreateForm(App& app, FormId id);

} // namespace fav
