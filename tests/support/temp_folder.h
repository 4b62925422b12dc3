#pragma once

#include <string>

namespace fav::test {

// A fresh folder under the system's temporary folder, removed with everything in it on
// destruction.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // In the form the program's folder pickers report, so stored and shown folders compare equal.
    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const;

private:
    std::string path_;
};

// Whole-file helpers for tests: bytes exactly as written.
void WriteBytes(const std::string& path, const std::string& bytes);
std::string ReadBytes(const std::string& path);
bool Exists(const std::string& path);

} // namespace fav::test
