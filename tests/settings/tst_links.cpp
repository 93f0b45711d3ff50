// SPDX-License-Identifier: GPL-3.0-or-later
#include "LinkTable.h"
#include "ScriptedPrompt.h"
#include "TestFolders.h"

#include <QDir>
#include <QTest>

class TestLinks : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void listFromLinksTxt_data() {
        QTest::addColumn<QByteArray>("links"); // "<none>": no links.txt
        QTest::addColumn<QStringList>("titles");
        QTest::addColumn<QStringList>("addresses");
        QTest::addColumn<int>("told");
        QTest::newRow("four lines")
            << QByteArray("Home\r\nhttps://a.example/\r\nDocs\r\ndocs.html\r\n")
            << QStringList{"Home", "Docs"} << QStringList{"https://a.example/", "docs.html"} << 0;
        QTest::newRow("odd lines: the last title has no address")
            << QByteArray("One\nhttps://one.example/\nLast\n") << QStringList{"One", "Last"}
            << QStringList{"https://one.example/", ""} << 0;
        QTest::newRow("no links.txt")
            << QByteArray("<none>") << QStringList() << QStringList() << 0;
        QByteArray many;
        QStringList titles, addresses;
        for (int k = 1; k <= 52; ++k) {
            many += "Link " + QByteArray::number(k) + "\r\nhttps://l" + QByteArray::number(k) +
                    ".example/\r\n";
            if (k <= 50) {
                titles << QStringLiteral("Link %1").arg(k);
                addresses << QStringLiteral("https://l%1.example/").arg(k);
            }
        }
        QTest::newRow("52 pairs: the first 50") << many << titles << addresses << 1;
    }

    void listFromLinksTxt() {
        QFETCH(QByteArray, links);
        QFETCH(QStringList, titles);
        QFETCH(QStringList, addresses);
        QFETCH(int, told);
        TestFolders f;
        if (links != "<none>")
            TestFolders::write(f.vek(), "Links.TXT", links);
        ScriptedPrompt prompt;
        LinkTable table(f.vek(), prompt);
        QCOMPARE(table.open(), QDir(f.vek()).filePath("linkscreen"));
        QCOMPARE(table.Text, LinkTable::ListHint);
        QStringList shown;
        for (const LinkTable::Item &item : table.items)
            shown << item.text;
        QCOMPARE(shown, QStringList{LinkTable::HelpTitle} + titles);
        QCOMPARE(table.addresses, QStringList{QDir(f.vek()).filePath("helpfile.txt")} + addresses);
        QCOMPARE(prompt.shown.size(), told);
        // Choosing the last title goes to its address, or nowhere when it has none.
        QCOMPARE(table.choose(int(table.items.size()) - 1), table.addresses.last());
    }

    void visitedPagesGoFirst() {
        TestFolders f;
        TestFolders::write(f.vek(), "links.txt", "A\r\npage-a.html\r\nB\r\npage-b.html\r\n");
        ScriptedPrompt prompt;
        LinkTable table(f.vek(), prompt);
        table.open();
        QCOMPARE(table.choose(2), QStringLiteral("page-b.html"));
        QVERIFY(table.TimerEnabled);
        const QString visited = table.url("page-b.html").toString();
        table.navigationComplete("Page B", visited);
        table.navigationComplete("Page B", visited);
        QCOMPARE(table.Caption, QStringLiteral("Page B"));
        QCOMPARE(table.items.size(), 4);
        QCOMPARE(table.items.first().text, visited);
        QCOMPARE(table.ListIndex, 0);
        QVERIFY(!table.DontNavigate);
        // The titles moved down one place and still lead to their own addresses.
        QCOMPARE(table.items.at(2).text, QStringLiteral("A"));
        QCOMPARE(table.choose(2), QStringLiteral("page-a.html"));
        QCOMPARE(table.choose(0), visited);
        table.timerTick(true, "Page A");
        QCOMPARE(table.Caption, LinkTable::Working);
        table.timerTick(false, "Page A");
        QCOMPARE(table.Caption, QStringLiteral("Page A"));
        QVERIFY(!table.TimerEnabled);
    }

    void addresses() {
        // url: "VEK/" stands for the VEK folder
        const std::tuple<QString, QString> rows[] = {
            {"https://example.org/a?b=1", QString("https://example.org/a?b=1")}, // web address
            {"pages\\Help.html", QString("VEK/pages/help.html")}, // relative path with backslashes
            {"", QString()},                                      // empty
        };
        for (auto [address, url] : rows) {
            TestFolders f;
            // Found without regard to case, as every file of the VEK folder.
            TestFolders::write(QDir(f.vek()).filePath("pages"), "help.html", "<html></html>");
            ScriptedPrompt prompt;
            LinkTable table(f.vek(), prompt);
            url.replace("VEK/", QUrl::fromLocalFile(f.vek()).toString() + '/');
            QCOMPARE(table.url(address).toString(), url);
        }
    }
};

QTEST_GUILESS_MAIN(TestLinks)
#include "tst_links.moc"
