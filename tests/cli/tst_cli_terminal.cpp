// The command-line tool's progress bar on a terminal: drawn on one line, cleared at the end,
// and never sharing its line with a message.
#include "CliRun.h"
#include "TestFolders.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTest>

class TestCliTerminal : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void bar_data() {
        QTest::addColumn<bool>("terminal");
        QTest::addColumn<bool>("readOnly"); // a loaded file made read-only: the unload complains
        QTest::newRow("not a terminal: no bar") << false << true;
        QTest::newRow("terminal, quiet unload") << true << false;
        QTest::newRow("terminal, a message mid-operation") << true << true;
    }

    void bar() {
        QFETCH(bool, terminal);
        QFETCH(bool, readOnly);
        const QString script = QStandardPaths::findExecutable(QStringLiteral("script"));
        if (terminal && script.isEmpty())
            QSKIP("no script(1) here to give the tool a terminal");
        TestFolders f;
        TestFolders::write(f.vek() + "/G-Clouds", "clouds.tpc", "new clouds");
        TestFolders::write(f.vek() + "/G-Clouds", "sky01.pic", "new sky");
        const QString lock = QDir(f.root()).filePath(QStringLiteral("lock"));
        const QStringList toggle{"--game", f.game(), "--vek", f.vek(), "toggle", "G-Clouds"};
        QCOMPARE(CliRun::run(toggle, lock).status, 0);
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
            QCOMPARE(r.status, 1);
        }
        QFile::setPermissions(loaded, QFileDevice::ReadOwner | QFileDevice::WriteOwner);

        const QByteArray clear = "\r\033[K";
        QCOMPARE(shown.contains("] 0/2 "), terminal);
        QCOMPARE(shown.contains("\033["), terminal);
        if (terminal) // the bar is gone when the tool ends
            QVERIFY2(shown.endsWith(clear) || shown.lastIndexOf(clear) > shown.lastIndexOf("0/2"),
                     shown.constData());
        // A message starts a line of its own.
        const qsizetype title = shown.indexOf("VEK Selector");
        QCOMPARE(title >= 0, readOnly);
        if (title > 0)
            QVERIFY2(shown.at(title - 1) == '\n' ||
                         shown.mid(title - clear.size(), clear.size()) == clear,
                     shown.constData());
    }
};

QTEST_GUILESS_MAIN(TestCliTerminal)
#include "tst_cli_terminal.moc"
