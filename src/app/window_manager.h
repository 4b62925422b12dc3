#pragma once

#include "app/form.h"
#include "app/key_gate.h"
#include "app/native_key_repeat.h"

#include <QObject>
#include <QPointer>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <vector>

class QKeyEvent;

namespace fav {

// Loads, shows, hides and unloads the program's windows, delivers activation and key preview,
// and ends the program when the last window is unloaded.
//
// Activation is the framework's own: a window is activated when it is shown, and when the window
// shown above it is hidden or unloaded. Platform focus events play no part, so behaviour is the
// same on a cabinet with no window manager and under test. For the same reason the program hands
// the keyboard to its top window itself whenever a window or message box comes or goes: with no
// window manager nothing else would, and the cabinet's keys would go nowhere.
//
// Every key passes the KeyGate first (held buttons act once). On the cabinet screens only the
// ArcadeKey keys get through: the rest of a keyboard, and combinations, change nothing there.
class WindowManager final : public QObject {
    Q_OBJECT

public:
    using Factory = std::function<Form*(FormId)>;
    WindowManager(Factory factory, std::function<void()> endProgram);
    ~WindowManager() override;

    // Loads the window when it is not loaded (running its Form_Load). Returns null when the
    // window unloaded itself while loading.
    Form* Load(FormId id);
    // Loads when needed, makes visible (maximised when so set), raises it, gives it the keyboard
    // and activates it. A window hidden or unloaded by its own Form_Load is not shown.
    void Show(FormId id);
    void Hide(FormId id);
    void Unload(FormId id);
    // Unloads every loaded window, the most recently loaded first; the program ends.
    void UnloadAll();

    bool IsLoaded(FormId id) const;
    bool IsVisible(FormId id) const;
    Form* Find(FormId id) const;
    template <typename T> T* Get(FormId id) const { return qobject_cast<T*>(Find(id)); }
    // The loaded windows, in the order they were loaded.
    std::vector<FormId> LoadedForms() const;
    // The window that was activated last and is still visible.
    Form* ActiveForm() const;

    // The window state the window takes whenever it is shown; kept while it is not loaded.
    void SetMaximised(FormId id);
    bool IsMaximised(FormId id) const;
    // Maximises the screens that fill the screen when the program runs full screen: the menu,
    // keyboard, verify and editor windows. The small ones come centred over them.
    void SetFullScreen();

    bool ProgramEnded() const { return ended_; }
    // The full-screen background under the windows, once a window is maximised; null before.
    QWidget* Backdrop() const { return backdrop_.get(); }

    // Gives the keyboard to the top visible window and, in it, to the control that last had the
    // focus there (the window itself when none). Called after every message box.
    void GiveKeyboardToTop();
    // A message box or other window of the program's own appeared over the screens: a key down
    // now does nothing until released.
    void ScreenAppeared() { keys_.ScreenAppeared(); }
    // A cabinet key (ArcadeKey code) that comes from elsewhere than the keyboard, a game
    // controller: delivered as the keyboard's own key would be, where the keyboard would go, and
    // through the same rules. A repeat is a held key's repeat.
    void SendKey(int arcadeKey, bool down, bool repeat);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool FilterKeyPress(QWidget* receiver, QKeyEvent* event);
    bool FilterKeyRelease(QWidget* receiver, QKeyEvent* event);
    Form* LoadedFormOf(QWidget* widget) const;
    void RemoveFromVisible(FormId id);
    void ActivateTop();
    void EndIfNothingLoaded();
    void ShowBackdrop();

    Factory factory_;
    std::function<void()> endProgram_;
    std::map<FormId, QPointer<Form>> loaded_;
    std::vector<FormId> loadOrder_;
    std::vector<FormId> visible_; // bottom to top
    std::set<FormId> maximised_;
    std::set<FormId> loading_;
    std::set<FormId> hiddenWhileLoading_;
    KeyGate keys_;
    NativeKeyRepeat nativeRepeat_;
    bool redelivering_ = false;
    bool ended_ = false;
    void TakeFullScreenScale(double scale);
    // The least scale of the full-screen windows shown; 0 before the first.
    double fullScreenScale_ = 0;
    std::unique_ptr<QWidget> backdrop_;
};

} // namespace fav
