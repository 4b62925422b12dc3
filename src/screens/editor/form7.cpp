#include "screens/editor/form7.h"

#include "app/app.h"
#include "app/arcade_key.h"
#include "app/controls.h"
#include "app/display_text.h"
#include "app/twips.h"
#include "core/launcher/game_list.h"
#include "core/launcher/list_files.h"

#include <QFrame>
#include <QItemSelectionModel>
#include <QLabel>

namespace fav {

namespace {

constexpr int FrameWidth = 9735;
constexpr int FrameHeight = 7695;

const QString CaptionPrefix = QStringLiteral("Edit Game List: ");

QLabel* MakeHint(QWidget* parent, const char* name, const QString& text, int left, int top,
                 int width, int height) {
    return MakeLabel(parent, name, text, left, top, width, height, FontSpec{9.75, true});
}

// The layout was drawn for a narrow sans-serif face at 8.25 points; a wider face breaks the
// hint texts in other places and cuts the captions off.
QFont WindowFont(QFont font) {
    font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans"),
                      QStringLiteral("DejaVu Sans Condensed")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(8.25);
    return font;
}

std::string WithoutLeadingSpaces(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : text.substr(first);
}

} // namespace

// The window leaves a narrow margin around the frame that holds everything.
Form7::Form7(App& app)
    : Form(app, FormId::Form7, CaptionPrefix, FrameWidth + 120, FrameHeight + 240) {
    setFont(WindowFont(font()));
    Frame1_ = MakeFrame(this, "Frame1", 0, 0, FrameWidth, FrameHeight);
    // Here the frame only holds the controls and masks nothing: the window's own background
    // shows through, which saves filling it twice.
    Frame1_->setAutoFillBackground(false);
    QWidget* f = Frame1_;

    MakeHint(f, "Label1", QStringLiteral("Mame Games List"), 120, 0, 1455, 255);
    MakeLabel(f, "Label10", QStringLiteral("Total # games="), 1920, 0, 1335, 255);
    Label11_ = MakeLabel(f, "Label11", QString(), 3240, 0, 975, 255);
    Label2_ = MakeLabel(f, "Label2", QString(), 5520, 0, 1335, 375);
    MakeLabel(f, "Label12", QStringLiteral("Total # games="), 7320, 0, 1215, 255);
    Label13_ = MakeLabel(f, "Label13", QString(), 8640, 0, 615, 255);

    MakeHint(f, "Label4", QStringLiteral("Press"), 4320, 2280, 735, 255);
    MakeHint(f, "Label5", QStringLiteral("P1 Start"), 4200, 2520, 855, 255);
    MakeHint(f, "Label6", QStringLiteral("To"), 4440, 2760, 495, 255);
    Label7_ = MakeHint(f, "Label7", QStringLiteral("   Add selected     game          to "), 4080,
                       3120, 975, 975);
    Label8_ = MakeHint(f, "Label8",
                       QStringLiteral("   Remove        selected           game              from"),
                       3960, 3120, 1335, 975);
    MakeHint(f, "Label9", QStringLiteral("your list."), 4200, 4200, 1095, 375);
    MakeHint(f, "Label14", QStringLiteral("Press ESC to escape and save the new list of games."),
             3960, 4800, 1455, 975);
    MakeHint(f, "Label3",
             QStringLiteral("Use Joystick left and right to choose menu. Use joystick up and down "
                            "to choose item within selected menu."),
             480, 6120, 8295, 495);
    MakeHint(f, "Label15", QStringLiteral("Use Player 1 action buttons to page up or down."), 360,
             6840, 8415, 495);

    gamesModel_ = std::make_unique<PaneModel>(
        panes_.games(), [this](std::string_view line) { return panes_.InFavourites(line); },
        nullptr);
    favouritesModel_ = std::make_unique<PaneModel>(panes_.favourites(), nullptr, nullptr);

    List1_ = new PaneView(f, "List1");
    PlaceTwips(List1_, 0, 360, 3735, 5520);
    List2_ = new PaneView(f, "List2");
    PlaceTwips(List2_, 5520, 360, 3495, 5520);
    for (Pane which : {Pane::Games, Pane::Favourites}) {
        view(which)->setModel(model(which));
        connect(view(which)->selectionModel(), &QItemSelectionModel::selectionChanged, this,
                [this, which] { TakeSelection(which); });
    }

    // The games pane is active from the start, so a load that stops early leaves a screen that
    // still answers the keys.
    ShowActivePane();
}

Form7::~Form7() {
    // The views go with the window; they must not outlive the models they show.
    delete Frame1_;
}

void Form7::Form_Activate() {
    // Loading once per opening: activation comes again when an error screen over the editor
    // closes, and loading then would double the entries or lose the user's edits.
    if (loadState_ == LoadState::NotLoaded) {
        Load();
    }
}

void Form7::Load() {
    const std::string& name = app_.shared.CurrentListName;
    setWindowTitle(CaptionPrefix + DisplayText(name));
    KeyPreview = true;
    Label2_->setText(DisplayText(name));

    const std::string& launcherDir = app_.shared.LauncherDir;
    auto games = ReadGameLines(MameMapPath(launcherDir));
    if (!games) {
        return LoadFailed(games.failure());
    }
    Label11_->setText(QString::number(games.value().size()));
    panes_.FillGames(std::move(games).value());

    listKey_ = WithoutLeadingSpaces(name);
    if (auto refused = CheckListKey(listKey_)) {
        return LoadFailed(*refused);
    }
    const std::string mapPath = ListFilePath(launcherDir, listKey_, ".map");
    if (auto ensured = EnsureMapFile(mapPath); !ensured) {
        return LoadFailed(ensured.failure());
    }
    auto favourites = ReadGameLines(mapPath);
    if (!favourites) {
        return LoadFailed(favourites.failure());
    }
    panes_.FillFavourites(std::move(favourites).value());
    ShowFavouritesTotal();

    ShowActivePane();
    panes_.SelectFirstEntries();
    ShowSelection(Pane::Games, true);
    ShowSelection(Pane::Favourites, true);
    loadState_ = LoadState::Loaded;
}

void Form7::LoadFailed(const Failure& failure) {
    loadState_ = LoadState::Failed;
    app_.ShowError(failure);
}

void Form7::Form_Resize() {
    if (Frame1_ != nullptr) {
        CentreContainer(this, Frame1_, FrameWidth, FrameHeight);
    }
}

void Form7::Form_KeyDown(int& keyCode) {
    if (keyCode == ArcadeKey::Escape) {
        keyCode = 0;
        SaveAndLeave();
        return;
    }
    const Pane active = panes_.active();
    // The views follow the panes here; what they report while they do is not the user's doing.
    showingSelection_ = true;
    switch (keyCode) {
    case ArcadeKey::Ctrl:
        keyCode = 0;
        panes_.PageDown();
        ShowSelection(active, true);
        break;
    case ArcadeKey::Alt:
        keyCode = 0;
        panes_.PageUp();
        ShowSelection(active, true);
        break;
    case ArcadeKey::Player1Start:
        keyCode = 0;
        // Nothing is saved after a failed load, so no edit is offered that would be lost.
        if (loadState_ == LoadState::Loaded) {
            AddOrRemove(active);
        }
        break;
    case ArcadeKey::Left:
    case ArcadeKey::Right:
        keyCode = 0;
        panes_.Switch();
        ShowActivePane();
        break;
    default:
        break;
    }
    showingSelection_ = false;
    ShowFavouritesTotal();
}

void Form7::AddOrRemove(Pane active) {
    if (active == Pane::Games) {
        panes_.Add();
        ShowSelection(Pane::Favourites, false);
    } else if (panes_.Remove()) {
        ShowSelection(Pane::Favourites, true);
    }
}

void Form7::SaveAndLeave() {
    // After a failed load the favourites pane may hold part of the list or none of it: leaving
    // must not write that over the list's files.
    if (loadState_ == LoadState::Loaded) {
        const auto saved =
            WriteListFiles(app_.shared.LauncherDir, listKey_, panes_.favourites().Lines());
        if (!saved) {
            app_.ShowError(saved.failure());
            return;
        }
    }
    app_.windows().Unload(FormId::Form7);
    app_.windows().Show(FormId::Form2);
}

void Form7::ShowActivePane() {
    const bool games = panes_.active() == Pane::Games;
    PaneView* on = games ? List1_ : List2_;
    PaneView* off = games ? List2_ : List1_;
    on->setEnabled(true);
    on->setFocus();
    off->setEnabled(false);
    Label7_->setVisible(games);
    Label8_->setVisible(!games);
}

void Form7::ShowSelection(Pane which, bool scroll) {
    const bool wasShowing = showingSelection_;
    showingSelection_ = true;
    QItemSelectionModel* selection = view(which)->selectionModel();
    const int row = panes_.pane(which).selected();
    if (row == SortedPane::NoSelection) {
        selection->clear();
    } else {
        const QModelIndex index = model(which)->index(row);
        selection->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
        if (scroll) {
            view(which)->scrollTo(index);
        }
    }
    showingSelection_ = wasShowing;
}

void Form7::TakeSelection(Pane which) {
    if (showingSelection_) {
        return;
    }
    const QModelIndexList rows = view(which)->selectionModel()->selectedRows();
    panes_.pane(which).Select(rows.isEmpty() ? SortedPane::NoSelection : rows.first().row());
}

void Form7::ShowFavouritesTotal() {
    Label13_->setText(QString::number(panes_.favourites().size()));
}

} // namespace fav
