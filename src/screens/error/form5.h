#pragma once

#include "app/form.h"

class QLabel;
class QPushButton;

namespace fav {

// The error screen: shows the failure being handled, explains the codes that point at the
// settings file or a drive, deletes a broken settings file and logs the error. ESC closes it.
class Form5 final : public Form {
    Q_OBJECT

public:
    explicit Form5(App& app);

    void Form_Load() override;
    void Command1_Click();

private:
    QLabel* label1_ = nullptr;
    QLabel* label2_ = nullptr;
    QLabel* label3_ = nullptr;
    QPushButton* command1_ = nullptr;
};

} // namespace fav
