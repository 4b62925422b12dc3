#include "app/window_manager.h"

#include "app/arcade_key.h"

#include <QApplication>
#include <QKeyEvent>
#include <QScreen>
#include <algorithm>

namespace fav {

namespace {

// Raising is a request to a window system; the offscreen one used by tests has none to ask.
void RaiseAndActivate(QWidget* window) {
    if (QGuiApplication::platformName() != QLatin1String("offscreen")) {
        window->raise();
    }
    window->activateWindow();
}

// Maximising is a request to the window manager too, and a cabinet often runs none: the window
// takes the screen's free area itself, and a window manager that is there maximises it as usual.
void ShowMaximised(QWidget* window) {
    if (!window->isMaximized() || !window->isVisible()) {
        if (const QScreen* screen = window->screen()) {
            window->setGeometry(screen->availableGeometry());
        }
    }
    window->setWindowState(window->windowState() | Qt::WindowMaximized);
    window->showMaximized();
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
    } else {
        form->show();
    }
    RaiseAndActivate(form);
    form->setFocus();
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
    if (Form* form = Find(id); form != nullptr && form->isVisible()) {
        ShowMaximised(form);
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
    RaiseAndActivate(top);
    top->Form_Activate();
}

void WindowManager::EndIfNothingLoaded() {
    if (loaded_.empty() && !ended_) {
        ended_ = true;
        if (endProgram_) {
            endProgram_();
        }
    }
}

bool WindowManager::eventFilter(QObject* watched, QEvent* event) {
    const bool press = event->type() == QEvent::KeyPress;
    const bool release = event->type() == QEvent::KeyRelease;
    if (!(press || release) || redelivering_ || !watched->isWidgetType()) {
        return false;
    }
    auto* widget = static_cast<QWidget*>(watched);
    auto* form = qobject_cast<Form*>(widget->window());
    if (form == nullptr || !IsLoaded(form->id()) || Find(form->id()) != form) {
        return false;
    }
    auto* key = static_cast<QKeyEvent*>(event);
    QPointer<QWidget> target = widget;
    QPointer<Form> window = form;
    if (release) {
        // Delivered here once, as a press is, so that the window hears of it once however far
        // Qt would pass it up; the releases of the system's repeats are not news.
        redelivering_ = true;
        QCoreApplication::sendEvent(target, event);
        redelivering_ = false;
        if (window && !key->isAutoRepeat()) {
            window->Form_KeyUp(ArcadeKeyFromQt(*key));
        }
        event->accept();
        return true;
    }
    // Key preview: the window sees the key first. A key it leaves is delivered to the control
    // here, once, so that Qt's propagation to parent widgets cannot preview it a second time.
    const FormId id = form->id();
    const bool consumed = form->PreviewKey(ArcadeKeyFromQt(*key), key->isAutoRepeat());
    if (!consumed && target && IsLoaded(id)) {
        redelivering_ = true;
        QCoreApplication::sendEvent(target, event);
        redelivering_ = false;
    }
    event->accept();
    return true;
}

} // namespace fav
