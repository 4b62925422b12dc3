#pragma once

#include "app/form.h"
#include "core/errors/result.h"

#include <string>

class QFrame;
class QLabel;

namespace fav {

// Shows the name and description just typed and, on "Yes", creates the favourites list.
class Form4 final : public Form {
    Q_OBJECT

public:
    explicit Form4(App& app);

    void Form_Load() override;
    void Form_KeyDown(int& keyCode) override;

    // Covers the screen with the message that the name is already declared.
    void ShowNameExists();
    // Declares the list in kabinet.cfg and creates its files, then returns to the menu.
    void CreateFavoritesList();

private:
    // When a list of the new list's name was deleted with its games kept, asks whether to bring
    // them back, and does.
    Status OfferDeletedGames(const std::string& key);
    void ChooseYes();
    void ChooseNo();
    void BackToKeyboard();

    QLabel* label3_ = nullptr;
    QLabel* label4_ = nullptr;
    QLabel* label6_ = nullptr;
    QLabel* label7_ = nullptr;
    QFrame* frame1_ = nullptr;
};

} // namespace fav
