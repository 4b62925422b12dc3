#pragma once

#include "app/form.h"

class QLabel;

namespace fav {

// Asks before the selected favourites list is deleted; Player 1 Start deletes it, ESC leaves it.
class Form6 final : public Form {
    Q_OBJECT

public:
    explicit Form6(App& app);

    void Form_Activate() override;
    void Form_KeyDown(int& keyCode) override;

private:
    void DeleteList();
    void ReturnToMenu();

    QLabel* Label1_ = nullptr;
    QLabel* Label3_ = nullptr;
};

} // namespace fav
