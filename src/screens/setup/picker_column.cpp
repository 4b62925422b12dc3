#include "screens/setup/picker_column.h"

#include "app/controls.h"
#include "app/twips.h"
#include "core/os/native_path.h"
#include "core/textfile/files.h"
#include "screens/setup/marks.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QSignalBlocker>
#include <QStyle>
#include <algorithm>

namespace fav {

namespace {

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
    } else if (const std::optional<Volume> volume = VolumeAt(root)) {
        ready = volume->ready;
    } else {
        return MakeFailure(ErrorCode::InvalidPropertyValue, root);
    }
    if (!ready || !FolderReadable(root)) {
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
        QString text = PathText(volume.root);
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
        const QString name = depth == 0 ? PathText(folder) : PathText(LastPart(folder));
        auto* item = new QListWidgetItem(style->standardIcon(QStyle::SP_DirOpenIcon),
                                         QString(depth * 2, QLatin1Char(' ')) + name);
        item->setData(Qt::UserRole, QByteArray::fromStdString(folder));
        folderPicker_->addItem(item);
        ++depth;
    }
    const int currentRow = folderPicker_->count() - 1;
    const QString indent(depth * 2, QLatin1Char(' '));
    const std::string prefix = EndsWithSeparator(folder_) ? folder_ : folder_ + PathSeparator;
    std::vector<std::pair<QString, std::string>> children;
    for (std::string& child : SubfolderNames(folder_)) {
        children.emplace_back(PathText(child), std::move(child));
    }
    std::stable_sort(children.begin(), children.end(), [](const auto& a, const auto& b) {
        return a.first.compare(b.first, Qt::CaseInsensitive) < 0;
    });
    for (const auto& [text, child] : children) {
        auto* item =
            new QListWidgetItem(style->standardIcon(QStyle::SP_DirClosedIcon), indent + text);
        item->setData(Qt::UserRole, QByteArray::fromStdString(prefix + child));
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
