// SPDX-License-Identifier: GPL-3.0-or-later
// The command-line tool's verify and repair, run by run as a player would: a file is
// deleted and another changed between runs.
#include "CliRun.h"
#include "Rows.h"
#include "TestFolders.h"

#include <QFile>
#include <QTest>

using L = QStringList;
using Out = QList<QByteArray>;
using Row = std::tuple<const char *, L, L, QList<int>, Out, L>;

class TestCliVerify : public QObject {
    Q_OBJECT
private Q_SLOTS:

    void verifyAndRepair() {
        // Each run: what is done to the game folder before it ("-" nothing, or "delete F" and
        // "change F" joined by "; "), its commands, its exit status, its stdout, and a text its
        // stderr holds.
        const Row rows[] = {
            {"whole, then a deleted and a changed file, repaired",
             L{"-", "delete a.dat; change shared.dat", "-", "-"},
             L{"toggle A-One + toggle G-Maps + verify", "verify", "repair", "verify"},
             QList<int>{0, 1, 0, 0},
             Out{"", "missing\tA-One\ta.dat\nchanged\tG-Maps\tshared.dat\n", "", ""},
             L{"", "(2 listed)", "a.dat from \"A-One\"", ""}},
            {"verify stops the run, repair with nothing to do", L{"-", "change a.dat", "-"},
             L{"toggle A-One", "verify + status", "repair + verify + status"}, QList<int>{0, 1, 0},
             Out{"", "changed\tA-One\ta.dat\n", "A-One\n"},
             L{"", "(1 listed)", "a.dat from \"A-One\""}},
            {"an unloaded folder leaves nothing to check", L{"-", "-"},
             L{"toggle A-One + toggle A-One", "verify + repair"}, QList<int>{0, 0}, Out{"", ""},
             L{"", "Nothing to repair: all loaded files are whole."}},
        };
        for (const auto &[tag, before, commands, status, out, err] : rows) {
            const CaseName inCase(tag);
            TestFolders f;
            TestFolders::plant(f.vek(), {"A-One/a.dat=A-One a", "A-One/shared.dat=A-One shared",
                                         "G-Maps/shared.dat=G-Maps shared"});
            for (int i = 0; i < commands.size(); ++i) {
                for (const QString &action : before[i].split("; ")) {
                    const QString file = action.section(' ', 1);
                    if (action.startsWith("delete"))
                        QVERIFY(QFile::remove(f.game() + "/" + file));
                    else if (action.startsWith("change"))
                        TestFolders::write(f.game(), file, "changed");
                }
                const CliRun r = CliRun::on(f.game(), f.vek(), commands[i].split(' '),
                                            lockDir_.filePath("lock"));
                QCOMPARE(r.status, status[i]);
                QCOMPARE(r.out, out[i]);
                QVERIFY2(QString::fromLocal8Bit(r.err).contains(err[i]), r.err.constData());
            }
        }
    }

private:
    QTemporaryDir lockDir_;
};

QTEST_GUILESS_MAIN(TestCliVerify)
#include "tst_cli_verify.moc"
