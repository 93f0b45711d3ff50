// SPDX-License-Identifier: GPL-3.0-or-later
// The "General" page's keyboard-control frame, music buttons and night switch, driven by
// mouse clicks as the player gives them.
#include "CheatCheck.h"
#include "FeaturesBox.h"
#include "FlexGrid.h"
#include "GeneralPage.h"
#include "MessageBoxPrompt.h"
#include "MusicBox.h"
#include "NightSwitch.h"
#include "Niteform.h"
#include "OpenSelector.h"
#include "ScriptedPrompt.h"
#include "Selector.h"
#include "TestFolders.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

namespace {
// On the indicator: a radio button or check box wider than its text takes clicks only there.
void clickIndicator(QWidget *w) {
    QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(8, w->height() / 2));
}

// The pointer as the window system moves it: enter and leave events, and a move delivered to
// the widget under it and on to its parents.
void movePointer(QWidget *w, QPoint at) {
    QTest::mouseMove(w->window()->windowHandle(), w->mapTo(w->window(), at));
}

// A point of the frame itself, on none of its controls.
QPoint bareSpot(QGroupBox *frame) {
    const QPoint at(frame->width() - 3, frame->height() - 3);
    return frame->childAt(at) ? QPoint() : at;
}

struct Page {
    TestFolders f;
    ScriptedPrompt prompt;
    std::unique_ptr<Selector> selector;
    std::unique_ptr<GeneralPage> page;

    Page() {
        TestFolders::write(f.game(), "flt.cdf", QByteArray(40000, '\0'));
        TestFolders::plant(f.game(),
                           {"KC=11 First\tD5\r\n22 Second\tC3\r\n33 Third\t1\r\n",
                            "Music/music.txt=Game\r\n", "MUSIC#Jazz/music.txt=Big band\r\n"});
        selector = openSelector(f, prompt);
        page = std::make_unique<GeneralPage>(*selector);
        QObject::connect(page.get(), &GeneralPage::changed, page.get(), &GeneralPage::refresh);
        page->resize(1000, 700);
        page->refresh();
        page->show();
        QVERIFY(QTest::qWaitForWindowExposed(page.get()));
    }
};
} // namespace

class TestGeneral : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void featureButtonsAndCheatCheck() {
        Page p;
        GeneralPage &g = *p.page;
        FeaturesBox &kc = *g.Frame13;
        const QAbstractItemModel &grid = *kc.G7->model();
        QCOMPARE(grid.rowCount(), 3);
        QCOMPARE(grid.headerData(0, Qt::Horizontal).toString(),
                 QStringLiteral("Feature to be disabled:"));
        QCOMPARE(grid.index(2, 0).data().toString(), QStringLiteral("33 Third"));
        QCOMPARE(grid.index(1, 1).data().toString(), QStringLiteral("C3"));
        for (int i = 0; i < 30; ++i)
            QCOMPARE(kc.Option13[i]->isVisible(), i < 3);
        QCOMPARE(kc.Option13[1]->text(), QStringLiteral("# 2"));

        clickIndicator(kc.Option13[1]);
        QCOMPARE(p.selector->FeatureNumber, 2);
        QCOMPARE(kc.Label21->text(), QStringLiteral("# 2"));
        QCOMPARE(kc.Label14->text(), QStringLiteral("22"));
        QCOMPARE(kc.HUDLab->text(), QStringLiteral("3"));

        clickIndicator(kc.Check4);
        QVERIFY(p.selector->Check4);
        QCOMPARE(TestFolders::read(p.f.game(), "flt.cdf").at(38257), '\x02');

        // A grid click shows the row; "OK! Set this one" applies it.
        const QRect cell = kc.G7->visualRect(grid.index(0, 0));
        QTest::mouseClick(kc.G7->viewport(), Qt::LeftButton, {}, cell.center());
        QCOMPARE(kc.Label14->text(), QStringLiteral("11"));
        QCOMPARE(kc.DispLab->text(), QStringLiteral("5"));
        QTest::mouseClick(kc.Command15, Qt::LeftButton);
        QCOMPARE(p.selector->ini.featureCodes, QStringList{"D5"});

        QTest::mouseClick(kc.Command12, Qt::LeftButton);
        QCOMPARE(p.selector->caption(), QStringLiteral("2"));
        QVERIFY(p.prompt.shown.isEmpty());
    }

    void musicButtonSwitchesAndStaysUnselected() {
        Page p;
        GeneralPage &g = *p.page;
        QVERIFY(g.Frame12->Option12[0]->isVisible());
        QVERIFY(!g.Frame12->Option12[1]->isVisible());
        QCOMPARE(g.Frame12->Option12[0]->text(), QStringLiteral("MUSIC#Jazz"));
        // The frame says which music plays, at the start and after each switch.
        QCOMPARE(g.Frame12->MusicPlaying->text(), QStringLiteral("Now playing: Game"));
        clickIndicator(g.Frame12->Option12[0]);
        QVERIFY(!g.Frame12->Option12[0]->isChecked());
        QCOMPARE(TestFolders::read(p.f.game() + "/Music", "music.txt"), QByteArray("Big band\r\n"));
        QCOMPARE(g.Frame12->MusicPlaying->text(), QStringLiteral("Now playing: Big band"));
        QVERIFY(QFile::remove(p.f.game() + "/MUSIC#Jazz/music.txt"));
        clickIndicator(g.Frame12->Option12[0]);
        QCOMPARE(g.Frame12->MusicPlaying->text(),
                 QStringLiteral("Now playing: the set that was MUSIC#Jazz"));
    }

    void nightswitchWindow() {
        Page p;
        GeneralPage &g = *p.page;
        // A program with the day bytes of version 1.2 only.
        QByteArray exe(700000, '\0');
        exe.replace(NightSwitch::Versions[0].offset, 2, NightSwitch::NormalBytes);
        TestFolders::write(p.f.game(), "eaw.exe", exe);
        QTest::mouseClick(g.Command14, Qt::LeftButton);
        QVERIFY(g.niteform && g.niteform->isVisible());
        QCOMPARE(g.niteform->windowTitle(), QStringLiteral("Nox's nightpatch"));
        QVERIFY(g.niteform->niteopt[0]->isChecked());
        const QString day = QStringLiteral("Now: day missions (EAW Version 1.2 and variants).");
        QCOMPARE(g.niteform->NowLabel->text(), day);
        // Not version 1.2a: the switch refuses and leaves it alone.
        clickIndicator(g.niteform->niteopt[3]);
        QTest::mouseClick(g.niteform->nitebut, Qt::LeftButton);
        QCOMPARE(TestFolders::read(p.f.game(), "eaw.exe"), exe);
        QCOMPARE(p.prompt.shown.size(), 1);
        QVERIFY(p.prompt.shown.at(0).text.contains("EAW Version 1.2a"));
        QCOMPARE(g.niteform->NowLabel->text(), day);
        clickIndicator(g.niteform->niteopt[0]);
        QTest::mouseClick(g.niteform->nitebut, Qt::LeftButton);
        QCOMPARE(g.niteform->NowLabel->text(),
                 QStringLiteral("Now: night missions (EAW Version 1.2 and variants)."));
    }

    void exitQuestionShowsItsWholeTitle() {
        MessageBoxPrompt prompt;
        int width = 0, wanted = 0;
        // Looked at once the question is up, then answered with Enter as the player would.
        QTimer::singleShot(0, [&] {
            QWidget *box = QApplication::activeModalWidget();
            QVERIFY(box);
            width = box->width();
            wanted = box->fontMetrics().horizontalAdvance(CheatCheck::ExitTitle);
            QTest::keyClick(box, Qt::Key_Return);
        });
        QVERIFY(prompt.message(CheatCheck::ExitTitle, CheatCheck::ExitText, Prompt::Icon::None,
                               Prompt::Buttons::OkCancel));
        // Room for the title and for the title bar's icon and buttons beside it.
        QVERIFY2(width > wanted + 100,
                 qPrintable(QStringLiteral("%1 <= %2 + 100").arg(width).arg(wanted)));
    }

    void hintsFollowThePointer_data() {
        QTest::addColumn<QString>("musicTxt");
        QTest::newRow("a described music set") << QStringLiteral("Big band\r\n");
        // An empty first line empties the caption: the buttons must not move under the pointer.
        QTest::newRow("an empty music.txt") << QStringLiteral("\r\n");
    }

    void hintsFollowThePointer() {
        QFETCH(QString, musicTxt);
        Page p;
        TestFolders::write(p.f.game() + "/MUSIC#Jazz", "music.txt", musicTxt.toLatin1());
        GeneralPage &g = *p.page;
        const QPoint button = g.Frame12->Option12[0]->mapTo(&g, QPoint());

        // The description stays while the pointer moves on the button, and goes on the frame.
        movePointer(g.Frame13->Option13[1], QPoint(8, 4));
        movePointer(g.Frame13->Option13[1], QPoint(10, 6));
        QCOMPARE(g.Frame13->Label18->text(), QStringLiteral("22 Second"));
        QVERIFY(!bareSpot(g.Frame13).isNull());
        movePointer(g.Frame13, bareSpot(g.Frame13));
        QCOMPARE(g.Frame13->Label18->text(), QString());

        movePointer(g.Frame12->Option12[0], QPoint(8, 4));
        movePointer(g.Frame12->Option12[0], QPoint(10, 6));
        QCOMPARE(g.Frame12->title().trimmed(), musicTxt.trimmed());
        QCOMPARE(g.Frame12->Option12[0]->mapTo(&g, QPoint()), button);
        QVERIFY(!bareSpot(g.Frame12).isNull());
        movePointer(g.Frame12, bareSpot(g.Frame12));
        QCOMPARE(g.Frame12->title().trimmed(), QString());
        QCOMPARE(g.Frame12->Option12[0]->mapTo(&g, QPoint()), button);
        QVERIFY(p.prompt.shown.isEmpty());
    }
};

QTEST_MAIN(TestGeneral)
#include "tst_general.moc"
