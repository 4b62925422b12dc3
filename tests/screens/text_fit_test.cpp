// Every text of every window shows whole inside its control, in the program's own face: labels,
// buttons, check boxes, drive pickers and list rows, full screen and windowed, on the screen this
// run is given (the off-screen platform's, one size a run) and with no font but the program's own.

#include "app/app.h"
#include "app/looks.h"
#include "app/twips.h"
#include "core/errors/failure.h"
#include "screens/controls/controls_screen.h"
#include "screens/editor/form7.h"
#include "screens/editor/pane_view.h"
#include "support/test_app.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QStyleOptionViewItem>
#include <QTest>
#include <filesystem>

using namespace fav;
using namespace fav::test;

namespace {

// The widest name and description a list can have: twelve of the widest capital.
const std::string WidestName = "WWWWWWWWWWWW";

// The part of a widget that shows, in its window's coordinates: its own rectangle, clipped by
// every widget it lies in.
QRect ShownRect(const QWidget* widget) {
    const QWidget* window = widget->window();
    QRect shown(widget->mapTo(window, QPoint()), widget->size());
    for (const QWidget* up = widget->parentWidget(); up != nullptr; up = up->parentWidget()) {
        shown &= QRect(up->mapTo(window, QPoint()), up->size());
        if (up == window) {
            break;
        }
    }
    return shown;
}

class FitCheck {
public:
    explicit FitCheck(QString where) : where_(std::move(where)) {}

    // Looks at every text the window shows; each one that does not fit is one entry of Cuts().
    void Window(const Form* window) {
        texts_.clear();
        for (const QWidget* control : window->findChildren<QWidget*>()) {
            if (!control->isVisibleTo(window)) {
                continue;
            }
            // The widths are the program face's: a control asking for another face may get one
            // of other widths on a cabinet that has it.
            if (control->font().family() != QLatin1String(ProgramFaceFamily)) {
                cuts_ << QStringLiteral("%1: %2 %3 asks for the face \"%4\"")
                             .arg(where_, window->objectName(), control->objectName(),
                                  control->font().family());
            }
            if (const auto* label = qobject_cast<const QLabel*>(control)) {
                Label(label);
            } else if (const auto* button = qobject_cast<const QAbstractButton*>(control)) {
                Button(button);
            } else if (const auto* picker = qobject_cast<const QComboBox*>(control)) {
                Picker(picker);
            } else if (const auto* view = qobject_cast<const QAbstractItemView*>(control)) {
                Rows(view);
            }
        }
        // A text grown out of its box must not run into another one beside it. Controls of
        // different holders may lie under one another on purpose: a frame masks what is below.
        for (qsizetype i = 0; i < texts_.size(); ++i) {
            for (qsizetype j = i + 1; j < texts_.size(); ++j) {
                if (texts_[i].holder == texts_[j].holder &&
                    texts_[i].drawn.intersects(texts_[j].drawn)) {
                    cuts_ << QStringLiteral("%1: %2 %3 and %4 overlap")
                                 .arg(where_, window->objectName(), texts_[i].control,
                                      texts_[j].control);
                }
            }
        }
    }

    const QStringList& Cuts() const { return cuts_; }
    // How many texts were looked at.
    int Checked() const { return checked_; }

private:
    // The text laid out in `room` (the control's coordinates) as it is drawn, which must lie in
    // the room and in what shows of the control.
    void Text(const QWidget* control, const QString& text, const QRect& room, int flags) {
        if (text.isEmpty()) {
            return;
        }
        ++checked_;
        const QFontMetrics metrics(control->font());
        // Laid out in a room of unbounded height, so a text that needs more lines shows it.
        const int horizontal = flags & ~int(Qt::AlignVertical_Mask);
        const QRect needed = metrics.boundingRect(
            QRect(room.left(), room.top(), room.width(), 1 << 20), horizontal, text);
        QRect drawn = metrics.boundingRect(room, flags, text);
        drawn.setSize(needed.size().expandedTo(drawn.size()));
        texts_.append({control->parentWidget(), control->objectName(),
                       drawn.translated(control->mapTo(control->window(), QPoint()))});
        const QRect shown =
            ShownRect(control).translated(-control->mapTo(control->window(), QPoint()));
        if (needed.width() > room.width() || needed.height() > room.height() ||
            !(room & shown).contains(drawn)) {
            cuts_ << QStringLiteral("%1: %2 %3 \"%4\" needs %5x%6 px, has %7x%8 (%9x%10 shown)")
                         .arg(where_, control->window()->objectName(), control->objectName(), text)
                         .arg(needed.width())
                         .arg(needed.height())
                         .arg(room.width())
                         .arg(room.height())
                         .arg((room & shown).width())
                         .arg((room & shown).height());
        }
    }

    void Label(const QLabel* label) {
        QRect room = label->contentsRect().adjusted(label->margin(), label->margin(),
                                                    -label->margin(), -label->margin());
        int indent = label->indent();
        if (indent < 0) {
            indent = label->frameWidth() > 0
                         ? label->fontMetrics().horizontalAdvance(QLatin1Char('x')) / 2
                         : 0;
        }
        const Qt::Alignment align = label->alignment();
        if (align & Qt::AlignLeft) {
            room.setLeft(room.left() + indent);
        } else if (align & Qt::AlignRight) {
            room.setRight(room.right() - indent);
        }
        if (align & Qt::AlignTop) {
            room.setTop(room.top() + indent);
        } else if (align & Qt::AlignBottom) {
            room.setBottom(room.bottom() - indent);
        }
        Text(label, label->text(), room, int(align) | (label->wordWrap() ? Qt::TextWordWrap : 0));
    }

    void Button(const QAbstractButton* button) {
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        QStyle::SubElement contents = QStyle::SE_PushButtonContents;
        int flags = Qt::AlignCenter | Qt::TextShowMnemonic;
        if (qobject_cast<const QCheckBox*>(button) != nullptr) {
            contents = QStyle::SE_CheckBoxContents;
            flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic;
        } else if (qobject_cast<const QRadioButton*>(button) != nullptr) {
            contents = QStyle::SE_RadioButtonContents;
            flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic;
        }
        Text(button, button->text(), button->style()->subElementRect(contents, &option, button),
             flags);
    }

    void Picker(const QComboBox* picker) {
        QStyleOptionComboBox option;
        option.initFrom(picker);
        const QRect room = picker->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                           QStyle::SC_ComboBoxEditField, picker);
        Text(picker, picker->currentText(), room, Qt::AlignLeft | Qt::AlignVCenter);
    }

    // Each row's text and mark within its row's height and, where nothing scrolls sideways to
    // it, within the list's width. The editor's games are MAME's own long lines: its panes cut
    // them at their edge, as list boxes do, so there only the height counts.
    void Rows(const QAbstractItemView* view) {
        const QAbstractItemModel* model = view->model();
        if (model == nullptr) {
            return;
        }
        const bool widthCounts = qobject_cast<const PaneView*>(view) == nullptr &&
                                 view->horizontalScrollBarPolicy() == Qt::ScrollBarAlwaysOff;
        const int rows = std::min(model->rowCount(), 2000);
        for (int row = 0; row < rows; ++row) {
            const QModelIndex index = model->index(row, 0);
            const QRect place = view->visualRect(index);
            if (!place.intersects(view->viewport()->rect())) {
                continue;
            }
            QStyleOptionViewItem option;
            option.initFrom(view);
            option.font = view->font();
            option.fontMetrics = QFontMetrics(option.font);
            option.decorationSize = view->iconSize();
            option.rect = place;
            const QSize needed = view->itemDelegateForIndex(index)->sizeHint(option, index);
            ++checked_;
            const bool wide =
                widthCounts && place.left() + needed.width() > view->viewport()->width();
            if (wide || needed.height() > place.height()) {
                cuts_ << QStringLiteral("%1: %2 %3 row \"%4\" needs %5x%6 px, has %7x%8")
                             .arg(where_, view->window()->objectName(), view->objectName(),
                                  index.data().toString())
                             .arg(needed.width())
                             .arg(needed.height())
                             .arg(view->viewport()->width() - place.left())
                             .arg(place.height());
            }
        }
    }

    struct DrawnText {
        const QWidget* holder;
        QString control;
        QRect drawn; // in the window's coordinates
    };

    QString where_;
    QStringList cuts_;
    QList<DrawnText> texts_;
    int checked_ = 0;
};

// The demo cabinet with one more list, whose name and description are the widest allowed.
void WriteDemoCabinet(TestApp& t) {
    namespace fs = std::filesystem;
    fs::remove_all(t.cabinetDir);
    fs::copy(FAVORIZER_DEMO_CABINET, t.cabinetDir, fs::copy_options::recursive);
    const std::string kabinet = t.cabinetDir + "/kabinet.cfg";
    std::string text = ReadBytes(kabinet);
    const std::string lists = "emulators = mame kbfavCLASSICS";
    text.replace(text.find(lists), lists.size(), lists + " kbfav" + WidestName);
    WriteBytes(kabinet, text);
    WriteBytes(t.configDir + "/kbfav" + WidestName + ".cfg",
               "name = " + WidestName + "\r\ndescription =" + WidestName + "\r\n");
    WriteBytes(t.configDir + "/kbfav" + WidestName + ".map", "");
    WriteBytes(t.configDir + "/kbfav" + WidestName + ".rom", "");
}

// Started where mame.map is not found: the setup screen and its warning.
void StartOnSetup(TestApp& t) {
    WriteDemoCabinet(t);
    t.WriteSettings();
    std::filesystem::remove(t.configDir + "/mame.map");
    t.app.Start();
}

} // namespace

class TextFitTest : public QObject {
    Q_OBJECT

    // The screen's size this run, as "WIDTHxHEIGHT".
    QString ScreenSize() const {
        const QSize size = QGuiApplication::primaryScreen()->geometry().size();
        return QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
    }

    void Check(FitCheck& fit, TestApp& t, FormId id) {
        Form* window = t.windows().Find(id);
        QVERIFY2(
            window != nullptr && window->isVisible(),
            qPrintable(QStringLiteral("Form%1 is not shown (%2 loaded, %3 shown, %4 message boxes)")
                           .arg(int(id))
                           .arg(t.windows().IsLoaded(id))
                           .arg(t.windows().IsVisible(id))
                           .arg(t.messages.shown.size())));
        // As the event loop would before drawing: labels whose text changed take their room.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        fit.Window(window);
    }

private slots:
    void initTestCase() {
        // The run is given its screen by the test's platform settings; make sure it took.
        QCOMPARE(ScreenSize(), qEnvironmentVariable("FAVORIZER_FIT_SCREEN"));
    }

    void everyWindowShowsItsWholeText_data() {
        QTest::addColumn<int>("fullscreen");
        QTest::newRow("windowed") << 0;
        QTest::newRow("full screen") << 1;
    }

    void everyWindowShowsItsWholeText() {
        QFETCH(int, fullscreen);
        FitCheck fit(ScreenSize() + (fullscreen != 0 ? QStringLiteral(" full screen")
                                                     : QStringLiteral(" windowed")));

        {
            // The setup screen: its warning, then its pickers.
            TestApp t;
            StartOnSetup(t);
            Check(fit, t, FormId::Form1);
            auto* warning = t.windows().Find(FormId::Form1)->findChild<QLabel*>("Label13");
            QTest::mouseClick(warning, Qt::LeftButton);
            Check(fit, t, FormId::Form1);
        }

        TestApp t;
        WriteDemoCabinet(t);
        t.WriteSettings(fullscreen);
        t.app.Start();
        Check(fit, t, FormId::Form2);
        t.Press(Qt::Key_Down); // the widest list
        t.Press(Qt::Key_1);    // its options
        Check(fit, t, FormId::Form2);
        t.Press(Qt::Key_Down);
        t.Press(Qt::Key_1); // delete it?
        Check(fit, t, FormId::Form6);
        t.Press(Qt::Key_Escape); // back to the menu
        t.Press(Qt::Key_Down);
        t.Press(Qt::Key_1);
        // The editor, with the filter panel over it at its longest lines.
        std::filesystem::create_directories(t.programDir + "/folders");
        WriteBytes(t.programDir + "/folders/Working Arcade Clean.ini",
                   "[ROOT_FOLDER]\r\npacman\r\n");
        WriteBytes(t.programDir + "/folders/catver.ini",
                   "[Category]\r\npacman=Electromechanical / Pinball\r\nlewd=Maze * Mature *\r\n");
        t.Press(Qt::Key_1); // edit it
        Check(fit, t, FormId::Form7);
        for (int twice = 0; twice < 2; ++twice) {
            t.Hold(Qt::Key_Control);
            t.Hold(Qt::Key_Alt);
            t.Release(Qt::Key_Alt);
            t.Release(Qt::Key_Control);
        }
        QVERIFY(t.windows().Get<Form7>(FormId::Form7)->FilterPanelOpen());
        Check(fit, t, FormId::Form7);
        t.Press(Qt::Key_Escape);
        t.Press(Qt::Key_Escape);
        TestApp::Settle();

        t.Press(Qt::Key_Right); // the options for a new list
        t.Press(Qt::Key_1);
        Check(fit, t, FormId::Form3);
        // The name and description as typed, then the question whether they are right.
        t.app.shared.CurrentListName = " " + WidestName;
        t.app.shared.NewListDescription = WidestName;
        t.windows().Show(FormId::Form4);
        Check(fit, t, FormId::Form4);

        // The screen that teaches a controller, at its longest texts: an action button asked
        // for, after Player 1 Start was given again.
        {
            ControlTeaching teaching;
            for (const int bits : {1, 4, 8, 2}) {
                teaching.Hear({RawInput::Kind::Hat, 0, bits}, 0);
                teaching.Hear({RawInput::Kind::Hat, 0, 0}, 0);
            }
            for (const int button : {9, 8, 8}) {
                teaching.Hear({RawInput::Kind::Button, button, 1}, 0);
                teaching.Hear({RawInput::Kind::Button, button, 0}, 0);
            }
            t.windows().Show(FormId::Controls);
            auto* controls = t.windows().Get<ControlsScreen>(FormId::Controls);
            controls->ShowTeaching(QStringLiteral("Generic   USB  Joystick  (0079:0006)"), teaching,
                                   ControlTeaching::Heard::AlreadyGiven);
            Check(fit, t, FormId::Controls);
            t.windows().Unload(FormId::Controls);
            TestApp::Settle();
        }

        // Every error screen's own explanation, over the screen it comes from.
        const std::string longPath =
            t.configDir + "/a folder of many words, as a cabinet owner may name one/mame.cfg";
        for (const Failure& failure :
             {MakeFailure(ErrorCode::FileNotFound, longPath),
              MakeFailure(ErrorCode::DeviceUnavailable),
              MakeFailure(ErrorCode::InvalidPropertyValue, t.programDir + "/favorize.cfg"),
              MakeFailure(ErrorCode::PathNotFound, longPath)}) {
            t.app.ShowError(failure);
            Check(fit, t, FormId::Form5);
            t.windows().Unload(FormId::Form5);
            TestApp::Settle();
        }

        // Every window's texts were reached.
        qInfo("%d texts looked at", fit.Checked());
        QVERIFY(fit.Checked() > 150);
        for (const QString& cut : fit.Cuts()) {
            qWarning("%s", qPrintable(cut));
        }
        QCOMPARE(fit.Cuts().size(), 0);
    }

    void windowsThatDoNotFillTheScreenGrowWithIt() {
        // Whole steps of the screen's height over 1080: as large on a television as on a 1080p
        // screen; shrunk to fit a smaller one.
        TestApp t;
        StartOnSetup(t);
        const Form* setup = t.windows().Find(FormId::Form1);
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        // The size only: the off-screen platform adds a title bar of its own above the window.
        QVERIFY(setup->width() <= screen.width() && setup->height() <= screen.height());
        const QString size = ScreenSize();
        if (size == QLatin1String("3840x2160")) {
            QCOMPARE(setup->scale(), 2.0);
        } else if (size == QLatin1String("640x480")) {
            QVERIFY(setup->scale() < 1.0);
        } else {
            QCOMPARE(setup->scale(), 1.0);
        }
    }
};

QTEST_MAIN(TextFitTest)
#include "text_fit_test.moc"
