#include "app/app.h"

#include <QCryptographicHash>
#include <QDate>
#include <QDir>
#include <QLocale>
#include <QTime>

namespace fav {

App::App(AppEnvironment environment) : environment_(std::move(environment)) {
    windows_ = std::make_unique<WindowManager>([this](FormId id) { return CreateForm(*this, id); },
                                               environment_.endProgram);
}

App::~App() = default;

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

void App::Start() {
    windows_->Show(FormId::Form1);
}

bool App::AnotherCopyRunning() {
    if (singleCopyLock_) {
        return false;
    }
    // The user's runtime folder when the session has one (asking Qt without it only warns).
    QString folder = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (folder.isEmpty() || !QDir(folder).exists()) {
        folder = QDir::tempPath();
    }
    const QByteArray key =
        QCryptographicHash::hash(QByteArray::fromStdString(environment_.programDir),
                                 QCryptographicHash::Sha1)
            .toHex()
            .left(16);
    auto lock = std::make_unique<QLockFile>(folder + QStringLiteral("/favorizer-") +
                                            QString::fromLatin1(key) + QStringLiteral(".lock"));
    // Only a lock held by a live process counts; one left by a crashed copy is taken over.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0)) {
        return lock->error() == QLockFile::LockFailedError;
    }
    singleCopyLock_ = std::move(lock);
    return false;
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
