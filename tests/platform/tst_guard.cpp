// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileBytes.h"
#include "InstanceGuard.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

// Starts the holder with the guard's lock at `lockPath` and answers its first line
// ("locked" or "busy"), or an empty string when it never said anything.
QByteArray startHolder(QProcess &holder, const QString &lockPath) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("VEK_INSTANCE_LOCK"), lockPath);
    holder.setProcessEnvironment(env);
    holder.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    holder.start(QStringLiteral(VEK_GUARD_HOLDER), {});
    if (!holder.waitForStarted(30000))
        return {};
    while (!holder.canReadLine()) {
        if (!holder.waitForReadyRead(30000))
            return {};
    }
    return holder.readLine().trimmed();
}

// What a run killed on this machine leaves in its lock: a process id no process has.
QByteArray deadOwner() {
    return "999999999\nvekselector\n" + QSysInfo::machineHostName().toUtf8() + "\n";
}

void stopHolder(QProcess &holder) {
    holder.closeWriteChannel();
    if (!holder.waitForFinished(30000)) {
        holder.kill();
        holder.waitForFinished(30000);
    }
}

} // namespace

class TestGuard : public QObject {
    Q_OBJECT

private slots:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(dir_->isValid());
        lockPath_ = dir_->filePath(QStringLiteral("instance.lock"));
        qputenv("VEK_INSTANCE_LOCK", QFile::encodeName(lockPath_));
    }

    void oneHolderInProcess() {
        InstanceGuard second;
        {
            InstanceGuard first;
            QVERIFY(first.tryAcquire());
            QVERIFY(QFileInfo::exists(lockPath_));
            QVERIFY2(first.tryAcquire(), "asking again while holding must not fail");
            QVERIFY(!second.tryAcquire());
            first.release();
            QVERIFY(second.tryAcquire());
            second.release();
            QVERIFY(first.tryAcquire());
        }
        // Leaving scope releases.
        QVERIFY(second.tryAcquire());
    }

    // The game folder's lock is apart from the instance lock: it follows the folder a guard
    // works in, and a second guard on the same folder learns which folder is busy.
    void folderLockFollowsTheFolder() {
        const QString one = dir_->filePath(QStringLiteral("one"));
        const QString two = dir_->filePath(QStringLiteral("two"));
        QVERIFY(QDir().mkdir(one) && QDir().mkdir(two));
        // What a process ended in the middle of removing a dead owner's lock leaves goes once
        // the lock is taken.
        const QString removal = QDir(one).filePath(InstanceGuard::FolderLockName + ".rmlock");
        QVERIFY(writeFile(removal, "4242\n"));
        // A lock a killed run left in `two`: taking it says so, and the start then looks for
        // what that run's writes left.
        QVERIFY(writeFile(QDir(two).filePath(InstanceGuard::FolderLockName), deadOwner()));
        InstanceGuard first;
        InstanceGuard second;
        QCOMPARE(first.lockGameFolder(one), InstanceGuard::Outcome::Taken);
        QVERIFY(!QFileInfo::exists(removal));
        QVERIFY(!first.tookLeftLock());
        QCOMPARE(first.lockGameFolder(one), InstanceGuard::Outcome::Taken);
        QVERIFY(QFileInfo::exists(QDir(one).filePath(InstanceGuard::FolderLockName)));
        QCOMPARE(second.lockGameFolder(one), InstanceGuard::Outcome::Busy);
        QVERIFY2(second.problem().contains(QDir::toNativeSeparators(one)),
                 qPrintable(second.problem()));
        QCOMPARE(first.lockGameFolder(two), InstanceGuard::Outcome::Taken);
        QVERIFY(first.tookLeftLock());
        QVERIFY(!QFileInfo::exists(QDir(one).filePath(InstanceGuard::FolderLockName)));
        QCOMPARE(second.lockGameFolder(one), InstanceGuard::Outcome::Taken);
        QCOMPARE(second.lockGameFolder(two), InstanceGuard::Outcome::Busy);
        // A folder that is not there cannot be locked, and that is no busy folder.
        QCOMPARE(first.lockGameFolder(dir_->filePath(QStringLiteral("none"))),
                 InstanceGuard::Outcome::Unavailable);
        QVERIFY2(first.problem().contains(QStringLiteral("does not exist")),
                 qPrintable(first.problem()));
    }

    // A run killed while it took over a dead run's lock leaves the removal's helper
    // "<lock>.rmlock" beside that lock, empty or naming itself: neither blocks the next start.
    void leftRemovalHelperDoesNotBlock_data() {
        QTest::addColumn<QByteArray>("helper");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("naming a dead run") << deadOwner();
    }

    void leftRemovalHelperDoesNotBlock() {
        QFETCH(QByteArray, helper);
        const QString folder = dir_->filePath(QStringLiteral("game"));
        QVERIFY(QDir().mkdir(folder));
        const QString lock = QDir(folder).filePath(InstanceGuard::FolderLockName);
        QVERIFY(writeFile(lock, deadOwner()) && writeFile(lock + ".rmlock", helper));
        InstanceGuard guard;
        QCOMPARE(guard.lockGameFolder(folder), InstanceGuard::Outcome::Taken);
        QVERIFY(!QFileInfo::exists(lock + ".rmlock"));
        QVERIFY(guard.tookLeftLock());
    }

    void heldElsewhereUntilTheHolderEnds_data() {
        QTest::addColumn<bool>("crash");
        QTest::addColumn<bool>("nextInThisProcess");
        QTest::newRow("released, next start in this process") << false << true;
        QTest::newRow("crashed, next start in this process") << true << true;
        QTest::newRow("crashed, next start in another process") << true << false;
    }

    void heldElsewhereUntilTheHolderEnds() {
        QFETCH(bool, crash);
        QFETCH(bool, nextInThisProcess);

        // While another process holds the guard, neither this process nor a third one gets it.
        QProcess holder;
        QCOMPARE(startHolder(holder, lockPath_), QByteArray("locked"));
        QVERIFY(!InstanceGuard().tryAcquire());
        QProcess rival;
        QCOMPARE(startHolder(rival, lockPath_), QByteArray("busy"));
        QVERIFY(rival.waitForFinished(30000));
        QCOMPARE(rival.exitCode(), 1);

        if (crash) {
            holder.kill(); // SIGKILL: no destructor runs, the lock file stays behind
            QVERIFY(holder.waitForFinished(30000));
            QCOMPARE(holder.exitStatus(), QProcess::CrashExit);
            QVERIFY2(QFileInfo::exists(lockPath_), "the crash should have left its lock file");
        } else {
            stopHolder(holder);
            QCOMPARE(holder.exitStatus(), QProcess::NormalExit);
            QCOMPARE(holder.exitCode(), 0);
        }

        if (nextInThisProcess) {
            InstanceGuard mine;
            QVERIFY(mine.tryAcquire());
        } else {
            QProcess next;
            QCOMPARE(startHolder(next, lockPath_), QByteArray("locked"));
            InstanceGuard mine;
            QVERIFY(!mine.tryAcquire());
            stopHolder(next);
        }
    }

    void unreadableLeftoverDoesNotBlock_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("ageSeconds");
        for (const int age : {0, 3600}) {
            const QByteArray when = age ? "an hour old" : "just left";
            QTest::newRow("empty, " + when) << QByteArray() << age;
            QTest::newRow("garbage, " + when) << QByteArray("not a lock\n\xff\n") << age;
        }
    }

    // A crash (or a power cut) between creating the lock file and writing the owner into it
    // leaves a file that names no process. Nothing holds it, so it must not block a start, not
    // even right after the crash.
    void unreadableLeftoverDoesNotBlock() {
        QFETCH(QByteArray, content);
        QFETCH(int, ageSeconds);

        QVERIFY(writeFile(lockPath_, content));
        QFile leftover(lockPath_);
        QVERIFY(leftover.open(QIODevice::ReadWrite));
        QVERIFY(leftover.setFileTime(QDateTime::currentDateTime().addSecs(-ageSeconds),
                                     QFileDevice::FileModificationTime));
        leftover.close();

        InstanceGuard mine;
        QVERIFY(mine.tryAcquire());
        InstanceGuard second;
        QVERIFY(!second.tryAcquire());
    }

private:
    std::unique_ptr<QTemporaryDir> dir_;
    QString lockPath_;
};

QTEST_GUILESS_MAIN(TestGuard)
#include "tst_guard.moc"
