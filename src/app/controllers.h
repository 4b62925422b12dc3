#pragma once

#include "core/errors/result.h"
#include "core/input/control_teaching.h"
#include "core/input/pad_keys.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

namespace fav {

class App;
class TestPad;

// The cabinet's game controllers, heard through SDL's game-controller layer in the GUI thread:
// no SDL window, polled from a timer. What they do reaches the program's windows as the cabinet's
// keys. The mappings of controllers taught on the program's own screen are read from
// controllers.txt at start; a line SDL cannot take is logged in favorlog.txt and left out.
//
// A controller SDL knows: d-pad and left stick are the joystick, Start is Player 1 Start, Back is
// the game-exit button, A and B are the action buttons. A joystick it does not know is taken as
// the common "zero delay" encoder is wired: hats and axes 0 and 1 are the joystick, button 9
// Player 1 Start, 8 game exit, 0 and 1 the action buttons.
class Controllers final : public QObject {
    Q_OBJECT

public:
    explicit Controllers(App& app, QObject* parent = nullptr);
    ~Controllers() override;
    Controllers(const Controllers&) = delete;
    Controllers& operator=(const Controllers&) = delete;

    // False where SDL's controller layer could not start: the keyboard alone works then.
    bool Listening() const { return listening_; }
    // The controllers plugged in now.
    int Count() const { return static_cast<int>(devices_.size()); }

    // Reads what the controllers did since the last call: the timer calls it, tests may too.
    void Poll();

    // Opens the controls screen to teach a controller (SDL's instance id) the cabinet's controls
    // from its own inputs; -1 for the next one whose button is pressed. Meanwhile no controller
    // sends keys. A controller that SDL has no mapping for is taught so by itself the first time
    // it is seen; leaving that teaching keeps the encoder's usual wiring as its mapping, so it
    // is not asked again.
    void Teach(int instance);
    bool Teaching() const { return lesson_.has_value(); }

private:
    struct Device;
    struct Lesson {
        int instance = -1;      // -1 until a controller's button is pressed
        bool hadMapping = true; // SDL or the file knew it before
        std::optional<ControlTeaching> teaching;
    };
    void Hear(int instance, const RawInput& input, std::int64_t now);
    void ShowLesson(ControlTeaching::Heard heard);
    void EndLesson();
    Status KeepMapping(int instance, const std::string& line);
    Device* Find(int instance) const;
    void Open(int deviceIndex);
    void Close(int instance);
    void SendLater(int arcadeKey, bool down, bool repeat);
    void Send(const PadKeys::Changes& changes);
    void LoadMappings();
    void Log(const Failure& failure);
    std::int64_t Now() const { return clock_.elapsed(); }

    App& app_;
    bool listening_ = false;
    QTimer timer_;
    QElapsedTimer clock_;
    std::int64_t lastActivity_ = 0;
    PadKeys keys_;
    std::map<int, std::unique_ptr<Device>> devices_; // by SDL's instance id
    std::unique_ptr<TestPad> testPad_;
    std::optional<Lesson> lesson_;
};

} // namespace fav
