#include "screens/verify/form4.h"

#include "app/app.h"
#include "app/arcade_key.h"
#include "app/controls.h"
#include "app/display_text.h"
#include "core/backups/list_versions.h"
#include "core/launcher/launcher_config.h"
#include "core/launcher/list_files.h"

#include <QFrame>
#include <QLabel>

namespace fav {

Form4::Form4(App& app)
    : Form(app, FormId::Form4, QStringLiteral("Verify name and description"), 9030, 4605) {
    MakeLabel(this, "Label1", QStringLiteral("New Favorites List name is:"), 840, 600, 2055, 255);
    label3_ = MakeLabel(this, "Label3", QString(), 3360, 600, 3255, 375);
    MakeLabel(this, "Label2", QStringLiteral("New Favorites List description is:"), 480, 1200, 2415,
              255);
    label4_ = MakeLabel(this, "Label4", QString(), 3240, 1200, 3375, 375);
    MakeLabel(this, "Label5", QStringLiteral("Is this correct? "), 840, 2640, 2775, 375,
              FontSpec{13.5, true});
    label6_ =
        MakeLabel(this, "Label6", QStringLiteral("Yes"), 4080, 2400, 1215, 615, FontSpec{24, true});
    // Narrower than the design's 1455 twips, which left an empty margin to the right that full
    // screen would have to find room for.
    label7_ =
        MakeLabel(this, "Label7", QStringLiteral("No"), 6240, 2400, 1095, 615, FontSpec{24, true});
    // Centred in their boxes, so that the selection border never touches the letters.
    label6_->setAlignment(Qt::AlignCenter);
    label7_->setAlignment(Qt::AlignCenter);
    // Made last so that it lies above the labels it covers.
    frame1_ = MakeFrame(this, "Frame1", 480, 240, 8175, 3735);
    MakeLabel(frame1_, "Label8",
              QStringLiteral("Sorry! But that name already exists, it cannot be used. Please hit "
                             "ESC now to go back and enter a different name."),
              1320, 960, 4935, 1575, FontSpec{13.5, true});
}

void Form4::Form_Load() {
    SetBorder(label6_, true);
    label7_->setEnabled(false);
    label3_->setText(DisplayText(app_.shared.CurrentListName));
    label4_->setText(DisplayText(app_.shared.NewListDescription));
    frame1_->setVisible(false);
}

void Form4::Form_KeyDown(int& keyCode) {
    switch (keyCode) {
    case ArcadeKey::Escape:
        keyCode = 0;
        BackToKeyboard();
        return;
    case ArcadeKey::Player1Start:
        keyCode = 0;
        if (HasBorder(label6_)) {
            auto taken = FindListEntry(app_.shared.LauncherDir, app_.shared.CurrentListName);
            if (!taken) {
                // Nothing has been written yet; the error screen reports why the check failed.
                app_.ShowError(taken.failure());
                return;
            }
            if (taken.value()) {
                ShowNameExists();
                return;
            }
            CreateFavoritesList();
        } else if (HasBorder(label7_)) {
            BackToKeyboard();
        }
        return;
    case ArcadeKey::Left:
    case ArcadeKey::Up:
        keyCode = 0;
        if (HasBorder(label6_)) {
            ChooseNo();
        } else {
            ChooseYes();
        }
        return;
    case ArcadeKey::Right:
    case ArcadeKey::Down:
        keyCode = 0;
        if (HasBorder(label7_)) {
            ChooseYes();
        } else {
            ChooseNo();
        }
        return;
    default:
        return;
    }
}

void Form4::ShowNameExists() {
    frame1_->setVisible(true);
}

void Form4::CreateFavoritesList() {
    const std::string key = app_.shared.CurrentListName;
    const Status created =
        fav::CreateFavoritesList(app_.shared.LauncherDir, key, app_.shared.NewListDescription,
                                 SystemFileIo(), Journal{app_.programDir()});
    if (!created) {
        app_.ShowError(created.failure());
        return;
    }
    const Status offered = OfferDeletedGames(key);
    app_.windows().Unload(FormId::Form4);
    app_.windows().Show(FormId::Form2);
    if (!offered) {
        // The list is made and stays empty; its kept games are still where they were.
        app_.ShowError(offered.failure());
    }
}

Status Form4::OfferDeletedGames(const std::string& key) {
    auto found = FindDeletedList(app_.programDir(), key);
    if (!found) {
        return found.failure();
    }
    if (!found.value()) {
        return {};
    }
    const DeletedList& deleted = *found.value();
    QString text = QStringLiteral("A list named %1").arg(DisplayText(key));
    if (!deleted.description.empty()) {
        text += QStringLiteral(" (%1)").arg(DisplayText(deleted.description));
    }
    text += QStringLiteral(" was deleted on %1 with %2 %3. Bring its games back?")
                .arg(LocalTimeText(deleted.version.time))
                .arg(deleted.games)
                .arg(deleted.games == 1 ? QStringLiteral("game") : QStringLiteral("games"));
    const MessageAnswer answer = app_.messages().Show(text, QStringLiteral("Favorizer"),
                                                      MessageButtons::YesNo, MessageIcon::None);
    if (answer != MessageAnswer::Yes) {
        return {};
    }
    return RestoreVersion(app_.programDir(), app_.shared.LauncherDir, key, deleted.version,
                          SystemFileIo(), Journal{app_.programDir()});
}

void Form4::ChooseYes() {
    SetBorder(label6_, true);
    label7_->setEnabled(false);
    SetBorder(label7_, false);
    label6_->setEnabled(true);
}

void Form4::ChooseNo() {
    SetBorder(label6_, false);
    label7_->setEnabled(true);
    SetBorder(label7_, true);
    label6_->setEnabled(false);
}

void Form4::BackToKeyboard() {
    app_.windows().Unload(FormId::Form4);
    app_.windows().Show(FormId::Form3);
}

} // namespace fav
