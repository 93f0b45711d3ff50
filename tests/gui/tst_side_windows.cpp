// SPDX-License-Identifier: GPL-3.0-or-later
#include "Airgrid.h"
#include "DemoPlanesDat.h"
#include "DemoWindows.h"
#include "FlexGrid.h"
#include "GeneralPage.h"
#include "Niteform.h"
#include "SRForm.h"
#include "ScriptedPrompt.h"
#include "SelectorWindows.h"
#include "StringFile.h"
#include "TestFolders.h"
#include "VEKForm.h"
#include "Views.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

// The side windows as the player meets them: opened from the main window, showing what their
// engine models hold and passing the player's clicks and keys on. The rules themselves are
// tested on the models.
class TestSideWindows : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void planesDatEditor_data() {
        QTest::addColumn<bool>("withPlanesDat");
        QTest::newRow("planes.dat in the game folder") << true;
        QTest::newRow("no planes.dat: told, no window") << false;
    }

    void planesDatEditor() {
        QFETCH(bool, withPlanesDat);
        DemoWindows w(TestFolders::WithGameFiles);
        auto &[f, prompt, windows] = w;
        QByteArray dat = DemoPlanesDat::file(0);
        dat[29 * 216 + 8] = 16;
        if (withPlanesDat)
            TestFolders::write(f.game(), QStringLiteral("Planes.dat"), dat);
        QVERIFY(w.start());
        VEKForm *form = w.form();
        QVERIFY(form->general->Command13->isEnabled());
        QTest::mouseClick(form->general->Command13, Qt::LeftButton);
        Airgrid *airgrid = form->airgrid();
        if (!withPlanesDat) {
            QVERIFY(!airgrid || !airgrid->isVisible());
            QCOMPARE(prompt.shown.size(), 1);
            QVERIFY(prompt.shown.first().text.contains(QStringLiteral("no planes.dat")));
            return;
        }
        QVERIFY(airgrid && airgrid->isVisible());
        QCOMPARE(airgrid->windowTitle(), QStringLiteral("Online Planes.dat binary editor"));
        QCOMPARE(airgrid->List1->count(), 30);
        // The list taking the focus chooses nothing: no record is shown until the player picks.
        QVERIFY(QTest::qWaitForWindowActive(airgrid));
        airgrid->List1->setFocus(Qt::TabFocusReason);
        QVERIFY(!airgrid->editor().Loaded);
        QVERIFY(!airgrid->G1->model()->index(0, 0).data().isValid());
        QVERIFY(!airgrid->Check1[5]->isEnabled());

        airgrid->List1->scrollToBottom();
        const QRect v1 = airgrid->List1->visualItemRect(airgrid->List1->item(29));
        QTest::mouseClick(airgrid->List1->viewport(), Qt::LeftButton, {}, v1.center());
        QAbstractItemModel *g1 = airgrid->G1->model();
        QCOMPARE(g1->index(0, 0).data().toInt(), 6269);
        QCOMPARE(g1->index(167, 0).data().toInt(), 6436);
        QCOMPARE(g1->index(167, 4).data().toInt(), 168);
        QVERIFY(airgrid->Check1[4]->isChecked());
        // The frame's caption comes with the first click; the boxes stay where they were.
        const QPoint box = airgrid->Check1[5]->mapTo(airgrid, QPoint());
        QTest::mouseClick(airgrid->Check1[5], Qt::LeftButton, {},
                          QPoint(4, airgrid->Check1[5]->height() / 2));
        QCOMPARE(airgrid->Check1[5]->mapTo(airgrid, QPoint()), box);
        QVERIFY(airgrid->Check1[5]->isChecked());
        QVERIFY(!airgrid->Check1[4]->isChecked());
        QCOMPARE(airgrid->F1->title(), QStringLiteral("32"));
        QCOMPARE(g1->index(4, 1).data().toInt(), 32);
        dat[29 * 216 + 8] = 32;
        QCOMPARE(TestFolders::read(f.game(), QStringLiteral("Planes.dat")), dat);
        QVERIFY(prompt.shown.isEmpty());
        QCOMPARE(airgrid->objectName(), QStringLiteral("Airgrid"));
        QVERIFY(escapeCloses(airgrid));
        QVERIFY(form->isVisible());
    }

    void stringEditorWithALargeFile() {
        DemoWindows w(TestFolders::WithGameFiles);
        auto &[f, prompt, windows] = w;
        // About 100 KB: more than the game's own tools could make, still readable.
        QList<QByteArray> strings;
        for (int i = 0; i < 1000; ++i)
            strings << QByteArray(99, char('a' + i % 26));
        QByteArray big;
        QVERIFY(StringFile::build(strings.mid(0, 300), &big));
        for (int i = 300; i < strings.size(); ++i)
            big += strings.at(i) + '\0';
        TestFolders::write(f.game(), QStringLiteral("pnames.str"), big);
        QVERIFY(w.start());
        VEKForm *form = w.form();
        QTest::mouseClick(form->EditStrings, Qt::LeftButton);
        SRForm *sr = form->srForm();
        QVERIFY(sr && sr->isVisible());
        QCOMPARE(sr->windowTitle(), QStringLiteral("EAW Stringfile editing/making utiliy"));

        QTest::mouseClick(sr->Command1, Qt::LeftButton);
        QCOMPARE(sr->SFG1->model()->columnCount(), big.size());
        QCOMPARE(sr->SFG2->model()->rowCount(), 1000);
        QCOMPARE(sr->SFG1->horizontalScrollBar()->value(), 8 + 4 * 300);
        QCOMPARE(sr->SFG1->model()->index(2, 1208).data().toInt(), 1209);

        // A key typed in the byte view writes that byte.
        sr->SFG1->setFocus();
        sr->SFG1->setCurrentIndex(sr->SFG1->model()->index(0, 1208));
        QTest::keyClick(sr->SFG1, Qt::Key_Z, Qt::NoModifier);
        QCOMPARE(sr->SFG1->model()->index(0, 1208).data().toString(), QStringLiteral("z"));
        QCOMPARE(TestFolders::read(f.game(), QStringLiteral("pnames.str")).at(1208), 'z');

        // Right button on a row fills the text box; Replace puts the edited text back.
        const QRect row2 = sr->SFG2->visualRect(sr->SFG2->model()->index(2, 0));
        QTest::mouseClick(sr->SFG2->viewport(), Qt::RightButton, {}, row2.center());
        QCOMPARE(sr->SRText->text(), QString(99, QLatin1Char('c')));
        sr->SRText->clear();
        QTest::keyClicks(sr->SRText, QStringLiteral("Renamed"));
        QTest::mouseClick(sr->Command9, Qt::LeftButton);
        QCOMPARE(sr->SFG2->model()->index(2, 0).data().toString(), QStringLiteral("Renamed"));
        // The context-menu keys do the right click for the current row.
        sr->SFG2->setFocus();
        for (const auto &[row, key, modifiers] :
             {std::tuple{3, Qt::Key_Menu, Qt::NoModifier}, {4, Qt::Key_F10, Qt::ShiftModifier}}) {
            sr->SFG2->setCurrentIndex(sr->SFG2->model()->index(row, 0));
            QTest::keyClick(sr->SFG2, key, modifiers);
            QCOMPARE(sr->SRText->text(), QString(99, QLatin1Char('a' + row)));
        }
        QVERIFY(prompt.shown.isEmpty());
        QCOMPARE(sr->objectName(), QStringLiteral("SRForm"));
        QVERIFY(escapeCloses(sr));
        QVERIFY(form->isVisible());
    }
};

QTEST_MAIN(TestSideWindows)
#include "tst_side_windows.moc"
