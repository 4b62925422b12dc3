#pragma once

#include "app/form.h"

namespace fav {

// Stands in for a screen that is not built yet: shows its caption, and ESC returns to the menu
// (the menu itself ends the program on ESC).
class PlaceholderForm final : public Form {
    Q_OBJECT

public:
    PlaceholderForm(App& app, FormId id, const QString& caption);
    void Form_Activate() override;
    void Form_KeyDown(int& keyCode) override;
};

} // namespace fav
