#include "app/window_manager.h"

#include "app/arcade_key.h"
#include "app/looks.h"
#include "app/twips.h"

#include <QApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QWindow>
#include <algorithm>

namespace fav {

namespace {

// Raising is a request to a window system; the offscreen one used by tests has none to ask.
// Activation is asked for even when the toolkit believes the window active already: after a
// message box closes without a window manager, the window system's focus has fallen to the root
// window while the toolkit has not heard of it yet.
void RaiseAndActivate(QWidget* window) {
    if (QGuiApplication::platformName() != QLatin1String("offscreen")) {
        window->raise();
    }
    if (QWindow* handle = window->windowHandle(); handle != nullptr && window->isVisible()) {
        handle->requestActivate();
    } else {
        window->activateWindow();
    }
}

// The control of the window that should have the keyboard: the one that last had it there.
void FocusControl(QWidget* window) {
    QWidget* control = window->focusWidget();
    if (control != nullptr && control->isEnabled() && control->isVisible()) {
        control->setFocus();
    } else {
        window->setFocus();
    }
}

// The cabinet's controls: the joystick, Player 1 Start, ESC and the two action buttons.
bool IsCabinetKey(int arcadeKey) {
    switch (arcadeKey) {
    case ArcadeKey::Left:
    case ArcadeKey::Up:
    case ArcadeKey::Right:
    case ArcadeKey::Down:
    case ArcadeKey::Player1Start:
    case ArcadeKey::Escape:
    case ArcadeKey::Ctrl:
    case ArcadeKey::Alt:
        return true;
    default:
        return false;
    }
}

// One physical key: the window system's key code where there is one (a press and its release
// share it whatever the modifiers make of the key), else the toolkit's key.
int KeyIdentity(const QKeyEvent& event) {
    const quint32 scanCode = event.nativeScanCode();
    return scanCode != 0 ? -static_cast<int>(scanCode & 0xFFFFFF) : event.key();
}

QRect AvailableArea(const QWidget* window) {
    const QScreen* screen = window->screen();
    if (screen == nullptr) {
        screen = QGuiApplication::primaryScreen();
    }
    return screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 640, 480);
}

// The scale of a window that does not fill its screen.
double WindowedScaleOf(const QWidget* window) {
    const QScreen* screen = window->screen();
    if (screen == nullptr) {
        screen = QGuiApplication::primaryScreen();
    }
    return screen != nullptr ? WindowedScale(screen->geometry().height()) : 1.0;
}

// Maximising is a request to the window manager too, and a cabinet often runs none: the window
// takes the screen's free area itself, and a window manager that is there maximises it as usual.
void ShowMaximised(Form* window) {
    if (!window->isMaximized() || !window->isVisible()) {
        window->FitFullScreen(AvailableArea(window));
    }
    window->setWindowState(window->windowState() | Qt::WindowMaximized);
    window->showMaximized();
}

// The small windows that come up over the full-screen ones.
bool IsSmallWindow(FormId id) {
    return id == FormId::Form5 || id == FormId::Form6 || id == FormId::Controls;
}

} // namespace

WindowManager::WindowManager(Factory factory, std::function<void()> endProgram)
    : factory_(std::move(factory)), endProgram_(std::move(endProgram)) {
    qApp->installEventFilter(this);
}

WindowManager::~WindowManager() {
    qApp->removeEventFilter(this);
    for (auto& [id, form] : loaded_) {
        delete form.data();
    }
}

Form* WindowManager::Load(FormId id) {
    if (Form* form = Find(id)) {
        return form;
    }
    QPointer<Form> form = factory_(id);
    loaded_[id] = form;
    loadOrder_.push_back(id);
    loading_.insert(id);
    form->Form_Load();
    loading_.erase(id);
    return IsLoaded(id) ? form.data() : nullptr;
}

void WindowManager::Show(FormId id) {
    const bool wasLoaded = IsLoaded(id);
    hiddenWhileLoading_.erase(id);
    Form* form = Load(id);
    if (form == nullptr || (!wasLoaded && hiddenWhileLoading_.count(id) > 0)) {
        hiddenWhileLoading_.erase(id);
        return;
    }
    RemoveFromVisible(id);
    visible_.push_back(id);
    if (IsMaximised(id)) {
        ShowMaximised(form);
        TakeFullScreenScale(form->scale());
    } else {
        if (!form->isVisible()) {
            // In full screen the small windows come at the scale of the screens they stand over.
            const bool overFullScreen = !maximised_.empty() && IsSmallWindow(id);
            form->FitWindow(AvailableArea(form), overFullScreen && fullScreenScale_ > 0
                                                     ? fullScreenScale_
                                                     : WindowedScaleOf(form));
        }
        form->show();
    }
    RaiseAndActivate(form);
    FocusControl(form);
    ActivateTop();
}

void WindowManager::Hide(FormId id) {
    Form* form = Find(id);
    if (form == nullptr) {
        return;
    }
    if (loading_.count(id) > 0) {
        hiddenWhileLoading_.insert(id);
    }
    const bool wasTop = !visible_.empty() && visible_.back() == id;
    RemoveFromVisible(id);
    form->hide();
    if (wasTop) {
        ActivateTop();
    }
}

void WindowManager::Unload(FormId id) {
    auto found = loaded_.find(id);
    if (found == loaded_.end()) {
        return;
    }
    QPointer<Form> form = found->second;
    loaded_.erase(found);
    loadOrder_.erase(std::remove(loadOrder_.begin(), loadOrder_.end(), id), loadOrder_.end());
    const bool wasTop = !visible_.empty() && visible_.back() == id;
    RemoveFromVisible(id);
    if (form) {
        form->hide();
        // The window may be unloading itself from inside one of its own handlers.
        form->deleteLater();
    }
    if (wasTop) {
        ActivateTop();
    }
    EndIfNothingLoaded();
}

void WindowManager::UnloadAll() {
    while (!loadOrder_.empty()) {
        Unload(loadOrder_.back());
    }
    EndIfNothingLoaded();
}

bool WindowManager::IsLoaded(FormId id) const {
    auto found = loaded_.find(id);
    return found != loaded_.end() && !found->second.isNull();
}

bool WindowManager::IsVisible(FormId id) const {
    return std::find(visible_.begin(), visible_.end(), id) != visible_.end();
}

Form* WindowManager::Find(FormId id) const {
    auto found = loaded_.find(id);
    return found == loaded_.end() ? nullptr : found->second.data();
}

std::vector<FormId> WindowManager::LoadedForms() const {
    return loadOrder_;
}

Form* WindowManager::ActiveForm() const {
    return visible_.empty() ? nullptr : Find(visible_.back());
}

void WindowManager::SetMaximised(FormId id) {
    maximised_.insert(id);
    ShowBackdrop();
    if (Form* form = Find(id); form != nullptr && form->isVisible()) {
        ShowMaximised(form);
        TakeFullScreenScale(form->scale());
    }
}

void WindowManager::SetFullScreen() {
    for (FormId id : {FormId::Form2, FormId::Form3, FormId::Form4, FormId::Form7}) {
        SetMaximised(id);
    }
}

void WindowManager::TakeFullScreenScale(double scale) {
    // The small windows never come larger than the least of the screens they stand over.
    fullScreenScale_ = fullScreenScale_ > 0 ? std::min(fullScreenScale_, scale) : scale;
}

void WindowManager::ShowBackdrop() {
    if (backdrop_) {
        return;
    }
    // The program's own background under its windows in full screen, so that a small window
    // never stands alone on a black screen. It never takes the keyboard.
    backdrop_ = std::make_unique<QWidget>();
    backdrop_->setObjectName(QStringLiteral("Backdrop"));
    backdrop_->setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnBottomHint |
                              Qt::WindowDoesNotAcceptFocus);
    backdrop_->setFocusPolicy(Qt::NoFocus);
    backdrop_->setPalette(CabinetPalette());
    backdrop_->setAutoFillBackground(true);
    backdrop_->setGeometry(AvailableArea(backdrop_.get()));
    // The offscreen platform of the tests makes every window it shows the active one; there is
    // nothing to see there anyway.
    if (QGuiApplication::platformName() == QLatin1String("offscreen")) {
        return;
    }
    backdrop_->show();
    backdrop_->lower();
    if (Form* top = ActiveForm()) {
        RaiseAndActivate(top);
    }
}

bool WindowManager::IsMaximised(FormId id) const {
    return maximised_.count(id) > 0;
}

void WindowManager::RemoveFromVisible(FormId id) {
    visible_.erase(std::remove(visible_.begin(), visible_.end(), id), visible_.end());
}

void WindowManager::ActivateTop() {
    if (visible_.empty()) {
        return;
    }
    QPointer<Form> top = Find(visible_.back());
    if (!top) {
        return;
    }
    keys_.ScreenAppeared();
    RaiseAndActivate(top);
    FocusControl(top);
    top->Form_Activate();
}

void WindowManager::GiveKeyboardToTop() {
    if (Form* top = ActiveForm(); top != nullptr && top->isVisible()) {
        RaiseAndActivate(top);
        FocusControl(top);
    }
}

void WindowManager::EndIfNothingLoaded() {
    if (loaded_.empty() && !ended_) {
        ended_ = true;
        backdrop_.reset();
        if (endProgram_) {
            endProgram_();
        }
    }
}

bool WindowManager::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if ((type != QEvent::KeyPress && type != QEvent::KeyRelease) || redelivering_ ||
        !watched->isWidgetType()) {
        return false;
    }
    auto* receiver = static_cast<QWidget*>(watched);
    auto* key = static_cast<QKeyEvent*>(event);
    return type == QEvent::KeyPress ? FilterKeyPress(receiver, key)
                                    : FilterKeyRelease(receiver, key);
}

Form* WindowManager::LoadedFormOf(QWidget* widget) const {
    auto* form = qobject_cast<Form*>(widget->window());
    if (form == nullptr || !IsLoaded(form->id()) || Find(form->id()) != form) {
        return nullptr;
    }
    return form;
}

void WindowManager::SendKey(int arcadeKey, bool down, bool repeat) {
    const QtKey key = QtKeyFromArcadeKey(arcadeKey);
    if (key.key == 0) {
        return;
    }
    // Where the keyboard's key would go: a message box first, else the control with the focus.
    QWidget* target = QApplication::activeModalWidget();
    if (target == nullptr) {
        target = QApplication::focusWidget();
    }
    if (target == nullptr) {
        target = ActiveForm();
    }
    if (target == nullptr) {
        return;
    }
    if (QWidget* inside = target->focusWidget()) {
        target = inside;
    }
    // A number of its own, so the gate tells it from the keyboard's key of the same name; the
    // key's own virtual-key number, which Windows' keys carry too.
    const quint32 identity = 0x800000U | static_cast<quint32>(arcadeKey);
    QKeyEvent event(down ? QEvent::KeyPress : QEvent::KeyRelease, key.key,
                    down ? key.modifier : Qt::NoModifier, identity, static_cast<quint32>(arcadeKey),
                    0, key.text, repeat);
    QCoreApplication::sendEvent(target, &event);
}

bool WindowManager::FilterKeyPress(QWidget* receiver, QKeyEvent* event) {
    // A key a control leaves goes on to its parents, and each of them passes through here: the
    // gate counts a press once per event, since a second look at the same press finds it the
    // same (fresh or repeat).
    const int arcadeKey = ArcadeKeyFromQt(*event);
    const bool autoRepeat =
        event->isAutoRepeat() || nativeRepeat_.WasDown(event->nativeVirtualKey());
    if (!keys_.Press(KeyIdentity(*event), arcadeKey, autoRepeat, event->timestamp())) {
        event->accept();
        return true;
    }
    Form* form = LoadedFormOf(receiver);
    if (form == nullptr) {
        // A message box: the toolkit's own handling.
        return false;
    }
    event->accept();
    const bool cabinet = form->CabinetScreen;
    if (cabinet && !IsCabinetKey(arcadeKey)) {
        return true;
    }
    // Key preview: the window sees the key first. A key it leaves is delivered to the control
    // here, once, so that Qt's propagation to parent widgets cannot preview it a second time.
    QPointer<QWidget> target = receiver;
    const FormId id = form->id();
    const bool consumed = form->PreviewKey(arcadeKey, keys_.LastPressRepeated());
    if (consumed || !target || !IsLoaded(id)) {
        return true;
    }
    redelivering_ = true;
    if (cabinet) {
        // A held action button must not turn a joystick move into something else (with Ctrl, a
        // list moves its cursor without selecting).
        QKeyEvent plain(QEvent::KeyPress, event->key(), Qt::NoModifier, event->text(),
                        event->isAutoRepeat(), event->count());
        QCoreApplication::sendEvent(target, &plain);
    } else {
        QCoreApplication::sendEvent(target, event);
    }
    redelivering_ = false;
    return true;
}

bool WindowManager::FilterKeyRelease(QWidget* receiver, QKeyEvent* event) {
    const bool released =
        keys_.Release(KeyIdentity(*event), event->isAutoRepeat(), event->timestamp());
    QPointer<Form> form = LoadedFormOf(receiver);
    if (!form) {
        return false;
    }
    // Delivered here once, as a press is, so that the window hears of it once however far Qt
    // would pass it up; the releases of the system's repeats are not news.
    QPointer<QWidget> target = receiver;
    redelivering_ = true;
    QCoreApplication::sendEvent(target, event);
    redelivering_ = false;
    if (form && released) {
        form->Form_KeyUp(ArcadeKeyFromQt(*event));
    }
    event->accept();
    return true;
}

} // namespace fav
