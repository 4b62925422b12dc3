#pragma once

#include "app/form.h"
#include "core/errors/result.h"
#include "screens/setup/picker_column.h"

#include <array>
#include <string>

class QCheckBox;
class QFrame;
class QLabel;
class QPushButton;

namespace fav {

// The setup window: the program starts by loading it. Its load handler reads the settings file
// and sets the three picker columns; the file detection then either moves on to the favourites
// menu by itself or shows the window under its warning panel.
class Form1 final : public Form {
    Q_OBJECT

public:
    explicit Form1(App& app);

    void Form_Load() override;

    // Checks the three columns and sets the window's state; may run Next.
    Status DetectFiles();
    // Next: asks to save changed settings, then hides this window and shows the menu.
    Status Command2_Click();
    // Writes the settings file from the pickers and the check box and takes them over.
    Status SaveSettings();
    // The warning panel's last line: hides the panel and applies the stored folders.
    Status Label13_Click();
    // Exit: unloads every window.
    void Command3_Click();

    // The launcher, MAME configuration and MAME game list columns, 0 to 2.
    PickerColumn& Column(int index) { return *columns_.at(index); }
    // Set when the user toggles the full-screen box; only start-up clears it.
    bool CheckChanged() const { return checkChanged_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Status StartUp();
    Status FollowLauncherConfig();
    std::string& SharedFolder(int index);
    // Failures of what the user did: shown on the error screen, this window stays.
    void Report(const Status& status);

    std::array<PickerColumn*, 3> columns_{};
    QFrame* frame1_ = nullptr;
    QLabel* label13_ = nullptr;
    QCheckBox* check1_ = nullptr;
    QPushButton* command2_ = nullptr;
    QPushButton* command3_ = nullptr;
    bool checkChanged_ = false;
};

} // namespace fav
