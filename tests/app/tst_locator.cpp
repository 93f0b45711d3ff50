// SPDX-License-Identifier: GPL-3.0-or-later
#include "Locator.h"
#include "ScriptedPrompt.h"
#include "TestFolders.h"

#include <QFile>
#include <QTest>

class TestLocator : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void okFollowsTheVekFolderAndEawOptionMovesTheGameLabel() {
        TestFolders f;
        const QString upper = f.root() + QStringLiteral("/Upper");
        TestFolders::write(upper, QStringLiteral("LINKSCREEN"));
        ScriptedPrompt prompt;
        Locator locator(prompt);
        // A first start waits (the labels and the disabled OK it shows are the window's test).
        QCOMPARE(locator.start(f.game()), Locator::Start::Waiting);
        QVERIFY(prompt.shown.isEmpty());
        locator.folderChanged(upper); // any case of the marker's name counts
        QVERIFY(locator.Command1);
        QCOMPARE(locator.Label1, upper);
        locator.folderChanged(f.game());
        QVERIFY(!locator.Command1);
        QCOMPARE(locator.Label1, f.game());
        locator.folderChanged(f.vek());
        QVERIFY(locator.Command1);

        // Under "EAW Folder" the folder list changes only the game folder's label, and only a
        // folder holding the game's program (any case) keeps OK enabled; the locator says why
        // it is not.
        locator.selectOption(1);
        locator.folderChanged(f.root());
        QCOMPARE(locator.Label3, f.root());
        QCOMPARE(locator.Label1, f.vek());
        QVERIFY(!locator.Command1);
        QVERIFY2(locator.whyNotOk().contains(QStringLiteral("holds no eaw.exe")),
                 qPrintable(locator.whyNotOk()));
        TestFolders::write(upper, QStringLiteral("EAW.EXE"));
        locator.folderChanged(upper);
        QVERIFY(locator.Command1);
        QVERIFY(locator.whyNotOk().isEmpty());
        locator.selectOption(0);
        locator.folderChanged(f.root());
        QVERIFY(!locator.Command1);
        QVERIFY(locator.whyNotOk().contains(QStringLiteral("\"linkscreen\"")));
    }

    void okCreatesMissingFilesAndKeepsExistingOnes() {
        TestFolders f;
        TestFolders::write(f.vek(), QStringLiteral("foldersloaded.txt"), "A-Kept\r\n\r\n");
        ScriptedPrompt prompt;
        Locator locator(prompt);
        locator.start(f.game());
        locator.folderChanged(f.vek());
        const Folders folders = locator.ok();
        QCOMPARE(folders.GameFolder, f.game());
        QCOMPARE(folders.ModFolder, f.vek());
        QCOMPARE(folders.LastModFolder, QStringLiteral("None"));
        QCOMPARE(TestFolders::read(f.game(), QStringLiteral("LastVEKDir")), QByteArray("None\r\n"));
        // The existing ledger is found under another case and left alone; no second file appears.
        QCOMPARE(TestFolders::read(f.vek(), QStringLiteral("foldersloaded.txt")),
                 QByteArray("A-Kept\r\n\r\n"));
        QVERIFY(!TestFolders::exists(f.vek(), QStringLiteral("FoldersLoaded.txt")));
        QCOMPARE(TestFolders::read(f.vek(), QStringLiteral("PlanesLoaded.txt")), QByteArray());
        QVERIFY(prompt.shown.isEmpty());
    }

    void rememberedFolder() {
        // program: the game folder holds eaw.exe
        const std::tuple<QString, bool, bool, bool> rows[] = {
            {QStringLiteral("<vek>"), true, false, true},       // VEK folder
            {QStringLiteral("None"), false, false, true},       // None
            {QStringLiteral("<game>"), false, true, true},      // not a VEK folder
            {QStringLiteral("<root>/gone"), false, true, true}, // gone
            // A LastVEKDir alone does not make a game folder: the locator waits, the VEK folder
            // chosen, and says what is missing.
            {QStringLiteral("<vek>"), false, false, false}, // no game program
        };
        for (auto [firstLine, automatic, told, program] : rows) {
            TestFolders f;
            if (!program)
                QVERIFY(QFile::remove(f.game() + QStringLiteral("/eaw.exe")));
            firstLine.replace(QStringLiteral("<vek>"), f.vek())
                .replace(QStringLiteral("<game>"), f.game())
                .replace(QStringLiteral("<root>"), f.root());
            TestFolders::write(f.game(), QStringLiteral("lastvekdir"),
                               firstLine.toLocal8Bit() + "\r\nsecond line is never read\r\n");
            ScriptedPrompt prompt;
            Locator locator(prompt);
            const Locator::Start start = locator.start(f.game());
            QCOMPARE(start == Locator::Start::Automatic, automatic);
            QCOMPARE(locator.Label1, firstLine);
            QCOMPARE(!locator.startProblem.isEmpty(), told);
            if (automatic) {
                const Folders folders = locator.ok();
                QCOMPARE(folders.ModFolder, f.vek());
                QCOMPARE(folders.LastModFolder, f.vek());
                QVERIFY(!TestFolders::exists(f.game(), QStringLiteral("LastVEKDir")));
            } else {
                QVERIFY(!locator.Command1);
                QCOMPARE(locator.whyNotOk().contains(QStringLiteral("eaw.exe")), !program);
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestLocator)
#include "tst_locator.moc"
