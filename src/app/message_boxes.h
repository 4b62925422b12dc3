#pragma once

#include <QString>

class QWidget;

namespace fav {

enum class MessageButtons { Ok, YesNo };
enum class MessageIcon { None, Critical };
enum class MessageAnswer { Ok, Yes, No };

// Every message box of the program goes through here, so tests can answer them.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    virtual MessageAnswer Show(const QString& text, const QString& caption, MessageButtons buttons,
                               MessageIcon icon) = 0;
};

// Modal boxes on the screen.
class ScreenMessageBoxes final : public MessageBoxes {
public:
    MessageAnswer Show(const QString& text, const QString& caption, MessageButtons buttons,
                       MessageIcon icon) override;
};

} // namespace fav
