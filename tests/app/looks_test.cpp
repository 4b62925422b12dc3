#include "app/controls.h"
#include "app/looks.h"
#include "app/message_boxes.h"
#include "support/test_app.h"

#include <QApplication>
#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cmath>

using namespace fav;
using namespace fav::test;

namespace {

double Luminance(const QColor& colour) {
    auto linear = [](double channel) {
        return channel <= 0.03928 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) +
           0.0722 * linear(colour.blueF());
}

// The contrast ratio of two colours, from 1 (the same) to 21 (black on white).
double Contrast(const QColor& a, const QColor& b) {
    const double la = Luminance(a);
    const double lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The box around the dark (text) pixels of `image` inside `area`.
QRect DarkPixels(const QImage& image, const QRect& area) {
    QRect box;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (qGray(image.pixel(x, y)) < 96) {
                box |= QRect(x, y, 1, 1);
            }
        }
    }
    return box;
}

} // namespace

class LooksTest : public QObject {
    Q_OBJECT

private slots:
    void greyedControlsReadAsDisabledYetStayLegible() {
        TestApp t;
        t.WriteCabinet("emulators = mame kbfavFIGHT");
        t.app.shared.LauncherDir = t.cabinetDir;
        t.windows().Show(FormId::Form2);
        auto* options = t.windows().Find(FormId::Form2)->findChild<QListWidget*>("List2");
        QVERIFY(!options->isEnabled());

        const QPalette& palette = options->palette();
        const QColor window = palette.color(QPalette::Window);
        const QColor text = palette.color(QPalette::Active, QPalette::Text);
        const QColor greyed = palette.color(QPalette::Disabled, QPalette::Text);
        QVERIFY(Contrast(text, palette.color(QPalette::Active, QPalette::Base)) >= 15);
        // Clearly fainter than the enabled text, yet readable from a distance.
        QVERIFY(Contrast(greyed, window) >= 2.5);
        QVERIFY(Contrast(greyed, window) <= 5);
        QCOMPARE(palette.color(QPalette::Disabled, QPalette::WindowText), greyed);
        // A disabled list is not a white box: it sits in the window's grey.
        QCOMPARE(palette.color(QPalette::Disabled, QPalette::Base), window);
        // Its selected row stays visible, and its text on it readable.
        const QColor row = palette.color(QPalette::Disabled, QPalette::Highlight);
        QVERIFY(Contrast(row, window) >= 2);
        QVERIFY(Contrast(palette.color(QPalette::Disabled, QPalette::HighlightedText), row) >= 3);
        // No window manager on a cabinet: no window counts as active, and it must not matter.
        QCOMPARE(palette.color(QPalette::Inactive, QPalette::Highlight),
                 palette.color(QPalette::Active, QPalette::Highlight));
    }

    void theWindowsDrawInTheBuiltInFaceOnAMachineWithoutFonts() {
        // The tests run with no system font at all.
        const QFont regular = DesignFont();
        QCOMPARE(QFontInfo(regular).family(), QString::fromLatin1(ProgramFaceFamily));
        QFont bold = regular;
        bold.setBold(true);
        QVERIFY(QFontInfo(bold).bold());
        // Arial's widths, which the layouts were drawn for, and real glyphs rather than boxes.
        const QString sample = QStringLiteral("Total # games=");
        QVERIFY(QFontMetrics(regular).inFont(QLatin1Char('#')));
        QVERIFY(QFontMetrics(bold).horizontalAdvance(sample) >
                QFontMetrics(regular).horizontalAdvance(sample));
    }

    void messageBoxesComeAtTheScaleOfTheWindowsShown() {
        TestApp t;
        t.WriteCabinet("emulators = mame");
        t.app.shared.LauncherDir = t.cabinetDir;
        t.windows().Show(FormId::Form2);
        t.windows().Find(FormId::Form2)->SetScale(2);
        ScreenMessageBoxes boxes;
        qreal shownPoints = 0;
        QString shownText;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box != nullptr);
            shownPoints =
                box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))->font().pointSizeF();
            shownText = box->text();
            box->button(QMessageBox::No)->click();
        });
        QCOMPARE(boxes.Show(QStringLiteral("Save?"), QStringLiteral("Favorizer"),
                            MessageButtons::YesNo, MessageIcon::None),
                 MessageAnswer::No);
        QCOMPARE(shownText, QStringLiteral("Save?"));
        QCOMPARE(shownPoints, 2 * DesignFont().pointSizeF());
    }

    void aQuestionIsAnsweredWithTheCabinetsControls_data() {
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<int>("answer");
        QTest::newRow("Start") << QList<int>{Qt::Key_1} << int(MessageAnswer::Yes);
        QTest::newRow("towards No, Start") << QList<int>{0, Qt::Key_1} << int(MessageAnswer::No);
        QTest::newRow("there and back, Start")
            << QList<int>{0, 1, Qt::Key_1} << int(MessageAnswer::Yes);
        QTest::newRow("ESC") << QList<int>{Qt::Key_Escape} << int(MessageAnswer::No);
        QTest::newRow("a box that only tells, Start")
            << QList<int>{Qt::Key_1} << int(MessageAnswer::Ok);
    }

    void aQuestionIsAnsweredWithTheCabinetsControls() {
        // 0 is the joystick towards No, 1 back towards Yes, whichever side the style puts it.
        QFETCH(QList<int>, keys);
        QFETCH(int, answer);
        ScreenMessageBoxes boxes;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box != nullptr);
            const bool noOnLeft = box->button(QMessageBox::No) != nullptr &&
                                  box->button(QMessageBox::No)->mapToGlobal(QPoint()).x() <
                                      box->button(QMessageBox::Yes)->mapToGlobal(QPoint()).x();
            for (const int key : keys) {
                const bool left = (key == 0) == noOnLeft;
                const int sent = key > 1 ? key : (left ? Qt::Key_Left : Qt::Key_Right);
                QWidget* focused = box->focusWidget();
                QTest::keyClick(focused != nullptr ? focused : box, static_cast<Qt::Key>(sent));
            }
            // Answered by the keys alone, not left waiting.
            const bool answered = !box->isVisible();
            if (!answered) {
                box->reject();
            }
            QVERIFY(answered);
        });
        const auto buttons =
            answer == int(MessageAnswer::Ok) ? MessageButtons::Ok : MessageButtons::YesNo;
        QCOMPARE(int(boxes.Show(QStringLiteral("Add?"), QStringLiteral("Favorizer"), buttons,
                                MessageIcon::None)),
                 answer);
    }

    void theSelectionBorderIsStrongAndLeavesTheTextInPlace() {
        QWidget window;
        window.setFont(DesignFont());
        window.setPalette(CabinetPalette());
        QLabel* yes = MakeLabel(&window, "Label6", QStringLiteral("Yes"), 0, 0, 1215, 615,
                                FontSpec{24, true});
        const QRect inside = yes->rect().adjusted(SelectionBorderWidth, SelectionBorderWidth,
                                                  -SelectionBorderWidth, -SelectionBorderWidth);
        const QRect plain = DarkPixels(yes->grab().toImage(), inside);
        QVERIFY(!plain.isEmpty());

        SetBorder(yes, true);
        QVERIFY(HasBorder(yes));
        QVERIFY(yes->frameWidth() >= 2);
        const QImage bordered = yes->grab().toImage();
        // The line is there all round, in the text's own black.
        for (const QPoint& edge : {QPoint(yes->width() / 2, 0), QPoint(0, yes->height() / 2),
                                   QPoint(yes->width() / 2, yes->height() - 1)}) {
            QCOMPARE(qGray(bordered.pixel(edge)), 0);
        }
        const QRect framed = DarkPixels(bordered, inside);
        QVERIFY(std::abs(framed.top() - plain.top()) <= SelectionBorderWidth);
        QVERIFY(std::abs(framed.left() - plain.left()) <= SelectionBorderWidth);
        QCOMPARE(framed.height(), plain.height());

        SetBorder(yes, false);
        QVERIFY(!HasBorder(yes));
        QCOMPARE(yes->frameWidth(), 0);
    }
};

QTEST_MAIN(LooksTest)
#include "looks_test.moc"
