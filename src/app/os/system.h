#pragma once

#include <QString>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QLockFile;

// The Qt side of the system layer, beside the core's FileIo: what the program asks the system
// through Qt (mounted volumes, the single-copy lock, the environment) is asked here alone, so
// the windows above it only show and choose.

namespace fav {

// A path's bytes as text to show, and text back as a path's bytes.
QString PathText(const std::string& path);
std::string PathBytes(const QString& path);

// A variable of the environment as bytes, like every path here; empty when it is not set.
std::string EnvironmentValue(const char* name);

// A drive the drive picker offers: a mounted volume, or a drive of a Wine prefix.
struct Volume {
    std::string root; // its mount point, or the folder a Wine drive stands for
    QString name;     // shown beside the mount point when it says more
    bool ready = true;
    QString letter{}; // a Wine drive's letter ("c:"), shown in place of the root
};

// The mounted volumes, ready ones first, each group by mount point.
std::vector<Volume> MountedVolumes();

// The drives of the Wine prefix in `prefix` (empty: $WINEPREFIX, else ~/.wine), by letter: "c:"
// for its drive_c, and the others as its dosdevices folder names them. A drive whose folder is
// missing is not ready. No prefix, no drives.
std::vector<Volume> WineDrives(const std::string& prefix = {});

// What the drive picker offers: the mounted volumes, then the Wine drives.
std::vector<Volume> AvailableDrives();

// The drive that holds the path: on Windows its drive letter ("c:\"), elsewhere the mount point
// that holds it; empty when the path leads nowhere.
std::string DriveOf(const std::string& path);

// The mounted volume `root` is the root of; none when it is not a volume's root.
std::optional<Volume> VolumeAt(const std::string& root);

// True when the folder is there and its entries may be read.
bool FolderReadable(const std::string& folder);

// The single-copy lock's file in the program's folder.
inline constexpr const char* SingleCopyLockName = "favorizer.lock";

// Held from the first check until the program ends, so a later copy meets it.
class SingleCopyLock {
public:
    SingleCopyLock();
    ~SingleCopyLock();

    // True when another copy runs from the same program folder; otherwise this copy takes the
    // lock.
    bool AnotherCopyRunning(const std::string& programDir);

private:
    std::unique_ptr<QLockFile> lock_;
};

} // namespace fav
