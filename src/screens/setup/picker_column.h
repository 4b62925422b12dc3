#pragma once

#include "app/os/system.h"
#include "core/errors/result.h"
#include "core/os/native_path.h"

#include <QObject>
#include <QString>
#include <functional>
#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QWidget;

namespace fav {

// Where a column's controls stand in the setup window and what it looks for.
struct ColumnDesign {
    const char* headingName;
    QString headingText;
    int headingLeft;
    const char* driveName;
    const char* folderName;
    int pickerLeft;
    const char* foundMarkName;
    const char* notFoundMarkName;
    int markLeft;
    const char* fileLabelName;
    QString fileLabelText;
    int fileLabelLeft;
    const char* statusName;
    int statusLeft;
    std::string fileName; // the file the column's folder should hold
};

// One column of the setup window: heading, drive picker, folder picker, the found and not-found
// marks, the file's name and its status. The folder picker's current folder is the column's path.
//
// Changing the drive or the folder, from code or by the user, runs the change handling at once:
// a new drive moves the folder picker to that drive's root (a folder change of its own), then the
// column's change handler runs. From code the outcome is returned; a failure of a user's change
// goes to the user-failure handler.
class PickerColumn final : public QObject {
    Q_OBJECT

public:
    using ChangeHandler = std::function<Status()>;
    using FailureHandler = std::function<void(const Failure&)>;

    PickerColumn(QWidget* form, const ColumnDesign& design, ChangeHandler onChange,
                 FailureHandler onUserFailure);

    const std::string& Drive() const { return drive_; }
    const std::string& Folder() const { return folder_; }
    const std::string& FileName() const { return fileName_; }

    // Refused with Invalid property value (380) when `root` is not a drive, with Device
    // unavailable (68) when the drive is not ready or cannot be listed; nothing changes then.
    Status SetDrive(const std::string& root);
    // Refused with Invalid property value (380) when `path` is not absolute, with Path not found
    // (76) when it is not a folder; nothing changes then.
    Status SetFolder(const std::string& path);
    // Moves to the folder as the user would: to its drive first, unless the current drive holds
    // it, then to the folder.
    Status MoveTo(const std::string& path);
    // True when SetDrive(DriveOf(path)) and SetFolder(path) would both be accepted.
    bool CanTake(const std::string& path) const;

    // Runs after each drive or folder the user chooses, once its change handling is done; its
    // failure goes to the user-failure handler.
    void SetUserChoiceHandler(ChangeHandler handler) { onUserChoice_ = std::move(handler); }

    // Shows the found or the not-found mark (never both) and the matching status text.
    void ShowFound(bool found);
    void HideFoundMark();
    bool FoundMarkShown() const;

    // The drives offered: AvailableDrives() unless replaced here. They are read again each time
    // the drive picker opens, so a stick plugged in later is offered.
    void SetVolumes(std::vector<Volume> volumes);
    void SetVolumeSource(std::function<std::vector<Volume>()> source);
    void RefreshDrives();

private:
    const Volume* FindVolume(const std::string& root) const;
    std::optional<Failure> CheckDrive(const std::string& root) const;
    void FillDrives();
    void SelectDrive(const std::string& root);
    void FillFolders();
    void UserChoseDrive(int index);
    void UserChoseFolder(QListWidgetItem* item);

    ChangeHandler onChange_;
    FailureHandler onUserFailure_;
    std::string fileName_;
    std::function<std::vector<Volume>()> volumeSource_;
    std::vector<Volume> volumes_;
    std::string drive_ = SystemRoot;
    std::string folder_ = SystemRoot;
    ChangeHandler onUserChoice_;

    QComboBox* drivePicker_;
    QListWidget* folderPicker_;
    QLabel* foundMark_;
    QLabel* notFoundMark_;
    QLabel* status_;
};

} // namespace fav
