#include "screens/favourites_menu/form2.h"

#include "app/app.h"
#include "app/arcade_key.h"
#include "app/controls.h"
#include "app/display_text.h"
#include "app/product.h"
#include "app/twips.h"
#include "core/launcher/launcher_config.h"
#include "core/textfile/files.h"
#include "screens/favourites_menu/menu_list.h"

#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>

namespace fav {

namespace {

constexpr int Frame3Width = 9015;
constexpr int Frame3Height = 8295;

const char* const OptionItems[] = {
    "Create a new favorites List.",
    "Edit the selected Favorites List Games.",
    "Delete the selected Favorites List.",
    "Cancel (ESC).",
};

} // namespace

Form2::Form2(App& app) : Form(app, FormId::Form2, QString::fromLatin1(ProductTitle), 9120, 8535) {
    // Clicking the background must not take the keyboard away from the menus.
    setFocusPolicy(Qt::TabFocus);

    Frame3_ = MakeFrame(this, "Frame3", 0, 240, Frame3Width, Frame3Height);
    const FontSpec bold{0, true, false};

    MakeLabel(Frame3_, "Label1",
              QStringLiteral("Favorites List names that are stored in Kabinet.cfg."), 840, 0, 6975,
              495, FontSpec{12, true, false});
    MakeLabel(Frame3_, "Label3", QStringLiteral("Favorites Lists Menu."), 240, 960, 3375, 255,
              bold);
    List1_ = new MenuList(Frame3_, "List1", 120, 1320, 3375, 3570);
    MakeLabel(Frame3_, "Label9", QStringLiteral("Options Menu for :"), 4320, 960, 2055, 375, bold);
    Label12_ = MakeLabel(Frame3_, "Label12", QString(), 6480, 960, 2055, 255, bold);
    List2_ = new MenuList(Frame3_, "List2", 4320, 1320, 4215, 1230);
    MakeLabel(Frame3_, "Label5", QStringLiteral("Move joystick left ot right to choose a menu."),
              4320, 3000, 3855, 375);
    MakeLabel(Frame3_, "Label6",
              QStringLiteral("Move joystick up or down to choose item within the menu."), 4320,
              3360, 4335, 375);
    MakeLabel(Frame3_, "Label7", QStringLiteral("Press Player 1 Start button to select."), 4320,
              3720, 4095, 255);
    MakeLabel(Frame3_, "Label8", QStringLiteral("ESC is the game escape button"), 4320, 4320, 3495,
              255);
    MakeLabel(Frame3_, "Label10", QStringLiteral("Maximum number of lists you can add is"), 120,
              5040, 3015, 255);
    Label11_ = MakeLabel(Frame3_, "Label11", QStringLiteral("0"), 1440, 5400, 495, 375);
    Label2_ =
        MakeLabel(Frame3_, "Label2",
                  QStringLiteral("Click here with mouse to setup Kabinet.cfg default location."),
                  1440, 6360, 5895, 375, FontSpec{0, false, true});
    Label2_->installEventFilter(this);

    // The masks lie above the titles they cover.
    Frame1_ = MakeFrame(Frame3_, "Frame1", 0, 840, 3615, 375);
    Frame2_ = MakeFrame(Frame3_, "Frame2", 4200, 840, 4335, 375);
    Frame1_->raise();
    Frame2_->raise();

    Form_Resize();
}

void Form2::Form_Activate() {
    if (app_.shared.FullscreenFlag == 1) {
        app_.windows().SetFullScreen();
    }
    app_.shared.SetupRequested = True;

    // Activation comes again when a screen over this one closes; the menus are built afresh.
    List2_->clear();
    List1_->clear();
    entries_.clear();
    for (const char* item : OptionItems) {
        List2_->addItem(QString::fromLatin1(item));
    }
    ActivateFavouritesMenu();
    remainingLists_ = EmulatorFieldLimit;

    const std::string launcherDir = app_.shared.LauncherDir;
    if (!IsOrdinaryFile(LauncherConfigPath(launcherDir))) {
        app_.messages().Show(
            QStringLiteral("Warning! Kabinet.cfg file not found! Please set up the program!"),
            QStringLiteral("favorizer"), MessageButtons::Ok, MessageIcon::None);
        return;
    }

    auto scan = ScanLauncherConfig(launcherDir);
    if (!scan) {
        if (!readFailureShown_) {
            readFailureShown_ = true;
            app_.ShowError(scan.failure());
        }
        return;
    }
    for (const std::string& key : scan.value().ListKeys) {
        entries_.push_back(" " + key);
        List1_->addItem(DisplayText(entries_.back()));
    }
    remainingLists_ = scan.value().RemainingLists;
    Label11_->setText(QString::number(remainingLists_));

    if (!scan.value().MameFound) {
        app_.messages().Show(
            QStringLiteral("Mame emulator not found! Please check your Kabinet.cfg file. Make sure "
                           "emulators = mame is in the kabinet.cfg file."),
            QStringLiteral("Favorizer"), MessageButtons::Ok, MessageIcon::Critical);
        app_.windows().UnloadAll();
        return;
    }

    if (List1_->count() > 0) {
        List1_->SelectRow(0);
        Label12_->setText(SelectedEntryText());
    }
}

void Form2::Form_KeyDown(int& keyCode) {
    // Set before the list moves, so during up and down it shows the entry left behind.
    Label12_->setText(SelectedEntryText());

    switch (keyCode) {
    case ArcadeKey::Escape:
        keyCode = 0;
        List2_->SelectRow(CancelItem);
        PerformSelectedOption();
        break;
    case ArcadeKey::Player1Start:
        keyCode = 0;
        if (List1_->isEnabled()) {
            // Into the options menu without switching the titles: the favourites title stays
            // readable, so the owner still sees which list the action is for.
            List1_->setEnabled(false);
            List2_->setEnabled(true);
            List2_->setFocus();
            List2_->SelectRow(EditItem);
        } else {
            PerformSelectedOption();
        }
        break;
    case ArcadeKey::Left:
    case ArcadeKey::Right:
        keyCode = 0;
        if (List1_->isEnabled()) {
            ActivateOptionsMenu();
        } else {
            ActivateFavouritesMenu();
        }
        break;
    default:
        break;
    }
}

void Form2::Label2_Click() {
    OpenScreen(FormId::Form1);
}

bool Form2::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Label2_ && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton &&
        Label2_->rect().contains(static_cast<QMouseEvent*>(event)->position().toPoint())) {
        Label2_Click();
        return true;
    }
    return Form::eventFilter(watched, event);
}

void Form2::ActivateFavouritesMenu() {
    List1_->setEnabled(true);
    Frame1_->hide();
    List1_->setFocus();
    List2_->setEnabled(false);
    Frame2_->show();
}

void Form2::ActivateOptionsMenu() {
    List1_->setEnabled(false);
    Frame1_->show();
    List2_->setEnabled(true);
    Frame2_->hide();
    List2_->setFocus();
    if (List2_->SelectedRow() < 0) {
        List2_->SelectRow(CreateItem);
    }
}

void Form2::PerformSelectedOption() {
    const int item = List2_->SelectedRow();
    if (item == CreateItem && remainingLists_ > 0) {
        OpenScreen(FormId::Form3);
        return;
    }
    if (item == CancelItem) {
        app_.windows().UnloadAll();
        return;
    }
    const int entry = List1_->SelectedRow();
    // Without a selected list there is nothing to edit or delete.
    if (List1_->count() == 0 || entry < 0) {
        return;
    }
    if (item == EditItem) {
        app_.shared.CurrentListName = entries_[static_cast<std::size_t>(entry)];
        OpenScreen(FormId::Form7);
    } else if (item == DeleteItem) {
        app_.shared.CurrentListName = entries_[static_cast<std::size_t>(entry)];
        OpenScreen(FormId::Form6);
    }
}

void Form2::OpenScreen(FormId next) {
    // The next screen is shown before this one goes, so the program never passes through a
    // moment with no window loaded (which would end it).
    app_.windows().Show(next);
    app_.windows().Unload(FormId::Form2);
}

QString Form2::SelectedEntryText() const {
    const int row = List1_->SelectedRow();
    return row < 0 ? QString() : DisplayText(entries_[static_cast<std::size_t>(row)]);
}

} // namespace fav
