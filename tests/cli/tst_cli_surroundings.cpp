// SPDX-License-Identifier: GPL-3.0-or-later
// The command-line tool in the player's surroundings: its progress bar on a terminal (drawn on
// one line, cleared at the end, never sharing its line with a message), and the attributes of
// what it loads whatever the umask.
#include "CliRun.h"
#include "TestFolders.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTest>

class TestCliSurroundings : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void umask_data() {
        QTest::addColumn<QString>("mask");
        for (const char *mask : {"077", "022", "000"})
            QTest::newRow(mask) << QString::fromLatin1(mask);
    }

    // A loaded file has normal attributes (read-write for its owner, readable by all) under
    // any umask.
    void umask() {
        QFETCH(QString, mask);
        TestFolders f;
        TestFolders::write(f.vek() + "/G-Clouds", "clouds.tpc", "new clouds");
        const CliRun r = CliRun::run({"-c", "umask " + mask + "; exec \"$0\" \"$@\"", VEK_CLI,
                                      "--game", f.game(), "--vek", f.vek(), "toggle", "G-Clouds"},
                                     QDir(f.root()).filePath("lock"), {}, {}, "/bin/sh");
        QCOMPARE(r.status, 0);
        const QFile::Permissions mode =
            QFile::permissions(QDir(f.game()).filePath("clouds.tpc")) & 0x7077;
        QCOMPARE(mode, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    }

    void bar_data() {
        QTest::addColumn<bool>("terminal");
        QTest::addColumn<bool>("readOnly"); // a loaded file made read-only: the unload complains
        QTest::newRow("not a terminal: no bar") << false << true;
        QTest::newRow("not a terminal, quiet unload") << false << false;
        QTest::newRow("terminal, quiet unload") << true << false;
        // The unload is refused before its first delete: the message comes with no bar drawn.
        QTest::newRow("terminal, a refusal before the first delete") << true << true;
    }

    void bar() {
        QFETCH(bool, terminal);
        QFETCH(bool, readOnly);
        const QString script = QStandardPaths::findExecutable(QStringLiteral("script"));
        if (terminal && script.isEmpty())
            QSKIP("no script(1) here to give the tool a terminal");
#ifndef VEK_POSIX_ROOMS
        if (terminal)
            QSKIP("the portable room knows no terminal: the tool writes plain lines");
#endif
        TestFolders f;
        TestFolders::write(f.vek() + "/G-Clouds", "clouds.tpc", "new clouds");
        TestFolders::write(f.vek() + "/G-Clouds", "sky01.pic", "new sky");
        const QString lock = QDir(f.root()).filePath(QStringLiteral("lock"));
        QStringList toggle{"--game", f.game(), "--vek", f.vek(), "toggle", "G-Clouds"};
        QCOMPARE(CliRun::run(toggle, lock).status, 0);
        // The status after it names the folders for the player at a terminal, not in a log.
        toggle << "+"
               << "status";
        const QString loaded = QDir(f.game()).filePath(QStringLiteral("clouds.tpc"));
        if (readOnly)
            QVERIFY(QFile::setPermissions(loaded, QFileDevice::ReadOwner));

        QByteArray shown; // what the player's terminal received
        if (terminal) {
            QStringList words{QStringLiteral(VEK_CLI)};
            for (const QString &a : toggle)
                words << "'" + a + "'";
            const CliRun r =
                CliRun::run({"-qec", words.join(' '), "/dev/null"}, lock, {}, {}, script);
            shown = r.out;
            QCOMPARE(r.status, readOnly ? 1 : 0);
        } else {
            const CliRun r = CliRun::run(toggle, lock);
            shown = r.err;
            QCOMPARE(r.status, readOnly ? 1 : 0);
        }
        QFile::setPermissions(loaded, QFileDevice::ReadOwner | QFileDevice::WriteOwner);

        const QByteArray folders = "Game folder: " + QDir::toNativeSeparators(f.game()).toUtf8() +
                                   "\r\nVEK folder: " + QDir::toNativeSeparators(f.vek()).toUtf8();
        QCOMPARE(shown.replace("\r\r\n", "\r\n").contains(folders), terminal && !readOnly);
        const QByteArray clear = "\r\033[K";
        QCOMPARE(shown.contains("] 0/2 "), terminal && !readOnly);
        if (terminal && !readOnly) // the bar is gone when the tool ends
            QVERIFY2(shown.endsWith(clear) || shown.lastIndexOf(clear) > shown.lastIndexOf("0/2"),
                     shown.constData());
        // A message starts a line of its own.
        const qsizetype title = shown.indexOf("VEK Selector");
        QCOMPARE(title >= 0, readOnly || terminal);
        if (title > 0)
            QVERIFY2(shown.at(title - 1) == '\n' ||
                         shown.mid(title - clear.size(), clear.size()) == clear,
                     shown.constData());
    }
};

QTEST_GUILESS_MAIN(TestCliSurroundings)
#include "tst_cli_surroundings.moc"
