#include "app/app.h"

#include "core/errors/error_log.h"

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QTime>

namespace fav {

namespace {

// A message box is a window of its own: while it is up a held key waits for its release, and
// when it closes the keyboard goes back to the screen below, since on a cabinet with no window
// manager nothing else gives it back.
class BoxesThatReturnTheKeyboard final : public MessageBoxes {
public:
    BoxesThatReturnTheKeyboard(MessageBoxes& boxes, WindowManager& windows)
        : boxes_(boxes), windows_(windows) {}

    MessageAnswer Show(const QString& text, const QString& caption, MessageButtons buttons,
                       MessageIcon icon) override {
        windows_.ScreenAppeared();
        const MessageAnswer answer = boxes_.Show(text, caption, buttons, icon);
        windows_.ScreenAppeared();
        windows_.GiveKeyboardToTop();
        return answer;
    }

private:
    MessageBoxes& boxes_;
    WindowManager& windows_;
};

} // namespace

App::App(AppEnvironment environment) : environment_(std::move(environment)) {
    windows_ = std::make_unique<WindowManager>([this](FormId id) { return CreateForm(*this, id); },
                                               environment_.endProgram);
    messages_ = std::make_unique<BoxesThatReturnTheKeyboard>(*environment_.messages, *windows_);
}

App::~App() = default;

void App::LogOnce(const Failure& failure) {
    if (logged_.insert(std::to_string(failure.code) + failure.description).second &&
        !ErrorLogHolds(programDir(), failure)) {
        // Only logged: the log itself failing must not stop what the line was about.
        (void)AppendErrorLog(programDir(), DateTimeText(), failure);
    }
}

std::string App::DateTimeText() const {
    if (environment_.dateTimeText) {
        return environment_.dateTimeText();
    }
    const QLocale locale = QLocale::system();
    const QString text = locale.toString(QDate::currentDate(), QLocale::ShortFormat) +
                         QLatin1Char(' ') +
                         locale.toString(QTime::currentTime(), QLocale::LongFormat);
    return text.toStdString();
}

VersionKeeping App::KeepingVersions() const {
    const QDateTime now = QDateTime::currentDateTime();
    const QDate date = now.date();
    const QTime time = now.time();
    return {environment_.programDir,
            {date.year(), date.month(), date.day(), time.hour(), time.minute(), time.second()}};
}

QString LocalTimeText(const LocalTime& time) {
    const QLocale locale = QLocale::system();
    return locale.toString(QDate(time.year, time.month, time.day), QLocale::ShortFormat) +
           QLatin1Char(' ') +
           locale.toString(QTime(time.hour, time.minute, time.second), QLocale::LongFormat);
}

void App::Start() {
    windows_->Show(FormId::Form1);
}

bool App::AnotherCopyRunning() {
    return singleCopyLock_.AnotherCopyRunning(environment_.programDir);
}

void App::ShowError(const Failure& failure) {
    if (windows_->IsLoaded(FormId::Form5)) {
        windows_->Show(FormId::Form5);
        return;
    }
    currentFailure_ = failure;
    windows_->Show(FormId::Form5);
}

} // namespace fav
