#pragma once

// What the whole-program flows share: a program started on a folder that outlives it, reading
// the windows as the owner sees them, and typing on the on-screen keyboard with the joystick.

#include "app/app.h"
#include "support/test_app.h"

#include <QAbstractItemView>
#include <QLabel>
#include <QListWidget>
#include <QTest>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace fav::test {

// A file's lines cut at CR LF only, independently of the program's own line reader.
inline std::vector<std::string> SplitCrLf(const std::string& bytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t end = bytes.find("\r\n", start);
        lines.push_back(bytes.substr(start, end - start));
        start = end == std::string::npos ? bytes.size() : end + 2;
    }
    return lines;
}

// One run of the program on a program folder it does not own, so that a second run can find
// what the first one left there. Only one may be alive at a time for a folder: the first holds
// the single-copy lock until it is gone.
class Program {
public:
    explicit Program(std::string folder)
        : programDir(std::move(folder)),
          app({programDir, &messages, [] { return std::string(FixedDateTime); },
               [this] { ended = true; }}) {}
    ~Program() { TestApp::Settle(); }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    std::string programDir;
    ScriptedMessageBoxes messages;
    bool ended = false;
    App app;

    WindowManager& windows() { return app.windows(); }

    // As the cabinet sends a key: to the focus widget of the active window.
    void Press(Qt::Key key) {
        Form* active = app.windows().ActiveForm();
        QWidget* target = active;
        if (active != nullptr && active->focusWidget() != nullptr) {
            target = active->focusWidget();
        }
        if (target != nullptr) {
            QTest::keyClick(target, key);
        }
    }
    void Press(Qt::Key key, int times) {
        for (int i = 0; i < times; ++i) {
            Press(key);
        }
    }
};

// The id of the window that has the keyboard, or 0.
template <typename P> int ActiveId(P& p) {
    const Form* active = p.windows().ActiveForm();
    return active == nullptr ? 0 : static_cast<int>(active->id());
}

template <typename T = QLabel, typename P> T* Control(P& p, FormId id, const char* name) {
    Form* form = p.windows().Find(id);
    return form == nullptr ? nullptr : form->template findChild<T*>(QString::fromLatin1(name));
}

template <typename P> QString Text(P& p, FormId id, const char* name) {
    const QLabel* label = Control(p, id, name);
    return label == nullptr ? QStringLiteral("<no %1>").arg(QString::fromLatin1(name))
                            : label->text();
}

// Shown on its window (not hidden on it), and the window itself visible.
template <typename P> bool Shown(P& p, FormId id, const char* name) {
    const QWidget* control = Control<QWidget>(p, id, name);
    return control != nullptr && p.windows().IsVisible(id) && !control->isHidden();
}

// Which of the screens the owner moves between is up; the program shows one at a time.
template <typename P> std::vector<int> VisibleScreens(P& p) {
    std::vector<int> visible;
    for (FormId id : {FormId::Form1, FormId::Form2, FormId::Form3, FormId::Form4, FormId::Form5,
                      FormId::Form6, FormId::Form7}) {
        if (p.windows().IsVisible(id)) {
            visible.push_back(static_cast<int>(id));
        }
    }
    return visible;
}

inline std::vector<int> Only(FormId id) {
    return {static_cast<int>(id)};
}

// Paints every visible window, as a screen would: drawing is where long or odd text costs.
template <typename P> void Draw(P& p) {
    for (const int id : VisibleScreens(p)) {
        p.windows().Find(static_cast<FormId>(id))->grab();
    }
}

// The rows of a list box or list view, as shown.
inline QStringList Rows(const QAbstractItemView* view) {
    QStringList rows;
    if (view == nullptr) {
        return rows;
    }
    for (int row = 0; row < view->model()->rowCount(); ++row) {
        rows << view->model()->index(row, 0).data().toString();
    }
    return rows;
}

inline int SelectedRow(const QAbstractItemView* view) {
    if (view == nullptr) {
        return -2;
    }
    const auto rows = view->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

// The on-screen keyboard's key for a character, or -1. Letters are typed in either case by
// switching caps first.
inline int KeyboardKeyFor(char c) {
    static const std::string grid = "ABCDEFGHI JKLMNOPQR STUVWXYZ0 123456789 ,'~.!@_() ";
    const char upper = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    const auto at = grid.find(upper);
    return at == std::string::npos || upper == ' ' ? -1 : static_cast<int>(at);
}

inline constexpr int CapsOnKey = 29;
inline constexpr int CapsOffKey = 39;
inline constexpr int DoneKey = 49;

// The key the highlight is on: the only enabled key.
template <typename P> int HighlightedKey(P& p) {
    int found = -1;
    for (int key = 0; key < 50; ++key) {
        const QLabel* label = Control(
            p, FormId::Form3, QStringLiteral("Label13(%1)").arg(key).toLatin1().constData());
        if (label != nullptr && label->isEnabled()) {
            if (found >= 0) {
                return -2; // two highlighted keys
            }
            found = key;
        }
    }
    return found;
}

// Moves the highlight with the joystick: up or down to the key's row, then along the row.
template <typename P> void MoveHighlightTo(P& p, int key) {
    int at = HighlightedKey(p);
    if (at < 0) {
        return;
    }
    for (; at / 10 < key / 10; at += 10) {
        p.Press(Qt::Key_Down);
    }
    for (; at / 10 > key / 10; at -= 10) {
        p.Press(Qt::Key_Up);
    }
    for (; at < key; ++at) {
        p.Press(Qt::Key_Right);
    }
    for (; at > key; --at) {
        p.Press(Qt::Key_Left);
    }
}

template <typename P> void PressKeyboardKey(P& p, int key) {
    MoveHighlightTo(p, key);
    p.Press(Qt::Key_1);
}

// Types the text on the on-screen keyboard, switching caps for lower- and upper-case letters.
// True when every character had a key and the highlight went where it was sent.
template <typename P> bool TypeOnKeyboard(P& p, const std::string& text) {
    for (const char c : text) {
        const int key = KeyboardKeyFor(c);
        if (key < 0) {
            return false;
        }
        const bool capsOn = Shown(p, FormId::Form3, "Label7");
        if (c >= 'a' && c <= 'z' && capsOn) {
            PressKeyboardKey(p, CapsOffKey);
        } else if (c >= 'A' && c <= 'Z' && !capsOn) {
            PressKeyboardKey(p, CapsOnKey);
        }
        // After the twelfth character the highlight jumps to "Done" by itself.
        MoveHighlightTo(p, key);
        if (HighlightedKey(p) != key) {
            return false;
        }
        p.Press(Qt::Key_1);
    }
    return true;
}

// A whole entry: the name, "Done", the description, "Done".
template <typename P>
bool EnterNameAndDescription(P& p, const std::string& name, const std::string& description) {
    if (!TypeOnKeyboard(p, name)) {
        return false;
    }
    PressKeyboardKey(p, DoneKey);
    if (!TypeOnKeyboard(p, description)) {
        return false;
    }
    PressKeyboardKey(p, DoneKey);
    return true;
}

// Every file under the folder with its bytes, to tell that nothing was shortened or lost.
inline std::map<std::string, std::string> Snapshot(const std::string& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file()) {
            files[entry.path().string()] = ReadBytes(entry.path().string());
        }
    }
    return files;
}

// The error log's lines after its heading.
inline std::vector<std::string> LogLines(const std::string& programDir) {
    const std::string log = ReadBytes(programDir + "/favorlog.txt");
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < log.size()) {
        const std::size_t end = log.find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(log.substr(start));
            break;
        }
        lines.push_back(log.substr(start, end - start));
        start = end + 2;
    }
    if (!lines.empty() && lines.front().starts_with("## ")) {
        lines.erase(lines.begin());
    }
    return lines;
}

inline std::string LogLine(int code, const std::string& description) {
    return std::string(FixedDateTime) + " Favorizer encounted error# " + std::to_string(code) +
           " ---" + description;
}

} // namespace fav::test
