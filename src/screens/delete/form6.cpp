#include "screens/delete/form6.h"

#include "app/app.h"
#include "app/arcade_key.h"
#include "app/controls.h"
#include "app/display_text.h"
#include "core/launcher/list_files.h"

#include <QLabel>

namespace fav {

namespace {

constexpr const char* DesignCaption = "Delete ";

} // namespace

Form6::Form6(App& app) : Form(app, FormId::Form6, QString::fromLatin1(DesignCaption), 5610, 3870) {
    const FontSpec bold{0, true, false};
    const FontSpec large{12, true, false};
    Label1_ = MakeLabel(this, "Label1", QStringLiteral("Warning!"), 1800, 240, 2655, 495,
                        FontSpec{13.5, true, false});
    MakeLabel(this, "Label2", QStringLiteral("You are about to delete"), 1200, 840, 3375, 375,
              large);
    Label3_ = MakeLabel(this, "Label3", QString(), 1560, 1320, 2175, 375, large);
    MakeLabel(this, "Label4", QStringLiteral("Are you sure?"), 1920, 1920, 1695, 255, bold);
    MakeLabel(this, "Label5", QStringLiteral("Press Player 1 Start to delete"), 960, 2400, 3615,
              375, bold);
    MakeLabel(this, "Label6", QStringLiteral("Press ESC to cancel"), 1440, 3000, 2175, 375, bold);
}

void Form6::Form_Activate() {
    const QString name = DisplayText(app_.shared.CurrentListName);
    // Built from the design caption, so the name is never appended twice.
    setWindowTitle(QString::fromLatin1(DesignCaption) + name + QStringLiteral("???"));
    Label3_->setText(name);
}

void Form6::Form_KeyDown(int& keyCode) {
    Label1_->setText(QString::number(keyCode));
    if (keyCode == ArcadeKey::Escape) {
        keyCode = 0;
        ReturnToMenu();
    } else if (keyCode == ArcadeKey::Player1Start) {
        keyCode = 0;
        DeleteList();
    }
}

void Form6::DeleteList() {
    const std::string key = ListKeyFromMenuEntry(app_.shared.CurrentListName);
    app_.shared.CurrentListName = SpacesToUnderscores(key);
    const Status deleted = DeleteFavoritesList(app_.shared.LauncherDir, key, SystemFileIo(),
                                               Journal{app_.programDir()}, app_.KeepingVersions());
    ReturnToMenu();
    if (!deleted) {
        // Over the menu, which already shows what the failed deletion left behind.
        app_.ShowError(deleted.failure());
    }
}

void Form6::ReturnToMenu() {
    // The menu is shown before this window goes, so the program never passes through a moment
    // with no window loaded.
    app_.windows().Show(FormId::Form2);
    app_.windows().Unload(FormId::Form6);
}

} // namespace fav
