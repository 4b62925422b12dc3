#include "app/test_pad.h"

#define SDL_MAIN_HANDLED
#include <SDL.h>
#include <algorithm>
#include <cstdlib>
#include <sstream>

#ifdef _WIN32
#include <fstream>
#include <iterator>
#endif

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif

namespace fav {

namespace {

SDL_Joystick* Joystick(void* handle) {
    return static_cast<SDL_Joystick*>(handle);
}

// The virtual controller's description: a pad whose layout SDL maps by itself, or an encoder it
// has no mapping for.
SDL_VirtualJoystickDesc Description(bool known) {
    SDL_VirtualJoystickDesc description;
    SDL_zero(description);
    description.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    if (known) {
        description.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        description.naxes = SDL_CONTROLLER_AXIS_MAX;
        description.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        description.vendor_id = 0x045e;
        description.product_id = 0x028e;
        description.name = "Favorizer test pad";
    } else {
        description.type = SDL_JOYSTICK_TYPE_UNKNOWN;
        description.naxes = 2;
        description.nbuttons = 12;
        description.nhats = 1;
        description.vendor_id = 0x0079;
        description.product_id = 0x0006;
        description.name = "Favorizer test encoder";
    }
    return description;
}

Uint8 HatValue(const std::string& word) {
    if (word == "up") {
        return SDL_HAT_UP;
    }
    if (word == "down") {
        return SDL_HAT_DOWN;
    }
    if (word == "left") {
        return SDL_HAT_LEFT;
    }
    if (word == "right") {
        return SDL_HAT_RIGHT;
    }
    return SDL_HAT_CENTERED;
}

} // namespace

TestPad::TestPad(std::string fifoPath) : path_(std::move(fifoPath)) {
#ifndef _WIN32
    // Not blocking: the test writes when it likes, and the program never waits for it.
    if (!path_.empty()) {
        fd_ = ::open(path_.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    }
#endif
}

TestPad::~TestPad() {
    Detach();
#ifndef _WIN32
    if (fd_ >= 0) {
        ::close(fd_);
    }
#endif
}

void TestPad::Poll() {
#ifndef _WIN32
    if (fd_ < 0) {
        return;
    }
    char buffer[512];
    ssize_t got = 0;
    while ((got = ::read(fd_, buffer, sizeof buffer)) > 0) {
        pending_.append(buffer, static_cast<std::size_t>(got));
    }
#else
    // Windows has no FIFOs: the commands are appended to a file, read on from where the last
    // read stopped.
    if (path_.empty()) {
        return;
    }
    std::ifstream file(path_, std::ios::binary);
    if (!file.seekg(static_cast<std::streamoff>(read_))) {
        return;
    }
    const std::string added((std::istreambuf_iterator<char>(file)),
                            std::istreambuf_iterator<char>());
    read_ += added.size();
    pending_ += added;
#endif
    for (std::size_t end = pending_.find('\n'); end != std::string::npos;
         end = pending_.find('\n')) {
        const std::string command = pending_.substr(0, end);
        pending_.erase(0, end + 1);
        Run(command);
    }
}

void TestPad::Run(const std::string& command) {
    std::istringstream words(command);
    std::string verb;
    std::string what;
    words >> verb >> what;
    if (verb == "attach") {
        Detach();
        const SDL_VirtualJoystickDesc description = Description(what == "known");
        const int index = SDL_JoystickAttachVirtualEx(&description);
        joystick_ = index >= 0 ? SDL_JoystickOpen(index) : nullptr;
        return;
    }
    if (verb == "detach") {
        Detach();
        return;
    }
    if (joystick_ == nullptr) {
        return;
    }
    if (verb == "button") {
        std::string state;
        words >> state;
        SDL_JoystickSetVirtualButton(Joystick(joystick_), std::atoi(what.c_str()),
                                     state == "down" ? SDL_PRESSED : SDL_RELEASED);
    } else if (verb == "hat") {
        SDL_JoystickSetVirtualHat(Joystick(joystick_), 0, HatValue(what));
    } else if (verb == "axis") {
        int value = 0;
        words >> value;
        SDL_JoystickSetVirtualAxis(Joystick(joystick_), std::atoi(what.c_str()),
                                   static_cast<Sint16>(std::clamp(value, -32768, 32767)));
    }
}

std::string TestPad::Guid() const {
    if (joystick_ == nullptr) {
        return {};
    }
    char guid[33] = {};
    SDL_JoystickGetGUIDString(SDL_JoystickGetGUID(Joystick(joystick_)), guid, sizeof guid);
    return guid;
}

void TestPad::Detach() {
    if (joystick_ == nullptr) {
        return;
    }
    const SDL_JoystickID instance = SDL_JoystickInstanceID(Joystick(joystick_));
    SDL_JoystickClose(Joystick(joystick_));
    joystick_ = nullptr;
    for (int index = 0; index < SDL_NumJoysticks(); ++index) {
        if (SDL_JoystickGetDeviceInstanceID(index) == instance) {
            SDL_JoystickDetachVirtual(index);
            break;
        }
    }
}

} // namespace fav
