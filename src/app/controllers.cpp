#include "app/controllers.h"

#include "app/app.h"
#include "app/arcade_key.h"
#include "app/os/system.h"
#include "app/test_pad.h"
#include "core/errors/error_log.h"
#include "core/input/controller_mappings.h"
#include "screens/controls/controls_screen.h"

#define SDL_MAIN_HANDLED
#include <SDL.h>

namespace fav {

namespace {

// How often the controllers are read: once a frame at 60 Hz while one is in use, every other
// frame while they rest (a press then waits 33 ms at most), and only to notice one being plugged
// in while there is none. Each read wakes the program, which costs more than the read itself.
constexpr int ActivePollMs = 16;
constexpr int RestingPollMs = 33;
constexpr int IdlePollMs = 100;
// In use: something happened this recently.
constexpr std::int64_t ActiveForMs = 2000;

// Numbers of one controller's inputs, one range for each kind, as PadKeys wants them distinct.
constexpr int ButtonInput = 0;
constexpr int AxisInput = 100;
constexpr int HatInput = 200;

int ControllerButtonKey(Uint8 button) {
    switch (button) {
    case SDL_CONTROLLER_BUTTON_DPAD_UP:
        return ArcadeKey::Up;
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
        return ArcadeKey::Down;
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
        return ArcadeKey::Left;
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
        return ArcadeKey::Right;
    case SDL_CONTROLLER_BUTTON_START:
        return ArcadeKey::Player1Start;
    case SDL_CONTROLLER_BUTTON_BACK:
        return ArcadeKey::Escape;
    case SDL_CONTROLLER_BUTTON_A:
        return ArcadeKey::Ctrl;
    case SDL_CONTROLLER_BUTTON_B:
        return ArcadeKey::Alt;
    default:
        return 0;
    }
}

// The wiring of a "zero delay" encoder, which SDL has no mapping for.
int EncoderButtonKey(Uint8 button) {
    switch (button) {
    case 9:
        return ArcadeKey::Player1Start;
    case 8:
        return ArcadeKey::Escape;
    case 0:
        return ArcadeKey::Ctrl;
    case 1:
        return ArcadeKey::Alt;
    default:
        return 0;
    }
}

// The controller an input event comes from, -1 for other events.
int EventDevice(const SDL_Event& event) {
    switch (event.type) {
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
        return event.cbutton.which;
    case SDL_CONTROLLERAXISMOTION:
        return event.caxis.which;
    case SDL_JOYBUTTONDOWN:
    case SDL_JOYBUTTONUP:
        return event.jbutton.which;
    case SDL_JOYHATMOTION:
        return event.jhat.which;
    case SDL_JOYAXISMOTION:
        return event.jaxis.which;
    default:
        return -1;
    }
}

// What a controller did, as the device says it, for teaching; nothing for other events.
std::optional<RawInput> RawOf(const SDL_Event& event) {
    switch (event.type) {
    case SDL_JOYBUTTONDOWN:
    case SDL_JOYBUTTONUP:
        return RawInput{RawInput::Kind::Button, event.jbutton.button,
                        event.type == SDL_JOYBUTTONDOWN ? 1 : 0};
    case SDL_JOYHATMOTION:
        return RawInput{RawInput::Kind::Hat, event.jhat.hat, event.jhat.value};
    case SDL_JOYAXISMOTION:
        return RawInput{RawInput::Kind::Axis, event.jaxis.axis, event.jaxis.value};
    default:
        return std::nullopt;
    }
}

// The wiring of the common "zero delay" encoder, in SDL's words: what an encoder SDL does not
// know is heard as until it is taught otherwise.
const std::vector<TaughtInput> EncoderWiring = {
    {"dpup", "h0.1"}, {"dpdown", "h0.4"}, {"dpleft", "h0.8"}, {"dpright", "h0.2"}, {"leftx", "a0"},
    {"lefty", "a1"},  {"start", "b9"},    {"back", "b8"},     {"a", "b0"},         {"b", "b1"}};

int DeviceIndexOf(int instance) {
    for (int index = 0; index < SDL_NumJoysticks(); ++index) {
        if (SDL_JoystickGetDeviceInstanceID(index) == instance) {
            return index;
        }
    }
    return -1;
}

} // namespace

struct Controllers::Device {
    SDL_GameController* controller = nullptr; // when SDL knows it
    SDL_Joystick* joystick = nullptr;         // when it does not

    SDL_Joystick* Joystick() const {
        return controller != nullptr ? SDL_GameControllerGetJoystick(controller) : joystick;
    }

    ~Device() {
        if (controller != nullptr) {
            SDL_GameControllerClose(controller);
        }
        if (joystick != nullptr) {
            SDL_JoystickClose(joystick);
        }
    }
};

Controllers::Controllers(App& app, QObject* parent) : QObject(parent), app_(app) {
    // No window of SDL's own, so none to have the focus: every event counts. The program's own
    // signal handling stays as it is.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    listening_ = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
    if (!listening_) {
        return;
    }
    clock_.start();
    LoadMappings();
    if (const std::string fifo = EnvironmentValue("FAVORIZER_TEST_PAD"); !fifo.empty()) {
        testPad_ = std::make_unique<TestPad>(fifo);
    }
    app_.teachController = [this] { Teach(-1); };
    connect(&timer_, &QTimer::timeout, this, &Controllers::Poll);
    timer_.start(IdlePollMs);
}

Controllers::~Controllers() {
    timer_.stop();
    app_.teachController = nullptr;
    testPad_.reset();
    devices_.clear();
    if (listening_) {
        SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    }
}

void Controllers::LoadMappings() {
    auto mappings = ReadControllerMappings(app_.programDir());
    if (!mappings) {
        return Log(mappings.failure());
    }
    for (const std::string& line : mappings.value().broken) {
        Log(MakeFailure(ErrorCode::InvalidPropertyValue,
                        std::string(ControllerMappingsFileName) +
                            ": not a controller's mapping: " + line));
    }
    for (const std::string& line : mappings.value().lines) {
        if (SDL_GameControllerAddMapping(line.c_str()) < 0) {
            Log(MakeFailure(ErrorCode::InvalidPropertyValue,
                            std::string(ControllerMappingsFileName) + ": " + SDL_GetError() + ": " +
                                line));
        }
    }
}

void Controllers::Log(const Failure& failure) {
    // Logged only: a controller that does not work as taught shows itself, and the keyboard and
    // the other controllers go on working.
    (void)AppendErrorLog(app_.programDir(), app_.DateTimeText(), failure);
}

void Controllers::Open(int deviceIndex) {
    const int instance = SDL_JoystickGetDeviceInstanceID(deviceIndex);
    if (instance < 0 || devices_.contains(instance)) {
        return;
    }
    auto device = std::make_unique<Device>();
    if (SDL_IsGameController(deviceIndex)) {
        device->controller = SDL_GameControllerOpen(deviceIndex);
    }
    if (device->controller == nullptr) {
        device->joystick = SDL_JoystickOpen(deviceIndex);
        if (device->joystick == nullptr) {
            return;
        }
    }
    const bool unknown = device->controller == nullptr;
    devices_[instance] = std::move(device);
    if (unknown && !lesson_) {
        // Seen for the first time: it works by the encoder's wiring, and is asked to be taught.
        Teach(instance);
        lesson_->hadMapping = false;
    }
}

Controllers::Device* Controllers::Find(int instance) const {
    const auto device = devices_.find(instance);
    return device != devices_.end() ? device->second.get() : nullptr;
}

void Controllers::Teach(int instance) {
    if (!listening_) {
        return;
    }
    // Whatever a controller held goes up: the screen takes the controllers' raw inputs.
    Send(keys_.ReleaseAll());
    lesson_ = Lesson{};
    app_.windows().Show(FormId::Controls);
    if (auto* screen = app_.windows().Get<ControlsScreen>(FormId::Controls)) {
        screen->onLeave = [this] {
            if (lesson_) {
                lesson_->teaching.reset();
                EndLesson();
            }
        };
    }
    if (instance >= 0 && devices_.contains(instance)) {
        lesson_->instance = instance;
        SDL_Joystick* joystick = Find(instance)->Joystick();
        std::vector<int> rest;
        for (int axis = 0; axis < SDL_JoystickNumAxes(joystick); ++axis) {
            Sint16 state = 0;
            SDL_JoystickGetAxisInitialState(joystick, axis, &state);
            rest.push_back(state);
        }
        lesson_->teaching.emplace(std::move(rest));
    }
    ShowLesson(ControlTeaching::Heard::Nothing);
}

void Controllers::Hear(int instance, const RawInput& input, std::int64_t now) {
    if (lesson_->instance < 0) {
        // The controller whose button is pressed first is the one taught; that press teaches
        // nothing.
        if (input.kind == RawInput::Kind::Button && input.value != 0) {
            Teach(instance);
        }
        return;
    }
    if (instance != lesson_->instance || !lesson_->teaching) {
        return;
    }
    ShowLesson(lesson_->teaching->Hear(input, now));
}

void Controllers::ShowLesson(ControlTeaching::Heard heard) {
    auto* screen = app_.windows().Get<ControlsScreen>(FormId::Controls);
    if (screen == nullptr) {
        return;
    }
    if (!lesson_->teaching) {
        return screen->ShowChoosing();
    }
    const Device* device = Find(lesson_->instance);
    const char* name = device != nullptr ? SDL_JoystickName(device->Joystick()) : nullptr;
    screen->ShowTeaching(QString::fromUtf8(name != nullptr ? name : ""), *lesson_->teaching, heard);
}

void Controllers::EndLesson() {
    const Lesson lesson = std::move(*lesson_);
    lesson_.reset();
    app_.windows().Unload(FormId::Controls);
    const Device* device = Find(lesson.instance);
    if (device == nullptr) {
        return;
    }
    SDL_Joystick* joystick = device->Joystick();
    std::string line;
    char guid[33] = {};
    SDL_JoystickGetGUIDString(SDL_JoystickGetGUID(joystick), guid, sizeof guid);
    const char* name = SDL_JoystickName(joystick);
    if (lesson.teaching && lesson.teaching->step() == ControlTeaching::Step::Done) {
        line = MakeMappingLine(guid, name != nullptr ? name : "", lesson.teaching->Taught());
    } else if (!lesson.hadMapping) {
        // Left untaught: it keeps the wiring it was heard by, and is not asked again.
        line = MakeMappingLine(guid, name != nullptr ? name : "", EncoderWiring);
    } else {
        return;
    }
    if (const Status kept = KeepMapping(lesson.instance, line); !kept) {
        Log(kept.failure());
        app_.ShowError(kept.failure());
    }
}

Status Controllers::KeepMapping(int instance, const std::string& line) {
    if (const Status stored = StoreControllerMapping(app_.programDir(), line); !stored) {
        return stored;
    }
    if (SDL_GameControllerAddMapping(line.c_str()) < 0) {
        return MakeFailure(ErrorCode::InvalidPropertyValue,
                           std::string(ControllerMappingsFileName) + ": " + SDL_GetError());
    }
    // Heard by its new mapping at once: opened again as a controller SDL knows.
    devices_.erase(instance);
    Send(keys_.Detach(instance));
    if (const int index = DeviceIndexOf(instance); index >= 0) {
        Open(index);
    }
    return {};
}

void Controllers::Close(int instance) {
    Send(keys_.Detach(instance));
    devices_.erase(instance);
    if (lesson_ && lesson_->instance == instance) {
        // Unplugged while being taught: nothing is kept.
        lesson_.reset();
        app_.windows().Unload(FormId::Controls);
    }
}

void Controllers::Send(const PadKeys::Changes& changes) {
    for (const PadKeys::Change& change : changes) {
        SendLater(change.arcadeKey, change.down, false);
    }
}

void Controllers::SendLater(int arcadeKey, bool down, bool repeat) {
    // Not from inside the poll: a key that opens a question waits for its answer, and the
    // toolkit does not run this timer again until the poll it is in returns, so the controller
    // would go deaf at the very moment it is asked something.
    QMetaObject::invokeMethod(
        this, [this, arcadeKey, down, repeat] { app_.windows().SendKey(arcadeKey, down, repeat); },
        Qt::QueuedConnection);
}

void Controllers::Poll() {
    if (!listening_) {
        return;
    }
    if (testPad_) {
        testPad_->Poll();
    }
    SDL_Event event;
    while (SDL_PollEvent(&event) != 0) {
        const std::int64_t now = Now();
        lastActivity_ = now;
        switch (event.type) {
        case SDL_JOYDEVICEADDED:
            Open(event.jdevice.which);
            break;
        case SDL_JOYDEVICEREMOVED:
            Close(event.jdevice.which);
            break;
        default:
            break;
        }
        // Each controller is heard one way: as SDL maps it, or by the encoder's wiring.
        const auto device = devices_.find(EventDevice(event));
        if (device == devices_.end()) {
            continue;
        }
        if (lesson_) {
            // Teaching: the screen hears the controller's own inputs, and nothing sends keys.
            if (const auto raw = RawOf(event)) {
                Hear(device->first, *raw, now);
            }
            continue;
        }
        const int which = device->first;
        const bool mapped = device->second->controller != nullptr;
        switch (event.type) {
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP:
            Send(keys_.Digital(which, ButtonInput + event.cbutton.button,
                               ControllerButtonKey(event.cbutton.button),
                               event.type == SDL_CONTROLLERBUTTONDOWN, now));
            break;
        case SDL_CONTROLLERAXISMOTION:
            if (event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTX) {
                Send(keys_.Axis(which, AxisInput, event.caxis.value, ArcadeKey::Left,
                                ArcadeKey::Right, now));
            } else if (event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTY) {
                Send(keys_.Axis(which, AxisInput + 1, event.caxis.value, ArcadeKey::Up,
                                ArcadeKey::Down, now));
            }
            break;
        case SDL_JOYBUTTONDOWN:
        case SDL_JOYBUTTONUP:
            if (!mapped) {
                Send(keys_.Digital(which, ButtonInput + event.jbutton.button,
                                   EncoderButtonKey(event.jbutton.button),
                                   event.type == SDL_JOYBUTTONDOWN, now));
            }
            break;
        case SDL_JOYHATMOTION:
            if (!mapped) {
                // Each direction on its own: a diagonal holds two.
                constexpr std::pair<Uint8, int> Directions[] = {{SDL_HAT_UP, ArcadeKey::Up},
                                                                {SDL_HAT_DOWN, ArcadeKey::Down},
                                                                {SDL_HAT_LEFT, ArcadeKey::Left},
                                                                {SDL_HAT_RIGHT, ArcadeKey::Right}};
                int direction = 0;
                for (const auto& [bit, key] : Directions) {
                    Send(keys_.Digital(which, HatInput + 4 * event.jhat.hat + direction++, key,
                                       (event.jhat.value & bit) != 0, now));
                }
            }
            break;
        case SDL_JOYAXISMOTION:
            if (!mapped && event.jaxis.axis < 2) {
                const bool across = event.jaxis.axis == 0;
                Send(keys_.Axis(which, AxisInput + event.jaxis.axis, event.jaxis.value,
                                across ? ArcadeKey::Left : ArcadeKey::Up,
                                across ? ArcadeKey::Right : ArcadeKey::Down, now));
            }
            break;
        default:
            break;
        }
    }
    if (lesson_ && lesson_->teaching) {
        lesson_->teaching->Tick(Now());
        if (lesson_->teaching->Finished()) {
            EndLesson();
        }
    }
    // A held direction repeats on time too.
    const bool inUse = Now() - lastActivity_ < ActiveForMs || keys_.NextRepeat().has_value();
    const int interval = devices_.empty() ? IdlePollMs : inUse ? ActivePollMs : RestingPollMs;
    if (timer_.interval() != interval) {
        timer_.setInterval(interval);
    }
    for (const int key : keys_.DueRepeats(Now())) {
        SendLater(key, true, true);
    }
}

} // namespace fav
