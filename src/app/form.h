#pragma once

#include <QPointer>
#include <QPushButton>
#include <QString>
#include <QWidget>

namespace fav {

class App;

// The design's windows, and the screen that teaches a game controller the cabinet's controls.
enum class FormId { Form1 = 1, Form2, Form3, Form4, Form5, Form6, Form7, Controls };

// One screen of the program: a top-level window with a fixed design laid out in twips. The window
// manager delivers load, activation and key preview; Qt delivers resizes.
class Form : public QWidget {
    Q_OBJECT

public:
    Form(App& app, FormId id, const QString& caption, int clientWidthTwips, int clientHeightTwips);

    FormId id() const { return id_; }

    // The factor the whole design is shown at: twips, point sizes and line widths alike.
    double scale() const { return scale_; }
    // Lays every control out again at the scale, as its text is laid out afresh (not a picture
    // of it made larger).
    void SetScale(double scale);
    // The design's client size, in twips.
    QSize DesignSize() const { return designSize_; }
    // The part of the design that shows, in twips of the client area: what full screen fills and
    // centres. By default the controls placed in twips that hold no others.
    QRect ContentTwips() const;

    // Takes the whole area, with the content scaled to fill it and centred.
    void FitFullScreen(const QRect& area);
    // Design size at the given scale, or smaller when that does not fit the available area;
    // centred on it.
    void FitWindow(const QRect& available, double preferredScale = 1.0);
    // Takes a control just placed in twips (PlaceTwips calls it) and puts it where the current
    // scale and centring want it.
    void Place(QWidget* control);

    // Handlers, named after the design's events. Form_KeyDown sees every key before the control
    // that has the focus when KeyPreview is on; setting keyCode to 0 consumes the key.
    virtual void Form_Load() {}
    virtual void Form_Activate() {}
    virtual void Form_Resize() {}
    virtual void Form_KeyDown(int& keyCode) { (void)keyCode; }
    // A key went up. Told after the control with the focus has had it; nothing is consumed.
    virtual void Form_KeyUp(int keyCode) { (void)keyCode; }

    bool KeyPreview = true;
    // Driven by the cabinet's controls alone: keys outside ArcadeKey and the rest of a keyboard
    // never reach the window or its controls. The setup screen is an ordinary window.
    bool CabinetScreen = true;

    // Runs the key through Form_KeyDown and then the cancel button, which ESC presses when the
    // key is still unconsumed. True when the key was consumed. `repeated` marks the system's own
    // repeat of a held key.
    bool PreviewKey(int keyCode, bool repeated = false);
    // True while Form_KeyDown handles a repeat the system made of a held key.
    bool KeyRepeated() const { return keyRepeated_; }

protected:
    void setCancelButton(QPushButton* button) { cancelButton_ = button; }
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Replaces the content the window fills and centres in full screen.
    void SetContentTwips(const QRect& content) { content_ = content; }
    void closeEvent(QCloseEvent* event) override;

    App& app_;

private:
    FormId id_;
    QPointer<QPushButton> cancelButton_;
    bool keyRepeated_ = false;
    void FillArea(const QSize& area);
    void UpdateOrigin();
    void LayOut(QWidget* control);
    void LayOutAll();
    void MoveTopControls();

    QSize designSize_;
    QRect content_;
    mutable QRect placedContent_;
    QPoint origin_;
    double scale_ = 1.0;
    bool fullScreen_ = false;
};

} // namespace fav
