// The "General" page's keyboard-control frame, music buttons and night switch, driven by
// mouse clicks as the player gives them.
#include "GeneralPage.h"
#include "KeyboardFeatures.h"
#include "Niteform.h"
#include "ScriptedPrompt.h"
#include "Selector.h"
#include "TestFolders.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>

class TestGeneral : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void featureButtonsAndCheatCheck();
    void musicButtonSwitchesAndStaysUnselected();
    void nightswitchWindow();
};

namespace {
// On the indicator: a radio button or check box wider than its text takes clicks only there.
void clickIndicator(QWidget *w) {
    QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(8, w->height() / 2));
}

struct Page {
    TestFolders f;
    ScriptedPrompt prompt;
    std::unique_ptr<Selector> selector;
    std::unique_ptr<GeneralPage> page;

    Page() {
        TestFolders::write(f.game(), "KC", "11 First\tD5\r\n22 Second\tC3\r\n33 Third\t1\r\n");
        TestFolders::write(f.game(), "flt.cdf", QByteArray(40000, '\0'));
        TestFolders::write(f.game() + "/Music", "music.txt", "Game\r\n");
        TestFolders::write(f.game() + "/MUSIC#Jazz", "music.txt", "Big band\r\n");
        selector = std::make_unique<Selector>(Folders{f.game(), f.vek(), f.vek()}, prompt);
        selector->load();
        page = std::make_unique<GeneralPage>(*selector);
        QObject::connect(page.get(), &GeneralPage::changed, page.get(), &GeneralPage::refresh);
        page->resize(1000, 700);
        page->refresh();
        page->show();
        QVERIFY(QTest::qWaitForWindowExposed(page.get()));
    }
};
} // namespace

void TestGeneral::featureButtonsAndCheatCheck() {
    Page p;
    GeneralPage &g = *p.page;
    QCOMPARE(g.G7->rowCount(), 3);
    QCOMPARE(g.G7->horizontalHeaderItem(0)->text(), QStringLiteral("Feature to be disabled:"));
    for (int i = 0; i < 30; ++i)
        QCOMPARE(g.Option13[i]->isVisible(), i < 3);
    QCOMPARE(g.Option13[1]->text(), QStringLiteral("# 2"));

    clickIndicator(g.Option13[1]);
    QCOMPARE(p.selector->FeatureNumber, 2);
    QCOMPARE(g.Label21->text(), QStringLiteral("# 2"));
    QCOMPARE(g.Label14->text(), QStringLiteral("22"));
    QCOMPARE(g.HUDLab->text(), QStringLiteral("3"));

    clickIndicator(g.Check4);
    QVERIFY(p.selector->Check4);
    QCOMPARE(TestFolders::read(p.f.game(), "flt.cdf").at(38257), '\x02');

    // A grid click shows the row; "OK! Set this one" applies it.
    const QRect cell = g.G7->visualItemRect(g.G7->item(0, 0));
    QTest::mouseClick(g.G7->viewport(), Qt::LeftButton, {}, cell.center());
    QCOMPARE(g.Label14->text(), QStringLiteral("11"));
    QCOMPARE(g.DispLab->text(), QStringLiteral("5"));
    QTest::mouseClick(g.Command15, Qt::LeftButton);
    QCOMPARE(p.selector->ini.featureCodes, QStringList{"D5"});

    QTest::mouseClick(g.Command12, Qt::LeftButton);
    QCOMPARE(p.selector->caption(), QStringLiteral("2"));
    QVERIFY(p.prompt.shown.isEmpty());
}

void TestGeneral::musicButtonSwitchesAndStaysUnselected() {
    Page p;
    GeneralPage &g = *p.page;
    QVERIFY(g.Option12[0]->isVisible());
    QVERIFY(!g.Option12[1]->isVisible());
    QCOMPARE(g.Option12[0]->text(), QStringLiteral("MUSIC#Jazz"));
    clickIndicator(g.Option12[0]);
    QVERIFY(!g.Option12[0]->isChecked());
    QCOMPARE(TestFolders::read(p.f.game() + "/Music", "music.txt"), QByteArray("Big band\r\n"));
}

void TestGeneral::nightswitchWindow() {
    Page p;
    GeneralPage &g = *p.page;
    QTest::mouseClick(g.Command14, Qt::LeftButton);
    QVERIFY(g.niteform && g.niteform->isVisible());
    QCOMPARE(g.niteform->windowTitle(), QStringLiteral("Nox's nightpatch"));
    QVERIFY(g.niteform->niteopt[0]->isChecked());
    // The test folder's eaw.exe is no game program: the switch refuses and leaves it alone.
    const QByteArray exe = TestFolders::read(p.f.game(), "eaw.exe");
    clickIndicator(g.niteform->niteopt[3]);
    QTest::mouseClick(g.niteform->nitebut, Qt::LeftButton);
    QCOMPARE(TestFolders::read(p.f.game(), "eaw.exe"), exe);
    QCOMPARE(p.prompt.shown.size(), 1);
    QVERIFY(p.prompt.shown.at(0).text.contains("EAW Version 1.2a"));
}

QTEST_MAIN(TestGeneral)
#include "tst_general.moc"
