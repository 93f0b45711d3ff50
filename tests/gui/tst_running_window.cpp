// SPDX-License-Identifier: GPL-3.0-or-later
#include "RunningWindow.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

// A second start reaches the selector that runs through a socket named after the instance
// lock: it is asked to come to the front, whatever a crashed selector left behind.
class TestRunningWindow : public QObject {
    Q_OBJECT
private slots:
    void init() {
        qputenv("VEK_INSTANCE_LOCK", QFile::encodeName(dir_.filePath(QTest::currentDataTag())));
    }

    void secondStartReachesTheFirst_data() {
        QTest::addColumn<bool>("listening");
        QTest::addColumn<bool>("leftBehind"); // a file where the socket goes, as a crash leaves
        QTest::newRow("one runs") << true << false;
        QTest::newRow("one runs after a crash") << true << true;
        QTest::newRow("none runs") << false << false;
        QTest::newRow("none runs, a crash's socket left") << false << true;
    }

    void secondStartReachesTheFirst() {
        QFETCH(bool, listening);
        QFETCH(bool, leftBehind);
        const QString socketPath = QDir::temp().filePath(RunningWindow::serverName());
        if (leftBehind) {
            QFile stale(socketPath);
            QVERIFY(stale.open(QIODevice::WriteOnly));
        }
        RunningWindow first;
        QSignalSpy asked(&first, &RunningWindow::showRequested);
        if (listening)
            QVERIFY(first.listen());
        QCOMPARE(RunningWindow::askToShow(300), listening);
        if (listening)
            QTRY_COMPARE(asked.count(), 1);
        QFile::remove(socketPath);
    }

    // Each instance lock has a socket of its own: two users (or two tests) never reach each
    // other's selector.
    void oneSocketPerInstanceLock() {
        const QString a = RunningWindow::serverName();
        qputenv("VEK_INSTANCE_LOCK", QFile::encodeName(dir_.filePath("other")));
        QVERIFY(RunningWindow::serverName() != a);
    }

private:
    QTemporaryDir dir_;
};

QTEST_GUILESS_MAIN(TestRunningWindow)
#include "tst_running_window.moc"
