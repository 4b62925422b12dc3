#include "core/errors/error_log.h"
#include "support/test_app.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <filesystem>

using namespace fav;
using namespace fav::test;

namespace {

const QString DriveMessage =
    QStringLiteral("You have chosen a drive that is not acessible, please choose another.");
const QString CorruptedMessage = QStringLiteral(
    "The favorize.cfg file appears to be corrupted. Favorize.cfg has been deleted, you will need "
    "to re-setup the program, using your keyboard and mouse.");
const QString PathMessage = QStringLiteral(
    "The favorize.cfg file has a path that is not available. Favorize.cfg has been deleted. You "
    "need to set up the appropiate path to Kabinet. You will need to hook up your mouse and "
    "keyboard to do this.");

const std::string FirstLogLine = std::string(ErrorLogFirstLine) + "\r\n";

QString Text(TestApp& t, const char* name) {
    Form* form = t.windows().Find(FormId::Form5);
    return form == nullptr ? QString() : form->findChild<QLabel*>(name)->text();
}

std::string LogPath(const TestApp& t) {
    return t.programDir + "/favorlog.txt";
}

std::string LogLine(const Failure& failure) {
    return ErrorLogLine(FixedDateTime, failure) + "\r\n";
}

} // namespace

class ErrorScreenTest : public QObject {
    Q_OBJECT

private slots:
    void showsExplainsAndLogsEachCode_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("explanation");
        QTest::addColumn<bool>("settingsKept");
        // Whether a log is there already; the first error creates it with its first line.
        QTest::addColumn<bool>("logged");
        QTest::newRow("52") << 52 << CorruptedMessage << false << true;
        QTest::newRow("68") << 68 << DriveMessage << true << true;
        QTest::newRow("76") << 76 << PathMessage << false << true;
        QTest::newRow("76, the first error") << 76 << PathMessage << false << false;
        QTest::newRow("380") << 380 << CorruptedMessage << false << true;
        QTest::newRow("53") << 53 << QString() << true << true;
        QTest::newRow("negative") << -5 << QString() << true << true;
    }

    void showsExplainsAndLogsEachCode() {
        QFETCH(int, code);
        QFETCH(QString, explanation);
        QFETCH(bool, settingsKept);
        QFETCH(bool, logged);
        TestApp t;
        t.WriteSettings();
        const std::string earlier =
            FirstLogLine + (logged ? "1/1/26 8:00:00 AM Favorizer encounted error# 53 "
                                     "---File not found\r\n"
                                   : "");
        if (logged) {
            WriteBytes(LogPath(t), earlier);
        }

        const Failure failure = MakeFailure(code, "/cabinet/kabinet.cfg");
        t.app.ShowError(failure);

        QVERIFY(t.windows().IsVisible(FormId::Form5));
        QCOMPARE(Text(t, "Label1"), QStringLiteral("Error# %1 was encountered.").arg(code));
        QCOMPARE(Text(t, "Label4"), QStringLiteral("Error Description:"));
        QCOMPARE(Text(t, "Label3"), QString::fromStdString(failure.description));
        QCOMPARE(Text(t, "Label2"), explanation);
        QCOMPARE(Exists(t.programDir + "/favorize.cfg"), settingsKept);
        QCOMPARE(ReadBytes(LogPath(t)), earlier + LogLine(failure));
    }

    void deletesNothingWhenThereIsNoOrdinarySettingsFile() {
        TestApp t;
        std::filesystem::create_directory(t.programDir + "/favorize.cfg");
        t.app.ShowError(MakeFailure(ErrorCode::InvalidPropertyValue, "x"));
        QCOMPARE(Text(t, "Label2"), CorruptedMessage);
        QVERIFY(std::filesystem::is_directory(t.programDir + "/favorize.cfg"));

        TestApp none;
        none.app.ShowError(MakeFailure(ErrorCode::BadFileName, "x"));
        QCOMPARE(Text(none, "Label2"), CorruptedMessage);
        QVERIFY(!Exists(none.programDir + "/favorize.cfg"));
        QVERIFY(Exists(LogPath(none)));
    }

    void aLogThatCannotBeWrittenIsNotedOnTheScreen() {
        TestApp t;
        std::filesystem::create_directory(LogPath(t));
        t.app.ShowError(MakeFailure(ErrorCode::FileNotFound, "/x"));
        QVERIFY(t.windows().IsVisible(FormId::Form5));
        QVERIFY(Text(t, "Label2").contains(QStringLiteral("could not be written")));
        t.Press(Qt::Key_Escape);
        QVERIFY(t.ended);
    }

    void aSecondErrorReusesTheShownScreen() {
        TestApp t;
        const Failure first = MakeFailure(ErrorCode::PathNotFound, "/a");
        t.app.ShowError(first);
        t.app.ShowError(MakeFailure(ErrorCode::DiskFull, "/b"));
        QCOMPARE(Text(t, "Label1"), QStringLiteral("Error# 76 was encountered."));
        QCOMPARE(ReadBytes(LogPath(t)), FirstLogLine + LogLine(first));
    }

    void escOrAClickClosesItAndTheProgramGoesOn() {
        TestApp t;
        t.app.ShowError(MakeFailure(ErrorCode::FileNotFound, "/x"));
        t.Press(Qt::Key_Escape);
        QVERIFY(!t.windows().IsLoaded(FormId::Form5));
        QVERIFY(t.ended);

        TestApp clicked;
        clicked.app.ShowError(MakeFailure(ErrorCode::FileNotFound, "/x"));
        auto* button = clicked.windows().Find(FormId::Form5)->findChild<QPushButton*>("Command1");
        QCOMPARE(button->text(), QStringLiteral("Press ESC"));
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(!clicked.windows().IsLoaded(FormId::Form5));
        // A new error after closing loads the screen afresh.
        clicked.ended = false;
        clicked.app.ShowError(MakeFailure(ErrorCode::DiskFull, "/y"));
        QCOMPARE(Text(clicked, "Label1"), QStringLiteral("Error# 61 was encountered."));
    }
};

QTEST_MAIN(ErrorScreenTest)
#include "error_screen_test.moc"
