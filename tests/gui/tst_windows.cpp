#include "ClickableLabel.h"
#include "DemoGameFolder.h"
#include "DemoVekFolder.h"
#include "FolderListBox.h"
#include "Form2.h"
#include "FuelPage.h"
#include "GeneralPage.h"
#include "InstanceGuard.h"
#include "LoadFilesPage.h"
#include "PictureBox.h"
#include "PlanesSkinsPage.h"
#include "ScriptedPrompt.h"
#include "Selector.h"
#include "SelectorWindows.h"
#include "TestFolders.h"
#include "VEKForm.h"

#include <QBuffer>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

namespace {
QByteArray png(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}
} // namespace

class TestWindows : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void locatorShowsItsControls();
    void choosingTheVekFolderEnablesOkAndOkOpensTheMainWindow();
    void rememberedFolderOpensTheMainWindowDirectly();
    void secondInstanceIsRefusedWithTheMessage();
    void pagesForwardClicksToTheEngine();
    void newVekDirectoryGoesBackToTheLocator();

private:
    QTemporaryDir lockDir_;
};

void TestWindows::initTestCase() {
    qputenv("VEK_INSTANCE_LOCK", lockDir_.filePath(QStringLiteral("lock")).toLocal8Bit());
}

void TestWindows::init() {
    QFile::remove(lockDir_.filePath(QStringLiteral("lock")));
}

void TestWindows::locatorShowsItsControls() {
    TestFolders f;
    ScriptedPrompt prompt;
    SelectorWindows windows(&prompt);
    QVERIFY(windows.start(f.game()));
    Form2 *form = windows.form2();
    QVERIFY(form->isVisible());
    QVERIFY(!windows.vekForm());
    QCOMPARE(form->windowTitle(), QStringLiteral("VEK/EAW Directory Locator"));
    auto *vekOption = form->findChild<QRadioButton *>(QStringLiteral("Option1(0)"));
    auto *eawOption = form->findChild<QRadioButton *>(QStringLiteral("Option1(1)"));
    QVERIFY(vekOption && eawOption);
    QCOMPARE(vekOption->text(), QStringLiteral("VEK Folder"));
    QCOMPARE(eawOption->text(), QStringLiteral("EAW Folder"));
    QVERIFY(vekOption->isChecked());
    QCOMPARE(vekOption->palette().color(QPalette::Window), QColor(255, 192, 192));
    QCOMPARE(eawOption->palette().color(QPalette::Window), QColor(192, 192, 255));
    auto *label1 = form->findChild<QLabel *>(QStringLiteral("Label1"));
    auto *label3 = form->findChild<QLabel *>(QStringLiteral("Label3"));
    QCOMPARE(label1->palette().color(QPalette::Window), QColor(255, 192, 192));
    QCOMPARE(label3->palette().color(QPalette::Window), QColor(192, 192, 255));
    QVERIFY(label1->text().isEmpty());
    QCOMPARE(label3->text(), QDir::toNativeSeparators(f.game()));
    QCOMPARE(form->findChild<QLabel *>(QStringLiteral("Label2"))->text(),
             QStringLiteral("Locate the EAW and VEK Folders that you want to use, then click the "
                            "OK Launch the selector button."));
    auto *ok = form->findChild<QPushButton *>(QStringLiteral("Command1"));
    QCOMPARE(ok->text(), QStringLiteral("OK Launch the selector!"));
    QVERIFY(!ok->isEnabled());
    QVERIFY(form->findChild<QWidget *>(QStringLiteral("Drive1")));
    QCOMPARE(form->findChild<FolderListBox *>(QStringLiteral("Dir1"))->path(), f.game());
}

void TestWindows::choosingTheVekFolderEnablesOkAndOkOpensTheMainWindow() {
    TestFolders f;
    ScriptedPrompt prompt;
    SelectorWindows windows(&prompt);
    QVERIFY(windows.start(f.game()));
    Form2 *form = windows.form2();
    form->Dir1->setPath(f.vek());
    QVERIFY(form->Command1->isEnabled());
    QCOMPARE(form->Label1->text(), QDir::toNativeSeparators(f.vek()));
    form->Dir1->setPath(f.root());
    QVERIFY(!form->Command1->isEnabled());
    // The game folder follows the folder list only under "EAW Folder".
    form->Option1[1]->click();
    form->Dir1->setPath(f.game());
    QCOMPARE(form->Label1->text(), QDir::toNativeSeparators(f.root()));
    form->Option1[0]->click();
    form->Dir1->setPath(f.vek());
    QTest::mouseClick(form->Command1, Qt::LeftButton);
    QVERIFY(windows.vekForm());
    QVERIFY(windows.vekForm()->isVisible());
    QVERIFY(!form->isVisible());
    QCOMPARE(windows.selector()->ModFolder(), f.vek());
    QCOMPARE(windows.selector()->GameFolder(), f.game());
    QCOMPARE(TestFolders::read(f.game(), QStringLiteral("LastVEKDir")),
             f.vek().toLocal8Bit() + "\r\n");
}

void TestWindows::rememberedFolderOpensTheMainWindowDirectly() {
    TestFolders f;
    TestFolders::write(f.game(), QStringLiteral("LastVEKDir"), f.vek().toLocal8Bit() + "\r\n");
    TestFolders::write(f.game(), QStringLiteral("Background"), png(64, 48));
    TestFolders::write(f.vek(), QStringLiteral("newpic"), png(20, 20));
    TestFolders::write(f.vek(), QStringLiteral("FoldersLoaded.txt"), "A-One\r\n\r\n");
    ScriptedPrompt prompt;
    SelectorWindows windows(&prompt);
    QVERIFY(windows.start(f.game()));
    QVERIFY(!windows.form2()->isVisible());
    VEKForm *form = windows.vekForm();
    QVERIFY(form && form->isVisible());
    QCOMPARE(form->windowTitle(), QStringLiteral("VEKSelector V120B (With Nightswitch facility)"));
    QStringList tabs;
    for (int i = 0; i < form->SSTab1->count(); ++i)
        tabs << form->SSTab1->tabText(i);
    QCOMPARE(tabs, QStringList({"General", "Load Files", "Planes and Skins", "What is loaded!",
                                "Autoscripts", "Fuel"}));
    QCOMPARE(form->SSTab1->currentIndex(), 0);
    auto *list3 = form->findChild<QListWidget *>(QStringLiteral("List3"));
    QCOMPARE(list3->count(), 6);
    QCOMPARE(list3->item(0)->text(), QStringLiteral("Show ALL"));
    QCOMPARE(list3->item(2)->text(), QStringLiteral("Aircraft"));
    QCOMPARE(list3->currentRow(), 0);
    auto *credits = form->findChild<ClickableLabel *>(QStringLiteral("Label3"));
    QVERIFY(
        credits->text().endsWith(QStringLiteral("\nClick here for Support, Links and Downloads")));
    QVERIFY(form->findChild<PictureBox *>(QStringLiteral("Image1(0)"))->hasPicture());
    QVERIFY(form->findChild<PictureBox *>(QStringLiteral("Image3"))->hasPicture());
    QCOMPARE(form->findChild<QLabel *>(QStringLiteral("Label8"))->text(),
             QStringLiteral("A-One\n"));
    QVERIFY(prompt.shown.isEmpty());
}

void TestWindows::secondInstanceIsRefusedWithTheMessage() {
    TestFolders f;
    InstanceGuard first;
    QVERIFY(first.tryAcquire());
    ScriptedPrompt prompt;
    SelectorWindows windows(&prompt);
    QVERIFY(!windows.start(f.game()));
    QVERIFY(!windows.form2());
    QCOMPARE(prompt.shown.size(), 1);
    QCOMPARE(prompt.shown.at(0).title, QStringLiteral("Hang On..........."));
    QCOMPARE(prompt.shown.at(0).text,
             QStringLiteral("We know you would love our software, but you really \r\ndon't have "
                            "to run it more than once.\r\n\r\nYou have probably minimised a "
                            "version already running,\r\nand it has been waiting patiently for "
                            "you \r\nat the bottom of your screen!"));
    QCOMPARE(prompt.shown.at(0).icon, Prompt::Icon::Exclamation);
    QCOMPARE(prompt.shown.at(0).buttons, Prompt::Buttons::Ok);
    QVERIFY(!TestFolders::exists(f.game(), QStringLiteral("LastVEKDir")));
}

void TestWindows::pagesForwardClicksToTheEngine() {
    TestFolders f(TestFolders::WithoutGameFiles);
    QString error;
    QVERIFY(DemoGameFolder::build(f.game(), &error));
    QVERIFY(DemoVekFolder::build(f.vek(), &error));
    TestFolders::write(f.game(), QStringLiteral("LastVEKDir"), f.vek().toLocal8Bit() + "\r\n");
    ScriptedPrompt prompt;
    SelectorWindows windows(&prompt);
    QVERIFY(windows.start(f.game()));
    VEKForm *form = windows.vekForm();
    Selector &s = *windows.selector();

    // A click on a load grid row loads the folder and the page shows it.
    form->SSTab1->setCurrentIndex(1);
    QTableView *grid = form->loadFiles->Unigrid;
    const int row = s.Unigrid.find(QStringLiteral("F-Late war fighters"));
    const QRect cell = grid->visualRect(grid->model()->index(row - 1, 1));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    QVERIFY(s.Unigrid.row(row).loaded);
    QCOMPARE(grid->model()->index(row - 1, 2).data().toString(), QStringLiteral("S"));
    QVERIFY(grid->isColumnHidden(0));

    // The aircraft page shows the set's alternatives; a click swaps one in.
    form->SSTab1->setCurrentIndex(2);
    PlanesSkinsPage *planes = form->planesSkins;
    QVERIFY(planes->Frame6->isVisible());
    QCOMPARE(planes->G1->model()->rowCount(), s.G1.rows.size());
    QCOMPARE(planes->List1->count(), 31);
    const QRect plane = planes->G1->visualRect(planes->G1->model()->index(0, 3));
    QTest::mouseClick(planes->G1->viewport(), Qt::LeftButton, {}, plane.center());
    QVERIFY(s.G1.row(1).marked);
    QCOMPARE(planes->G1->model()->index(0, 4).data().toString(), QStringLiteral("S"));
    QCOMPARE(planes->List1->currentRow(), s.G1.row(1).slot + 1);

    // The fuel page shows 30 slots; a click on a load writes it.
    form->SSTab1->setCurrentIndex(5);
    QTableView *fuel = form->fuel->Fuel;
    QCOMPARE(fuel->model()->rowCount(), 30);
    QCOMPARE(fuel->model()->headerData(20, Qt::Horizontal).toString(), QStringLiteral("10%"));
    const QRect load = fuel->visualRect(fuel->model()->index(3, 4));
    QTest::mouseClick(fuel->viewport(), Qt::LeftButton, {}, load.center());
    QCOMPARE(s.Fuel.rows.at(3).chosenColumn, 4);

    // An option click on the General page rewrites eaw.ini through the engine.
    form->SSTab1->setCurrentIndex(0);
    form->general->Option2[0]->click();
    QCOMPARE(s.ini.resolution, 0);
    QVERIFY(
        TestFolders::read(f.game(), QStringLiteral("eaw.ini")).contains("Width=640\r\nHeight=480"));
    QVERIFY(prompt.shown.isEmpty());
}

void TestWindows::newVekDirectoryGoesBackToTheLocator() {
    TestFolders f;
    TestFolders::write(f.game(), QStringLiteral("LastVEKDir"), f.vek().toLocal8Bit() + "\r\n");
    TestFolders::write(f.vek(), QStringLiteral("FoldersLoaded.txt"), "Kept\r\n\r\n");
    ScriptedPrompt prompt;
    SelectorWindows windows(&prompt);
    QVERIFY(windows.start(f.game()));
    TestFolders::write(f.vek(), QStringLiteral("FoldersLoaded.txt"), "");
    QPointer<VEKForm> form = windows.vekForm();
    form->general->Command9->click();
    // The loaded list is written as it stands, and the locator comes back as it was left:
    // the remembered folder shown, OK still to be earned by choosing a VEK folder.
    QCOMPARE(TestFolders::read(f.vek(), QStringLiteral("FoldersLoaded.txt")),
             QByteArray("Kept\r\n\r\n"));
    QVERIFY(!windows.vekForm());
    QVERIFY(windows.form2()->isVisible());
    QCOMPARE(windows.form2()->Label1->text(), QDir::toNativeSeparators(f.vek()));
    QVERIFY(!windows.form2()->Command1->isEnabled());
    QTRY_VERIFY(form.isNull()); // the old window goes once its click has finished
    windows.form2()->Dir1->setPath(f.vek());
    windows.form2()->Command1->click();
    QVERIFY(windows.vekForm() && windows.vekForm()->isVisible());
}

QTEST_MAIN(TestWindows)
#include "tst_windows.moc"
