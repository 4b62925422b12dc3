#pragma once

#include "app/form.h"
#include "core/categories/category_catalogue.h"
#include "screens/editor/editor_panes.h"
#include "screens/editor/filter_panel.h"
#include "screens/editor/held_paging.h"
#include "screens/editor/jump_panel.h"
#include "screens/editor/pane_view.h"

#include <QElapsedTimer>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QFrame;
class QLabel;
class QTimer;

namespace fav {

class FilterPanelView;
class JumpPanelView;

// The game list editor: mame.map's games on the left, the list being edited on the right.
class Form7 final : public Form {
    Q_OBJECT

public:
    explicit Form7(App& app);
    ~Form7() override;

    void Form_Activate() override;
    void Form_KeyDown(int& keyCode) override;
    void Form_KeyUp(int keyCode) override;

    const EditorPanes& panes() const { return panes_; }
    bool JumpPanelOpen() const { return jumpOpen_; }
    const JumpPanel& jumpPanel() const { return jump_; }
    bool FilterPanelOpen() const { return filterOpen_; }
    const FilterPanel& filterPanel() const { return filter_; }
    const CategoryCatalogue& categories() const { return catalogue_; }

    // The held action button's repeat, as its timer runs it.
    void RepeatPaging();
    // Milliseconds for the held buttons' pace; a steady clock unless replaced.
    void SetClock(std::function<std::int64_t()> clock) { clock_ = std::move(clock); }

private:
    enum class LoadState { NotLoaded, Loaded, Failed };

    void Load();
    void PlaceFavouritesTotal();
    void LoadFailed(const Failure& failure);
    void SaveAndLeave();
    void AddOrRemove(Pane active);
    void ActionButton(HeldPaging::Button button);
    void Page(HeldPaging::Button button, int pages);
    void ScheduleRepeat();
    void StopPaging();

    void OpenJumpPanel();
    void CloseJumpPanel();
    void JumpPanelKey(int keyCode);
    // Selects the entry the prefix names in the active pane.
    void Jump();

    // Reads the category files and the choice last made, before the games pane is filled.
    void LoadCategories();
    void CountFilterGames();
    // The games pane's entries as the choice names them.
    void ShowChosenGames();
    // ShowChosenGames, the first of them selected, and the choice kept for the next opening.
    void ApplyFilter();
    void ShowFilterInUse();
    void OpenFilterPanel();
    void CloseFilterPanel();
    void FilterPanelKey(int keyCode);
    void ShowFilterPanel();
    void ChooseFilterLine();
    void AddShownGames();
    void LogOnce(const std::string& problem);

    PaneView* view(Pane which) const { return which == Pane::Games ? List1_ : List2_; }
    PaneModel* model(Pane which) const {
        return which == Pane::Games ? gamesModel_.get() : favouritesModel_.get();
    }
    void ShowActivePane();
    // Shows the pane's selected entry in its view, scrolled into sight when asked.
    void ShowSelection(Pane which, bool scroll,
                       QAbstractItemView::ScrollHint hint = QAbstractItemView::EnsureVisible);
    std::int64_t Now() const;
    // The user moved a view's selection (Up, Down, a click).
    void TakeSelection(Pane which);
    void ShowFavouritesTotal();
    // The active pane's selected entry, whole, on the line under the panes.
    void ShowSelectedLine();

    EditorPanes panes_;
    std::unique_ptr<PaneModel> gamesModel_;
    std::unique_ptr<PaneModel> favouritesModel_;
    LoadState loadState_ = LoadState::NotLoaded;
    std::string listKey_;
    bool showingSelection_ = false;
    bool saveFailedOnce_ = false;

    HeldPaging held_;
    QTimer* repeatTimer_ = nullptr;
    QElapsedTimer elapsed_;
    std::function<std::int64_t()> clock_;

    JumpPanel jump_;
    bool jumpOpen_ = false;
    JumpPanelView* jumpView_ = nullptr;

    CategoryCatalogue catalogue_;
    std::vector<FilterCount> filterCounts_;
    FilterChoice choice_;
    const CategoryFilter* inUse_ = nullptr;
    FilterPanel filter_;
    bool filterOpen_ = false;
    // How many shown games the list lacks, as the panel was opened.
    std::size_t notListed_ = 0;
    FilterPanelView* filterView_ = nullptr;
    QLabel* filterName_ = nullptr;
    QLabel* shown_ = nullptr;

    QFrame* Frame1_ = nullptr;
    QLabel* Label2_ = nullptr;
    QLabel* Label7_ = nullptr;
    QLabel* Label8_ = nullptr;
    QLabel* Label11_ = nullptr;
    QLabel* Label12_ = nullptr;
    QLabel* Label13_ = nullptr;
    QLabel* Label16_ = nullptr;
    PaneView* List1_ = nullptr;
    PaneView* List2_ = nullptr;
};

} // namespace fav
