#pragma once

#include <cstddef>
#include <string>

namespace fav {

// A controller for tests of the whole program: when FAVORIZER_TEST_PAD names a FIFO (on Windows,
// a file the test appends to), one SDL virtual controller follows the lines written to it, one
// command a line:
//   attach known | attach encoder    a pad SDL knows, or a 12-button encoder with 2 axes and
//                                    a hat that it does not
//   button N down | button N up
//   hat up | hat down | hat left | hat right | hat centred
//   axis N VALUE
//   detach
// A line it cannot read is ignored. Without the variable nothing of this exists.
class TestPad {
public:
    // An empty path: commands come only through Run.
    explicit TestPad(std::string fifoPath);
    ~TestPad();
    TestPad(const TestPad&) = delete;
    TestPad& operator=(const TestPad&) = delete;

    // Carries out the commands written since the last call.
    void Poll();
    // Carries out one command.
    void Run(const std::string& command);
    // The attached controller's GUID, as SDL writes it in a mapping line; empty when none.
    std::string Guid() const;

private:
    void Detach();

    std::string path_;
    int fd_ = -1;          // the FIFO, where there are FIFOs
    std::size_t read_ = 0; // elsewhere, how much of the file has been read
    std::string pending_;
    void* joystick_ = nullptr; // the virtual controller, while attached
};

} // namespace fav
