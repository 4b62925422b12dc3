#pragma once

#include <QtGlobal>
#include <memory>

class QAbstractNativeEventFilter;

namespace fav {

// Whether the key of the latest key-down message was already down, as Windows itself says in the
// message. Qt on Windows forgets a held key when another window takes the keyboard and reports
// its next repeat as a new press; this tells the two apart. Elsewhere it knows nothing (false).
class NativeKeyRepeat {
public:
    NativeKeyRepeat();
    ~NativeKeyRepeat();
    NativeKeyRepeat(const NativeKeyRepeat&) = delete;
    NativeKeyRepeat& operator=(const NativeKeyRepeat&) = delete;

    bool WasDown(quint32 nativeVirtualKey) const;

private:
    class Filter;
    std::unique_ptr<Filter> filter_;
};

} // namespace fav
