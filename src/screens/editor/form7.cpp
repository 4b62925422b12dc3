#include "screens/editor/form7.h"

#include "app/app.h"
#include "app/arcade_key.h"
#include "app/controls.h"
#include "app/display_text.h"
#include "app/twips.h"
#include "core/launcher/game_list.h"
#include "core/launcher/list_files.h"
#include "screens/editor/filter_panel_view.h"
#include "screens/editor/jump_panel_view.h"

#include <QFontMetrics>
#include <QFrame>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLocale>
#include <QTimer>
#include <algorithm>
#include <optional>

namespace fav {

namespace {

constexpr int FrameWidth = 9735;
constexpr int FrameHeight = 7695;

const QString CaptionPrefix = QStringLiteral("Edit Game List: ");

QLabel* MakeHint(QWidget* parent, const char* name, const QString& text, int left, int top,
                 int width, int height) {
    return MakeLabel(parent, name, text, left, top, width, height, FontSpec{9.75, true});
}

// The favourites pane's heading, in twips: its name, then its total.
constexpr int Label2Left = 5520;
constexpr int Label12Left = 7320;
constexpr int Label13Left = 8640;
constexpr int Label13Width = 615;

// The panels over the panes keep this far from the frame's sides, in twips.
constexpr int PanelMargin = 120;

HeldPaging::Button ButtonOf(int keyCode) {
    return keyCode == ArcadeKey::Ctrl ? HeldPaging::Button::PageDown : HeldPaging::Button::PageUp;
}

// The jump panel's cursor moves with the joystick.
std::optional<JumpPanel::Direction> DirectionOf(int keyCode) {
    switch (keyCode) {
    case ArcadeKey::Left:
        return JumpPanel::Direction::Left;
    case ArcadeKey::Up:
        return JumpPanel::Direction::Up;
    case ArcadeKey::Right:
        return JumpPanel::Direction::Right;
    case ArcadeKey::Down:
        return JumpPanel::Direction::Down;
    default:
        return std::nullopt;
    }
}

// A count as the panel and the shown line give it: "8,880".
QString Grouped(std::size_t count) {
    return QLocale(QLocale::English, QLocale::UnitedStates)
        .toString(static_cast<qulonglong>(count));
}

const QString AllGamesText = QStringLiteral("All games");
const QString AddShownCaption = QStringLiteral("Add every shown game");

} // namespace

// The window leaves a narrow margin around the frame that holds everything.
Form7::Form7(App& app)
    : Form(app, FormId::Form7, CaptionPrefix, FrameWidth + 120, FrameHeight + 240) {
    Frame1_ = MakeFrame(this, "Frame1", 0, 0, FrameWidth, FrameHeight);
    // Here the frame only holds the controls and masks nothing: the window's own background
    // shows through, which saves filling it twice.
    Frame1_->setAutoFillBackground(false);
    QWidget* f = Frame1_;

    // Wider than the design's 1455 twips, which cut the title's last letters off.
    MakeHint(f, "Label1", QStringLiteral("Mame Games List"), 120, 0, 1800, 255);
    MakeLabel(f, "Label10", QStringLiteral("Total # games="), 1920, 0, 1335, 255);
    Label11_ = MakeLabel(f, "Label11", QString(), 3240, 0, 975, 255);
    Label2_ = MakeLabel(f, "Label2", QString(), Label2Left, 0, 1335, 375);
    Label12_ = MakeLabel(f, "Label12", QStringLiteral("Total # games="), Label12Left, 0, 1215, 255);
    Label13_ = MakeLabel(f, "Label13", QString(), Label13Left, 0, Label13Width, 255);

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
             480, 6210, 8295, 495);
    // The instructions below the panes stand closer than the design's, each one line high, to
    // make room for the selected entry's line without making the window taller: full screen
    // scales the window by its height.
    MakeHint(f, "Label15", QStringLiteral("Use Player 1 action buttons to page up or down."), 360,
             6750, 8415, 255);
    MakeHint(f, "HoldHint",
             QStringLiteral("Hold a Player 1 action button to keep paging; press both to jump to "
                            "a name."),
             360, 7050, 8415, 255);
    // What the games pane shows, between the panes above the instructions.
    filterName_ = MakeLineLabel(f, "FilterName", 3840, 420, 1560, 270, FontSpec{9.75, true});
    filterName_->setAlignment(Qt::AlignCenter);
    shown_ = MakeLabel(f, "Shown", QString(), 3840, 720, 1560, 255, FontSpec{9.75, true});
    shown_->setAlignment(Qt::AlignCenter);
    MakeHint(f, "FilterHint", QStringLiteral("Press both action buttons twice for categories."),
             3840, 1020, 1560, 1200)
        ->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    // The panes cut long lines off, and sets that differ only in region or revision would look
    // the same: the active pane's selected entry is shown whole under them.
    Label16_ = MakeLineLabel(f, "Label16", 0, 5910, FrameWidth, 270, FontSpec{9.75});

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

    jumpView_ = new JumpPanelView(f);
    filterView_ = new FilterPanelView(f, FrameWidth - PanelMargin - FilterPanelView::Width, 360);

    repeatTimer_ = new QTimer(this);
    repeatTimer_->setSingleShot(true);
    repeatTimer_->setTimerType(Qt::PreciseTimer);
    connect(repeatTimer_, &QTimer::timeout, this, &Form7::RepeatPaging);
    elapsed_.start();

    // The games pane is active from the start, so a load that stops early leaves a screen that
    // still answers the keys.
    ShowActivePane();
}

Form7::~Form7() {
    // The views go with the window; they must not outlive the models they show.
    delete Frame1_;
}

void Form7::Form_Activate() {
    // Buttons let go while another screen had the keyboard were never heard of here.
    StopPaging();
    // Loading once per opening: activation comes again when an error screen over the editor
    // closes, and loading then would double the entries or lose the user's edits.
    if (loadState_ == LoadState::NotLoaded) {
        Load();
    }
}

void Form7::PlaceFavouritesTotal() {
    // A name of twelve wide letters runs past its box into the total beside it: the total moves
    // right as far as the name needs, up to the frame's edge. A tenth more than the name's width
    // at the design size leaves room for the wider hinting of some scales.
    QFont face = font();
    face.setPointSizeF(DesignPoints(this));
    const int nameTwips = static_cast<int>(
        PixelsToTwips(QFontMetrics(face).horizontalAdvance(Label2_->text())) * 1.1);
    constexpr int Gap = 60;
    const int shift = std::clamp(Label2Left + nameTwips + Gap - Label12Left, 0,
                                 FrameWidth - Label13Left - Label13Width);
    const QRect total = DesignTwips(Label12_);
    PlaceTwips(Label12_, Label12Left + shift, total.top(), total.width(), total.height());
    const QRect count = DesignTwips(Label13_);
    PlaceTwips(Label13_, Label13Left + shift, count.top(), count.width(), count.height());
}

void Form7::Load() {
    const std::string& name = app_.shared.CurrentListName;
    setWindowTitle(CaptionPrefix + DisplayText(name));
    Label2_->setText(DisplayText(name));
    PlaceFavouritesTotal();

    const std::string& launcherDir = app_.shared.LauncherDir;
    auto games = ReadGameLines(MameMapPath(launcherDir), MameMapBounds);
    if (!games) {
        return LoadFailed(games.failure());
    }
    Label11_->setText(QString::number(games.value().size()));
    LoadCategories();
    panes_.FillGames(std::move(games).value());
    if (inUse_ != nullptr || choice_.hideMature) {
        ShowChosenGames();
    }
    ShowFilterInUse();

    listKey_ = ListKeyFromMenuEntry(name);
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
    // Each view is new and at its top, where its first entry stands.
    showingSelection_ = true;
    for (Pane which : {Pane::Games, Pane::Favourites}) {
        if (panes_.pane(which).selected() != SortedPane::NoSelection) {
            view(which)->SelectFilledRow(model(which)->index(panes_.pane(which).selected()));
        }
    }
    showingSelection_ = false;
    ShowSelectedLine();
    loadState_ = LoadState::Loaded;
}

void Form7::LoadFailed(const Failure& failure) {
    loadState_ = LoadState::Failed;
    app_.ShowError(failure);
}

void Form7::Form_KeyDown(int& keyCode) {
    const int key = keyCode;
    if (key == ArcadeKey::Ctrl || key == ArcadeKey::Alt) {
        keyCode = 0;
        // A held button repeats at its own pace; the system's repeats of it would page twice.
        if (!KeyRepeated()) {
            ActionButton(ButtonOf(key));
        }
        return;
    }
    if (filterOpen_) {
        keyCode = 0;
        FilterPanelKey(key);
        return;
    }
    if (jumpOpen_) {
        // Nothing reaches the editor while the panel is up.
        keyCode = 0;
        JumpPanelKey(key);
        return;
    }
    if (key == ArcadeKey::Escape) {
        keyCode = 0;
        SaveAndLeave();
        return;
    }
    const Pane active = panes_.active();
    // The views follow the panes here; what they report while they do is not the user's doing.
    showingSelection_ = true;
    switch (key) {
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
    ShowSelectedLine();
}

void Form7::Form_KeyUp(int keyCode) {
    if (keyCode == ArcadeKey::Ctrl || keyCode == ArcadeKey::Alt) {
        held_.Release(ButtonOf(keyCode));
        if (!held_.Repeating()) {
            repeatTimer_->stop();
        }
    }
}

void Form7::ActionButton(HeldPaging::Button button) {
    const HeldPaging::Pressed pressed = held_.Press(button, Now());
    if (filterOpen_) {
        held_.StopRepeat();
        if (pressed == HeldPaging::Pressed::Alone) {
            filter_.Page(button == HeldPaging::Button::PageDown ? 1 : -1);
            ShowFilterPanel();
        }
        return;
    }
    if (jumpOpen_) {
        held_.StopRepeat();
        // Both buttons again: from finding a name to choosing which games are shown.
        if (pressed == HeldPaging::Pressed::Both) {
            CloseJumpPanel();
            OpenFilterPanel();
            return;
        }
        if (pressed == HeldPaging::Pressed::Alone && jump_.RemoveLast()) {
            Jump();
            jumpView_->Show(jump_);
        }
        return;
    }
    if (pressed == HeldPaging::Pressed::Both) {
        // The first button's page stands.
        repeatTimer_->stop();
        OpenJumpPanel();
        return;
    }
    Page(button, 1);
    ScheduleRepeat();
}

void Form7::Page(HeldPaging::Button button, int pages) {
    for (int i = 0; i < pages; ++i) {
        button == HeldPaging::Button::PageDown ? panes_.PageDown() : panes_.PageUp();
    }
    ShowSelection(panes_.active(), true);
}

void Form7::RepeatPaging() {
    // Once another screen has the keyboard the release may never come here.
    if (!held_.Repeating() || jumpOpen_ || filterOpen_ || app_.windows().ActiveForm() != this) {
        StopPaging();
        return;
    }
    if (const int pages = held_.Tick(Now()); pages > 0) {
        Page(held_.RepeatingButton(), pages);
    }
    ScheduleRepeat();
}

void Form7::ScheduleRepeat() {
    const std::int64_t wait = held_.UntilNext(Now());
    if (wait < 0) {
        repeatTimer_->stop();
    } else {
        repeatTimer_->start(static_cast<int>(wait));
    }
}

void Form7::StopPaging() {
    held_.ReleaseAll();
    if (repeatTimer_ != nullptr) {
        repeatTimer_->stop();
    }
}

std::int64_t Form7::Now() const {
    return clock_ ? clock_() : elapsed_.elapsed();
}

void Form7::OpenJumpPanel() {
    jump_.Open();
    jumpOpen_ = true;
    // Over the pane that is not active, so the active one stays in sight.
    jumpView_->Open(panes_.active() == Pane::Games ? FrameWidth - PanelMargin - JumpPanelView::Width
                                                   : PanelMargin,
                    jump_);
}

void Form7::CloseJumpPanel() {
    jumpOpen_ = false;
    jumpView_->hide();
}

void Form7::JumpPanelKey(int keyCode) {
    if (keyCode == ArcadeKey::Escape) {
        CloseJumpPanel();
        return;
    }
    if (const auto direction = DirectionOf(keyCode)) {
        jump_.Move(*direction);
    } else if (keyCode == ArcadeKey::Player1Start) {
        if (jump_.Type()) {
            Jump();
        }
    } else {
        return;
    }
    jumpView_->Show(jump_);
}

void Form7::Jump() {
    const Pane active = panes_.active();
    SortedPane& pane = panes_.pane(active);
    const int row = JumpPanel::Target(pane, jump_.prefix());
    if (row == SortedPane::NoSelection) {
        return;
    }
    pane.Select(row);
    ShowSelection(active, true, QAbstractItemView::PositionAtTop);
}

void Form7::LoadCategories() {
    catalogue_ = ReadCategoryCatalogue(
        CategoryFolders({app_.programDir(), ConfigFolderPath(app_.shared.LauncherDir)}));
    for (const std::string& problem : catalogue_.problems) {
        LogOnce(problem);
    }
    filterCounts_.clear();
    auto choice = ReadFilterChoice(app_.programDir());
    if (!choice) {
        app_.LogOnce(choice.failure());
    }
    choice_ = choice ? choice.value() : FilterChoice{};
    inUse_ = catalogue_.Find(choice_.label);
    if (inUse_ == nullptr) {
        // Its file is gone or no longer offers it.
        choice_.label.clear();
    }
    choice_.hideMature = choice_.hideMature && !catalogue_.mature.empty();
}

void Form7::LogOnce(const std::string& problem) {
    Failure failure = MakeFailure(ErrorCode::InvalidPropertyValue, problem);
    const std::string standard = StandardDescription(failure.code) + ": ";
    failure.description =
        "MAME category file skipped: " + failure.description.substr(standard.size());
    app_.LogOnce(failure);
}

void Form7::ShowChosenGames() {
    const RomNames none;
    const RomNames& hidden = choice_.hideMature ? catalogue_.mature : none;
    panes_.games().ShowOnly(
        inUse_ == nullptr && hidden.empty()
            ? std::function<bool(std::string_view)>()
            : [this, &hidden](std::string_view line) { return FilterShows(inUse_, hidden, line); });
}

void Form7::ApplyFilter() {
    inUse_ = catalogue_.Find(choice_.label);
    ShowChosenGames();
    SortedPane& games = panes_.games();
    if (!games.empty()) {
        games.Select(0);
    }
    ShowSelection(Pane::Games, true, QAbstractItemView::PositionAtTop);
    ShowFilterInUse();
    if (Status stored = StoreFilterChoice(app_.programDir(), choice_); !stored) {
        // The games are shown as chosen; only the next opening will not remember it.
        app_.LogOnce(stored.failure());
    }
}

void Form7::ShowFilterInUse() {
    filterName_->setText(inUse_ != nullptr ? DisplayText(inUse_->label) : AllGamesText);
    shown_->setText(QStringLiteral("Shown: ") +
                    Grouped(static_cast<std::size_t>(panes_.games().size())));
}

void Form7::CountFilterGames() {
    // Counted at the panel's first opening, not the editor's: most openings never need them.
    const std::vector<std::string_view>& games = panes_.games().FilledEntries();
    const GameRoms roms(games);
    filterCounts_.clear();
    filterCounts_.reserve(catalogue_.filters.size() + 1);
    // The first count is every game's; the filters' follow.
    filterCounts_.push_back({games.size(), games.size() - roms.Count(catalogue_.mature, {}).all});
    for (const CategoryFilter& filter : catalogue_.filters) {
        filterCounts_.push_back(roms.Count(filter.roms, catalogue_.mature));
    }
}

void Form7::OpenFilterPanel() {
    if (filterCounts_.empty()) {
        CountFilterGames();
    }
    const int inUse = inUse_ == nullptr ? -1 : static_cast<int>(inUse_ - catalogue_.filters.data());
    filter_.Open(static_cast<int>(catalogue_.filters.size()), !catalogue_.mature.empty(), inUse,
                 choice_.hideMature);
    notListed_ = panes_.ShownNotListed().size();
    filterOpen_ = true;
    ShowFilterPanel();
    filterView_->raise();
    filterView_->show();
}

void Form7::CloseFilterPanel() {
    filterOpen_ = false;
    filterView_->hide();
}

void Form7::FilterPanelKey(int keyCode) {
    switch (keyCode) {
    case ArcadeKey::Escape:
        CloseFilterPanel();
        return;
    case ArcadeKey::Up:
        filter_.Move(-1);
        break;
    case ArcadeKey::Down:
        filter_.Move(1);
        break;
    case ArcadeKey::Player1Start:
        ChooseFilterLine();
        return;
    default:
        return;
    }
    ShowFilterPanel();
}

void Form7::ShowFilterPanel() {
    const bool hide = filter_.hideMature();
    filterView_->Show(
        filter_,
        [this, hide](const FilterPanel::Line& line) -> FilterPanelView::Row {
            const auto count = [hide](const FilterCount& c) {
                return Grouped(hide ? c.shown : c.all);
            };
            switch (line.kind) {
            case FilterPanel::Kind::AllGames:
                return {(inUse_ == nullptr ? QStringLiteral("\u00bb ") : QString()) + AllGamesText,
                        count(filterCounts_.front())};
            case FilterPanel::Kind::Filter: {
                const auto at = static_cast<std::size_t>(line.filter);
                const CategoryFilter& filter = catalogue_.filters[at];
                return {(inUse_ == &filter ? QStringLiteral("\u00bb ") : QString()) +
                            DisplayText(filter.label),
                        count(filterCounts_[at + 1])};
            }
            case FilterPanel::Kind::HideMature:
                return {QStringLiteral("Hide mature games: ") +
                            (hide ? QStringLiteral("Yes") : QStringLiteral("No")),
                        QString()};
            case FilterPanel::Kind::AddShown:
                return {QStringLiteral("Add every shown game to the list"), Grouped(notListed_)};
            }
            return {};
        },
        catalogue_.filters.empty());
}

void Form7::ChooseFilterLine() {
    const FilterPanel::Line line = filter_.line(filter_.cursor());
    switch (line.kind) {
    case FilterPanel::Kind::HideMature:
        filter_.ToggleMature();
        ShowFilterPanel();
        return;
    case FilterPanel::Kind::AddShown:
        CloseFilterPanel();
        AddShownGames();
        return;
    case FilterPanel::Kind::AllGames:
    case FilterPanel::Kind::Filter:
        choice_.label = line.kind == FilterPanel::Kind::Filter
                            ? catalogue_.filters[static_cast<std::size_t>(line.filter)].label
                            : std::string();
        choice_.hideMature = filter_.hideMature();
        CloseFilterPanel();
        ApplyFilter();
        return;
    }
}

void Form7::AddShownGames() {
    if (loadState_ != LoadState::Loaded) {
        return;
    }
    const QString list = DisplayText(listKey_);
    const std::size_t wanted = panes_.ShownNotListed().size();
    if (wanted == 0) {
        app_.messages().Show(QStringLiteral("Every shown game is already in %1.").arg(list),
                             AddShownCaption, MessageButtons::Ok, MessageIcon::None);
        return;
    }
    const QString full = QStringLiteral("%1 is full: a list holds at most %2 games.")
                             .arg(list, Grouped(static_cast<std::size_t>(MaxGameLines)));
    if (panes_.favourites().size() >= MaxGameLines) {
        app_.messages().Show(full, AddShownCaption, MessageButtons::Ok, MessageIcon::None);
        return;
    }
    const MessageAnswer answer = app_.messages().Show(
        QStringLiteral("Add the %1 shown %2 not yet in %3?")
            .arg(Grouped(wanted),
                 wanted == 1 ? QStringLiteral("game that is") : QStringLiteral("games that are"),
                 list),
        AddShownCaption, MessageButtons::YesNo, MessageIcon::None);
    if (answer != MessageAnswer::Yes) {
        return;
    }
    const auto added = static_cast<std::size_t>(panes_.AddShown());
    ShowSelection(Pane::Favourites, true);
    ShowFavouritesTotal();
    if (added < wanted) {
        app_.messages().Show(full + QStringLiteral(" %1 of the %2 games were added.")
                                        .arg(Grouped(added), Grouped(wanted)),
                             AddShownCaption, MessageButtons::Ok, MessageIcon::None);
    }
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
            WriteListFiles(app_.shared.LauncherDir, listKey_, panes_.favourites().Lines(),
                           SystemFileIo(), Journal{app_.programDir()}, app_.KeepingVersions());
        if (!saved) {
            // The first failure keeps the edits for another try. A second one gives up: a cause
            // that does not go away must not hold the owner in the editor for ever.
            if (!saveFailedOnce_) {
                saveFailedOnce_ = true;
                app_.ShowError(saved.failure());
                return;
            }
            app_.windows().Unload(FormId::Form7);
            app_.windows().Show(FormId::Form2);
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
    ShowSelectedLine();
}

void Form7::ShowSelection(Pane which, bool scroll, QAbstractItemView::ScrollHint hint) {
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
            view(which)->scrollTo(index, hint);
        }
    }
    showingSelection_ = wasShowing;
    if (which == panes_.active()) {
        ShowSelectedLine();
    }
}

void Form7::TakeSelection(Pane which) {
    if (showingSelection_) {
        return;
    }
    const QModelIndexList rows = view(which)->selectionModel()->selectedRows();
    panes_.pane(which).Select(rows.isEmpty() ? SortedPane::NoSelection : rows.first().row());
    ShowSelectedLine();
}

void Form7::ShowSelectedLine() {
    const SortedPane& pane = panes_.pane(panes_.active());
    const int row = pane.selected();
    Label16_->setText(row == SortedPane::NoSelection ? QString() : DisplayText(pane[row]));
}

void Form7::ShowFavouritesTotal() {
    Label13_->setText(QString::number(panes_.favourites().size()));
}

} // namespace fav
