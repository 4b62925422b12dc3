#include "support/temp_folder.h"

#include <QFile>
#include <QProcess>
#include <QTest>

using namespace fav::test;

namespace {

// Generous bounds against a hang, not timings.
constexpr int StartBoundMs = 30000;

// The offscreen platform, with its own runtime and temporary folders when given one.
QProcessEnvironment Offscreen(const QString& ownFolders = {}) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    if (!ownFolders.isEmpty()) {
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), ownFolders);
        environment.insert(QStringLiteral("TMPDIR"), ownFolders);
    }
    return environment;
}

void Start(QProcess& process, const QString& program, const QString& ownFolders = {}) {
    process.setProcessEnvironment(Offscreen(ownFolders));
    process.setProgram(program);
    process.start();
}

// The process id written in the program folder's single-copy lock, 0 when there is none.
qint64 LockHolder(const TempFolder& folder) {
    QFile lock(QString::fromStdString(folder / "favorizer.lock"));
    if (!lock.open(QIODevice::ReadOnly)) {
        return 0;
    }
    return lock.readLine().trimmed().toLongLong();
}

void Stop(QProcess& process) {
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished(StartBoundMs);
    }
}

} // namespace

class SingleCopyTest : public QObject {
    Q_OBJECT

private slots:
    void aSecondCopyEndsAtOnceWithoutDoingAnything() {
        TempFolder folder;
        const QString program = QString::fromStdString(folder / "favorizer");
        QVERIFY(QFile::copy(QStringLiteral(FAVORIZER_BINARY), program));
        const std::string settings = folder / "favorize.cfg";

        QProcess first;
        Start(first, program);
        QVERIFY(first.waitForStarted(StartBoundMs));
        // Its settings file is written after it has taken the single-copy lock, in its folder.
        QTRY_VERIFY_WITH_TIMEOUT(Exists(settings), StartBoundMs);
        QCOMPARE(LockHolder(folder), first.processId());

        // Started from another environment (a service beside the desktop, say), with runtime and
        // temporary folders of its own, it still meets the first copy's lock.
        TempFolder elsewhere;
        QProcess second;
        Start(second, program, QString::fromStdString(elsewhere.path()));
        QVERIFY(second.waitForFinished(StartBoundMs));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QCOMPARE(LockHolder(folder), first.processId());
        QVERIFY(!Exists(folder / "favorlog.txt"));
        QCOMPARE(first.state(), QProcess::Running);

        // A copy that died leaves a lock behind; the next start takes it over.
        Stop(first);
        QProcess third;
        Start(third, program);
        QVERIFY(third.waitForStarted(StartBoundMs));
        QTRY_COMPARE_WITH_TIMEOUT(LockHolder(folder), third.processId(), StartBoundMs);
        QCOMPARE(third.state(), QProcess::Running);
        Stop(third);
    }
};

QTEST_GUILESS_MAIN(SingleCopyTest)
#include "single_copy_test.moc"
