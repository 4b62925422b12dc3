#pragma once

#include "app/form.h"
#include "core/launcher/launcher_config.h"

#include <cstdint>
#include <string>
#include <vector>

class QFrame;
class QLabel;

namespace fav {

class MenuList;

// The favourites menu: the lists declared in kabinet.cfg on the left, what can be done with the
// selected one on the right.
class Form2 final : public Form {
    Q_OBJECT

public:
    explicit Form2(App& app);

    void Form_Activate() override;
    void Form_KeyDown(int& keyCode) override;
    void Label2_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum OptionItem { CreateItem = 0, EditItem = 1, DeleteItem = 2, CancelItem = 3 };

    void ActivateFavouritesMenu();
    void ActivateOptionsMenu();
    void PerformSelectedOption();
    // Hands over to another screen: this one is unloaded and rebuilt when it is shown again.
    void OpenScreen(FormId next);
    QString SelectedEntryText() const;

    QFrame* Frame3_ = nullptr;
    QFrame* Frame1_ = nullptr;
    QFrame* Frame2_ = nullptr;
    QLabel* Label2_ = nullptr;
    QLabel* Label11_ = nullptr;
    QLabel* Label12_ = nullptr;
    MenuList* List1_ = nullptr;
    MenuList* List2_ = nullptr;

    // The entries as the bytes they came from, row for row with List1.
    std::vector<std::string> entries_;
    std::int16_t remainingLists_ = EmulatorFieldLimit;
    // An unreadable kabinet.cfg is reported once per showing, so that closing the error screen
    // (which activates this screen again) leaves the menu usable.
    bool readFailureShown_ = false;
};

} // namespace fav
