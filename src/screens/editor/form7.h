#pragma once

#include "app/form.h"
#include "screens/editor/editor_panes.h"
#include "screens/editor/pane_view.h"

#include <memory>
#include <string>

class QFrame;
class QLabel;

namespace fav {

// The game list editor: mame.map's games on the left, the list being edited on the right.
class Form7 final : public Form {
    Q_OBJECT

public:
    explicit Form7(App& app);
    ~Form7() override;

    void Form_Activate() override;
    void Form_Resize() override;
    void Form_KeyDown(int& keyCode) override;

    const EditorPanes& panes() const { return panes_; }

private:
    enum class LoadState { NotLoaded, Loaded, Failed };

    void Load();
    void LoadFailed(const Failure& failure);
    void SaveAndLeave();
    void AddOrRemove(Pane active);

    PaneView* view(Pane which) const { return which == Pane::Games ? List1_ : List2_; }
    PaneModel* model(Pane which) const {
        return which == Pane::Games ? gamesModel_.get() : favouritesModel_.get();
    }
    void ShowActivePane();
    // Shows the pane's selected entry in its view, scrolled into sight when asked.
    void ShowSelection(Pane which, bool scroll);
    // The user moved a view's selection (Up, Down, a click).
    void TakeSelection(Pane which);
    void ShowFavouritesTotal();

    EditorPanes panes_;
    std::unique_ptr<PaneModel> gamesModel_;
    std::unique_ptr<PaneModel> favouritesModel_;
    LoadState loadState_ = LoadState::NotLoaded;
    std::string listKey_;
    bool showingSelection_ = false;

    QFrame* Frame1_ = nullptr;
    QLabel* Label2_ = nullptr;
    QLabel* Label7_ = nullptr;
    QLabel* Label8_ = nullptr;
    QLabel* Label11_ = nullptr;
    QLabel* Label13_ = nullptr;
    PaneView* List1_ = nullptr;
    PaneView* List2_ = nullptr;
};

} // namespace fav
