#include "app/os/system.h"
#include "core/os/native_path.h"
#include "core/textfile/files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>
#include <algorithm>
#include <map>

namespace fav {

#ifdef _WIN32
QString PathText(const std::string& path) {
    // As the file layer takes the path: UTF-8, or the system's code page where it is not.
    return QString::fromStdWString(WidePath(path));
}

std::string PathBytes(const QString& path) {
    return QDir::toNativeSeparators(path).toStdString();
}
#else
QString PathText(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

std::string PathBytes(const QString& path) {
    return QFile::encodeName(path).toStdString();
}
#endif

std::string EnvironmentValue(const char* name) {
    return qgetenv(name).toStdString();
}

namespace {

// The drive a volume is offered as.
std::string VolumeRoot(const QStorageInfo& info) {
#ifdef _WIN32
    return RootOfPath(PathBytes(info.rootPath()));
#else
    return PathBytes(info.rootPath());
#endif
}

} // namespace

std::vector<Volume> MountedVolumes() {
    std::vector<Volume> volumes;
    for (const QStorageInfo& info : QStorageInfo::mountedVolumes()) {
        if (!info.isValid()) {
            continue;
        }
        Volume volume{VolumeRoot(info), info.name(), info.isReady()};
        if (volume.root.empty()) {
            continue;
        }
        if (volume.name.isEmpty()) {
            volume.name = QString::fromLatin1(info.fileSystemType());
        }
        const bool known = std::any_of(volumes.begin(), volumes.end(),
                                       [&](const Volume& v) { return v.root == volume.root; });
        if (!known) {
            volumes.push_back(std::move(volume));
        }
    }
    std::stable_sort(volumes.begin(), volumes.end(), [](const Volume& a, const Volume& b) {
        if (a.ready != b.ready) {
            return a.ready;
        }
        return a.root < b.root;
    });
    return volumes;
}

std::vector<Volume> WineDrives(const std::string& prefix) {
    std::string folder = prefix;
    if (folder.empty()) {
        folder = EnvironmentValue("WINEPREFIX");
    }
    if (folder.empty()) {
        const std::string home = EnvironmentValue("HOME");
        if (home.empty()) {
            return {};
        }
        folder = home + "/.wine";
    }
    // Wine itself takes only an absolute prefix.
    if (folder.front() != '/' || !IsFolder(folder)) {
        return {};
    }
    folder = NormaliseFolder(folder);

    std::map<QString, Volume> byLetter;
    auto add = [&byLetter](const QString& letter, const std::string& root) {
        const QFileInfo info(PathText(root));
        byLetter.emplace(letter, Volume{root, {}, info.isDir() && info.isReadable(), letter});
    };
    if (IsFolder(folder + "/drive_c")) {
        add(QStringLiteral("c:"), folder + "/drive_c");
    }
    // Every entry of dosdevices is a drive letter and a colon ("d:"), linked to the drive's
    // folder; the ones with two colons are devices, not folders.
    const QFileInfoList devices =
        QDir(PathText(folder + "/dosdevices"))
            .entryInfoList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QFileInfo& entry : devices) {
        const QString letter = entry.fileName().toLower();
        if (letter.size() != 2 || letter[1] != QLatin1Char(':') || letter[0] < QLatin1Char('a') ||
            letter[0] > QLatin1Char('z') || byLetter.contains(letter)) {
            continue;
        }
        const QString target = entry.isSymLink() ? entry.symLinkTarget() : entry.absoluteFilePath();
        if (target.isEmpty()) {
            continue;
        }
        add(letter, NormaliseFolder(PathBytes(target)));
    }
    std::vector<Volume> drives;
    for (auto& [letter, drive] : byLetter) {
        drives.push_back(std::move(drive));
    }
    return drives;
}

std::vector<Volume> AvailableDrives() {
    std::vector<Volume> drives = MountedVolumes();
#ifndef _WIN32
    std::vector<Volume> wine = WineDrives();
    drives.insert(drives.end(), std::make_move_iterator(wine.begin()),
                  std::make_move_iterator(wine.end()));
#endif
    return drives;
}

std::string DriveOf(const std::string& path) {
    if (path.empty() || path.find('\0') != std::string::npos) {
        return {};
    }
#ifdef _WIN32
    // A drive is a letter: the first three characters of the path.
    return RootOfPath(path);
#else
    const QStorageInfo info(PathText(path));
    return info.isValid() ? PathBytes(info.rootPath()) : std::string();
#endif
}

std::optional<Volume> VolumeAt(const std::string& root) {
    const QStorageInfo info(PathText(root));
    if (!info.isValid() || VolumeRoot(info) != root) {
        return std::nullopt;
    }
    return Volume{root, info.name(), info.isReady()};
}

bool FolderReadable(const std::string& folder) {
    const QDir top(PathText(folder));
    return top.exists() && top.isReadable();
}

} // namespace fav
