// SPDX-License-Identifier: GPL-3.0-or-later
#include "ScriptedPrompt.h"
#include "TestFolders.h"
#include "Views.h"
#include "frmBrowser.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QWebEngineView>

#include <unistd.h>

namespace {
QByteArray page(const QByteArray &title) {
    return "<html><head><title>" + title + "</title></head><body>" + title + "</body></html>";
}

} // namespace

// The browser on local pages only: the start page, the help file and links to files of the VEK
// folder. No address of the network is ever opened here.
class TestBrowser : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void choosingGoesToTheTitlesAddress_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("chosen"); // titles, or "visited" for the first item
        QTest::addColumn<QString>("title");
        QTest::newRow("help file")
            << "helpfile.txt" << QStringList{"Help file for this program!"} << "helpfile.txt";
        QTest::newRow("relative path") << "page-a.html" << QStringList{"Page A"} << "Page A";
        QTest::newRow("a title after another page")
            << "page-a.html" << QStringList{"Page B", "Page A"} << "Page A";
        QTest::newRow("the visited address")
            << "page-a.html" << QStringList{"Page B", "Page A", "visited"} << "Page A";
    }

    void choosingGoesToTheTitlesAddress() {
        QFETCH(QStringList, chosen);
        QFETCH(QString, file);
        QFETCH(QString, title);
        TestFolders f;
        TestFolders::write(f.vek(), "linkscreen", page("Start"));
        TestFolders::write(f.vek(), "helpfile.txt", "Help text\r\n");
        TestFolders::write(f.vek(), "page-a.html", page("Page A"));
        TestFolders::write(f.root(), "page-b.html", page("Page B"));
        TestFolders::write(f.vek(), "links.txt",
                           "Page A\r\npage-a.html\r\nPage B\r\n" +
                               QDir(f.root()).filePath("page-b.html").toLocal8Bit() + "\r\n");
        ScriptedPrompt prompt;
        frmBrowser browser(f.vek(), prompt);
        browser.show();
        const QString start = QUrl::fromLocalFile(QDir(f.vek()).filePath("linkscreen")).toString();
        QTRY_COMPARE(browser.windowTitle(), QStringLiteral("Start"));
        QTRY_COMPARE(columnOf(browser.cboAddress->model()),
                     (QStringList{start, "Help file for this program!", "Page A", "Page B"}));
        QCOMPARE(browser.cboAddress->currentText(), start);

        for (const QString &c : chosen) {
            QSignalSpy loaded(browser.brwWebBrowser, &QWebEngineView::loadFinished);
            if (c == "visited") {
                // Enter in the address list goes to the entry its text names.
                browser.cboAddress->lineEdit()->setText(browser.cboAddress->itemText(0));
                QTest::keyClick(browser.cboAddress->lineEdit(), Qt::Key_Return);
            } else {
                Q_EMIT browser.cboAddress->activated(browser.cboAddress->findText(c));
                QVERIFY(browser.timTimer->isActive());
            }
            QTRY_COMPARE(loaded.size(), 1);
        }
        const QString url = QUrl::fromLocalFile(QDir(f.vek()).filePath(file)).toString();
        QCOMPARE(browser.brwWebBrowser->url().toString(), url);
        QTRY_COMPARE(browser.windowTitle(), title);
        QCOMPARE(browser.cboAddress->itemText(0), url);
        // Titles keep their order below the visited pages, each listed once.
        const QStringList items = columnOf(browser.cboAddress->model());
        QCOMPARE(items.mid(items.indexOf("Help file for this program!")),
                 (QStringList{"Help file for this program!", "Page A", "Page B"}));
        QCOMPARE(items.count(url), 1);
        QTRY_VERIFY(!browser.timTimer->isActive());
        QVERIFY(prompt.shown.isEmpty());
    }

    void escapeClosesTheBrowser() {
        TestFolders f;
        TestFolders::write(f.vek(), "linkscreen", page("Start"));
        ScriptedPrompt prompt;
        QPointer<frmBrowser> browser = new frmBrowser(f.vek(), prompt);
        browser->show();
        browser->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(browser));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        // Closed, and gone with its page component.
        QTRY_VERIFY(!browser);
    }
};

int main(int argc, char *argv[]) {
    // The page component's sandbox refuses to start as root (test containers run as root).
    // Host names resolve nowhere, so a test can never reach the network.
    QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    flags += " --host-resolver-rules=\"MAP * ~NOTFOUND\"";
    if (geteuid() == 0)
        flags += " --no-sandbox";
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags.trimmed());
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    TestBrowser test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_browser.moc"
