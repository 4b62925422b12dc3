#include "app/native_key_repeat.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace fav {

class NativeKeyRepeat::Filter final : public QAbstractNativeEventFilter {
public:
    bool nativeEventFilter(const QByteArray& type, void* message, qintptr* result) override {
        Q_UNUSED(type);
        Q_UNUSED(result);
#ifdef Q_OS_WIN
        const MSG* msg = static_cast<const MSG*>(message);
        if (msg->message == WM_KEYDOWN || msg->message == WM_SYSKEYDOWN) {
            key = static_cast<quint32>(msg->wParam);
            // Bit 30: the key was down before this message.
            wasDown = (msg->lParam & (LPARAM{1} << 30)) != 0;
        }
#else
        Q_UNUSED(message);
#endif
        return false;
    }

    quint32 key = 0;
    bool wasDown = false;
};

NativeKeyRepeat::NativeKeyRepeat() {
#ifdef Q_OS_WIN
    filter_ = std::make_unique<Filter>();
    QCoreApplication::instance()->installNativeEventFilter(filter_.get());
#endif
}

NativeKeyRepeat::~NativeKeyRepeat() {
    if (filter_ != nullptr && QCoreApplication::instance() != nullptr) {
        QCoreApplication::instance()->removeNativeEventFilter(filter_.get());
    }
}

bool NativeKeyRepeat::WasDown(quint32 nativeVirtualKey) const {
    return filter_ != nullptr && filter_->key == nativeVirtualKey && filter_->wasDown;
}

} // namespace fav
