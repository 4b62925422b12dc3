#include "screens/setup/picker_column.h"

#include "app/controls.h"
#include "app/twips.h"
#include "core/os/native_path.h"
#include "core/textfile/files.h"
#include "screens/setup/marks.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QSignalBlocker>
#include <QStorageInfo>
#include <QStringDecoder>
#include <QStyle>
#include <algorithm>
#include <map>

namespace fav {

namespace {

#ifdef _WIN32
// The file layer takes paths as UTF-8, and in the system's code page where they are not UTF-8.
QString FromBytes(const std::string& path) {
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(QByteArrayView(path.data(), static_cast<qsizetype>(path.size())));
    return utf8.hasError() ? QString::fromLocal8Bit(path) : text;
}

std::string ToBytes(const QString& path) {
    return QDir::toNativeSeparators(path).toStdString();
}
#else
QString FromBytes(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

std::string ToBytes(const QString& path) {
    return QFile::encodeName(path).toStdString();
}
#endif

#ifdef _WIN32
// The design's folder tree: hidden and system folders are left out.
constexpr QDir::Filters FolderFilter = QDir::Dirs | QDir::NoDotAndDotDot;
#else
// Every folder, dot-folders too: a launcher often lives in a Wine prefix (~/.wine/drive_c/...).
constexpr QDir::Filters FolderFilter = QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot;
#endif

// The drive a volume is offered as.
std::string VolumeRoot(const QStorageInfo& info) {
#ifdef _WIN32
    return RootOfPath(ToBytes(info.rootPath()));
#else
    return ToBytes(info.rootPath());
#endif
}

bool EndsWithSeparator(const std::string& path) {
    return !path.empty() && path.back() == PathSeparator;
}

bool IsUnder(const std::string& path, const std::string& root) {
    return path == root || path.starts_with(EndsWithSeparator(root) ? root : root + PathSeparator);
}

std::string LastPart(const std::string& path) {
    return path.substr(path.find_last_of(PathSeparators) + 1);
}

// The folders from `top` down to `folder`, both included.
std::vector<std::string> FolderChain(const std::string& top, const std::string& folder) {
    std::vector<std::string> chain{top};
    std::string current = top;
    std::size_t start = EndsWithSeparator(top) ? top.size() : top.size() + 1;
    while (start < folder.size()) {
        const std::size_t end =
            std::min(folder.find_first_of(PathSeparators, start), folder.size());
        current = folder.substr(0, end);
        chain.push_back(current);
        start = end + 1;
    }
    return chain;
}

// A drive picker that reads the drives again each time it opens.
class DriveBox final : public QComboBox {
public:
    using QComboBox::QComboBox;
    std::function<void()> beforeOpening;

    void showPopup() override {
        if (beforeOpening) {
            beforeOpening();
        }
        QComboBox::showPopup();
    }
};

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
    // Paths from the environment are bytes, like every other path here.
    if (folder.empty()) {
        folder = qgetenv("WINEPREFIX").toStdString();
    }
    if (folder.empty()) {
        const std::string home = qgetenv("HOME").toStdString();
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
        const QFileInfo info(FromBytes(root));
        byLetter.emplace(letter, Volume{root, {}, info.isDir() && info.isReadable(), letter});
    };
    if (IsFolder(folder + "/drive_c")) {
        add(QStringLiteral("c:"), folder + "/drive_c");
    }
    // Every entry of dosdevices is a drive letter and a colon ("d:"), linked to the drive's
    // folder; the ones with two colons are devices, not folders.
    const QFileInfoList devices =
        QDir(FromBytes(folder + "/dosdevices"))
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
        add(letter, NormaliseFolder(ToBytes(target)));
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
    const QStorageInfo info(FromBytes(path));
    return info.isValid() ? ToBytes(info.rootPath()) : std::string();
#endif
}

PickerColumn::PickerColumn(QWidget* form, const ColumnDesign& design, ChangeHandler onChange,
                           FailureHandler onUserFailure)
    : QObject(form), onChange_(std::move(onChange)), onUserFailure_(std::move(onUserFailure)),
      fileName_(design.fileName) {
    MakeLabel(form, design.headingName, design.headingText, design.headingLeft, 960, 1815, 255);

    auto* drivePicker = new DriveBox(form);
    drivePicker->beforeOpening = [this] { RefreshDrives(); };
    drivePicker_ = drivePicker;
    drivePicker_->setObjectName(QString::fromLatin1(design.driveName));
    PlaceTwips(drivePicker_, design.pickerLeft, 1200, 2655, 315);

    folderPicker_ = new QListWidget(form);
    folderPicker_->setObjectName(QString::fromLatin1(design.folderName));
    PlaceTwips(folderPicker_, design.pickerLeft, 1560, 2655, 3015);

    foundMark_ = MakeLabel(form, design.foundMarkName, {}, design.markLeft, 4680, 360, 360);
    foundMark_->setPixmap(FoundMarkPicture());
    foundMark_->setScaledContents(true);
    notFoundMark_ = MakeLabel(form, design.notFoundMarkName, {}, design.markLeft, 4680, 360, 360);
    notFoundMark_->setPixmap(NotFoundMarkPicture());
    notFoundMark_->setScaledContents(true);

    MakeLabel(form, design.fileLabelName, design.fileLabelText, design.fileLabelLeft, 5160,
              design.statusLeft - design.fileLabelLeft - 30, 255)
        ->setWordWrap(false);
    status_ = MakeLabel(form, design.statusName, QStringLiteral("Found!"), design.statusLeft, 5160,
                        1335, 255);
    status_->setWordWrap(false);

    volumeSource_ = AvailableDrives;
    RefreshDrives();
    FillFolders();

    connect(drivePicker_, &QComboBox::activated, this, &PickerColumn::UserChoseDrive);
    connect(folderPicker_, &QListWidget::itemActivated, this, &PickerColumn::UserChoseFolder);
}

const Volume* PickerColumn::FindVolume(const std::string& root) const {
    auto found = std::find_if(volumes_.begin(), volumes_.end(),
                              [&](const Volume& v) { return v.root == root; });
    return found == volumes_.end() ? nullptr : &*found;
}

std::optional<Failure> PickerColumn::CheckDrive(const std::string& root) const {
    if (!IsAbsolutePath(root) || root.find('\0') != std::string::npos) {
        return MakeFailure(ErrorCode::InvalidPropertyValue, root);
    }
    bool ready = false;
    if (const Volume* volume = FindVolume(root)) {
        ready = volume->ready;
    } else {
        const QStorageInfo info(FromBytes(root));
        if (!info.isValid() || VolumeRoot(info) != root) {
            return MakeFailure(ErrorCode::InvalidPropertyValue, root);
        }
        ready = info.isReady();
    }
    const QDir top(FromBytes(root));
    if (!ready || !top.exists() || !top.isReadable()) {
        return MakeFailure(ErrorCode::DeviceUnavailable, root);
    }
    return std::nullopt;
}

bool PickerColumn::CanTake(const std::string& path) const {
    if (!IsAbsolutePath(path) || path.find('\0') != std::string::npos ||
        !IsFolder(NormaliseFolder(path))) {
        return false;
    }
    return !CheckDrive(DriveOf(path)).has_value();
}

Status PickerColumn::SetDrive(const std::string& root) {
    if (auto refused = CheckDrive(root)) {
        return *refused;
    }
    if (root == drive_) {
        return {};
    }
    if (FindVolume(root) == nullptr) {
        volumes_.push_back(Volume{root, {}, true});
        FillDrives();
    }
    drive_ = root;
    SelectDrive(drive_);
    if (auto moved = SetFolder(root); !moved) {
        return moved;
    }
    return onChange_();
}

Status PickerColumn::SetFolder(const std::string& path) {
    if (!IsAbsolutePath(path) || path.find('\0') != std::string::npos) {
        return MakeFailure(ErrorCode::InvalidPropertyValue, path);
    }
    std::string folder = NormaliseFolder(path);
    // A ".." after a link leads where the system says, not where the text does: when the two
    // are different folders, the system's is taken.
    const FileIo& io = SystemFileIo();
    if (std::string physical, textual;
        io.RealPath(path, physical) == OsError::None &&
        (io.RealPath(folder, textual) != OsError::None || textual != physical)) {
        folder = physical;
    }
    if (!IsFolder(folder)) {
        return MakeFailure(ErrorCode::PathNotFound, path);
    }
    if (folder == folder_) {
        return {};
    }
    folder_ = folder;
    FillFolders();
    return onChange_();
}

Status PickerColumn::MoveTo(const std::string& path) {
    const std::string folder = NormaliseFolder(path);
    if (!IsUnder(folder, drive_)) {
        if (Status moved = SetDrive(DriveOf(folder)); !moved) {
            return moved;
        }
    }
    return SetFolder(folder);
}

void PickerColumn::ShowFound(bool found) {
    foundMark_->setVisible(found);
    notFoundMark_->setVisible(!found);
    status_->setText(found ? QStringLiteral("Found!!") : QStringLiteral("Not Found!"));
}

void PickerColumn::HideFoundMark() {
    foundMark_->hide();
}

bool PickerColumn::FoundMarkShown() const {
    return !foundMark_->isHidden();
}

void PickerColumn::SetVolumes(std::vector<Volume> volumes) {
    SetVolumeSource([volumes = std::move(volumes)] { return volumes; });
}

void PickerColumn::SetVolumeSource(std::function<std::vector<Volume>()> source) {
    volumeSource_ = std::move(source);
    RefreshDrives();
}

void PickerColumn::RefreshDrives() {
    volumes_ = volumeSource_();
    // The drive the folder picker is on is offered whatever the source says, so the picker
    // always shows where it stands.
    if (FindVolume(drive_) == nullptr) {
        volumes_.insert(volumes_.begin(), Volume{drive_, {}, true});
    }
    FillDrives();
}

void PickerColumn::FillDrives() {
    const QSignalBlocker quiet(drivePicker_);
    drivePicker_->clear();
    const QIcon icon = QApplication::style()->standardIcon(QStyle::SP_DriveHDIcon);
    for (const Volume& volume : volumes_) {
        QString text = FromBytes(volume.root);
        if (!volume.letter.isEmpty()) {
            text = volume.letter + QStringLiteral("  [") + text + QLatin1Char(']');
        } else if (!volume.name.isEmpty() && volume.name != text) {
            text += QStringLiteral("  [") + volume.name + QLatin1Char(']');
        }
        drivePicker_->addItem(icon, text, QByteArray::fromStdString(volume.root));
    }
    SelectDrive(drive_);
}

void PickerColumn::SelectDrive(const std::string& root) {
    const QSignalBlocker quiet(drivePicker_);
    drivePicker_->setCurrentIndex(drivePicker_->findData(QByteArray::fromStdString(root)));
}

void PickerColumn::FillFolders() {
    const QSignalBlocker quiet(folderPicker_);
    folderPicker_->clear();
    QStyle* style = QApplication::style();
    const std::string top = IsUnder(folder_, drive_) ? drive_ : RootOfPath(folder_);
    const std::vector<std::string> chain = FolderChain(top, folder_);
    int depth = 0;
    for (const std::string& folder : chain) {
        const QString name = depth == 0 ? FromBytes(folder) : FromBytes(LastPart(folder));
        auto* item = new QListWidgetItem(style->standardIcon(QStyle::SP_DirOpenIcon),
                                         QString(depth * 2, QLatin1Char(' ')) + name);
        item->setData(Qt::UserRole, QByteArray::fromStdString(folder));
        folderPicker_->addItem(item);
        ++depth;
    }
    const int currentRow = folderPicker_->count() - 1;
    const QString indent(depth * 2, QLatin1Char(' '));
    const std::string prefix = EndsWithSeparator(folder_) ? folder_ : folder_ + PathSeparator;
    const QStringList children =
        QDir(FromBytes(folder_)).entryList(FolderFilter, QDir::Name | QDir::IgnoreCase);
    for (const QString& child : children) {
        auto* item =
            new QListWidgetItem(style->standardIcon(QStyle::SP_DirClosedIcon), indent + child);
        item->setData(Qt::UserRole, QByteArray::fromStdString(prefix + ToBytes(child)));
        folderPicker_->addItem(item);
    }
    folderPicker_->setCurrentRow(currentRow);
}

void PickerColumn::UserChoseDrive(int index) {
    const std::string root = drivePicker_->itemData(index).toByteArray().toStdString();
    if (root == drive_) {
        return;
    }
    Status changed = SetDrive(root);
    // A refused drive leaves the picker on the drive its folder is on.
    SelectDrive(drive_);
    if (changed && onUserChoice_) {
        changed = onUserChoice_();
    }
    if (!changed) {
        onUserFailure_(changed.failure());
    }
}

void PickerColumn::UserChoseFolder(QListWidgetItem* item) {
    const std::string folder = item->data(Qt::UserRole).toByteArray().toStdString();
    if (folder == folder_ || !IsFolder(folder)) {
        // The current folder chosen again, or one gone since the list was filled: show what is
        // there now.
        FillFolders();
        return;
    }
    Status changed = SetFolder(folder);
    if (changed && onUserChoice_) {
        changed = onUserChoice_();
    }
    if (!changed) {
        onUserFailure_(changed.failure());
    }
}

} // namespace fav
