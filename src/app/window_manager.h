#pragma once

#include "app/form.h"

#include <QObject>
#include <QPointer>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <vector>

namespace fav {

// Loads, shows, hides and unloads the program's windows, delivers activation and key preview,
// and ends the program when the last window is unloaded.
//
// Activation is the framework's own: a window is activated when it is shown, and when the window
// shown above it is hidden or unloaded. Platform focus events play no part, so behaviour is the
// same on a cabinet with no window manager and under test.
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

    bool ProgramEnded() const { return ended_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void RemoveFromVisible(FormId id);
    void ActivateTop();
    void EndIfNothingLoaded();

    Factory factory_;
    std::function<void()> endProgram_;
    std::map<FormId, QPointer<Form>> loaded_;
    std::vector<FormId> loadOrder_;
    std::vector<FormId> visible_; // bottom to top
    std::set<FormId> maximised_;
    std::set<FormId> loading_;
    std::set<FormId> hiddenWhileLoading_;
    bool redelivering_ = false;
    bool ended_ = false;
};

} // namespace fav
