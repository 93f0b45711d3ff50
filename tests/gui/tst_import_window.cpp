// SPDX-License-Identifier: GPL-3.0-or-later
#include "ArchiveMaker.h"
#include "FlexGrid.h"
#include "LoadFilesPage.h"
#include "OpenSelector.h"
#include "ScriptedPrompt.h"
#include "Selector.h"
#include "TestFolders.h"
#include "VEKForm.h"
#include "Views.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QLabel>
#include <QMimeData>
#include <QTableView>
#include <QTest>
#include <QUrl>

/// "Add content..." and archives or folders dropped on the window: the new row is in the grid
/// at once.
class TestImportWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void newRowShowsAtOnce_data() {
        QTest::addColumn<bool>("drop");
        QTest::addColumn<bool>("unpacked"); // a folder, not an archive
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("answer"); // the name the player gives when asked
        QTest::addColumn<QString>("row");    // empty: none comes

        QTest::newRow("a content folder")
            << false << false << "A-New/a.dat" << QString() << "A-New";
        QTest::newRow("loose files, named")
            << false << false << "a.dat" << QString("G-Named") << "G-Named";
        QTest::newRow("loose files, the name cancelled")
            << false << false << "a.dat" << QString() << "";
        QTest::newRow("dropped on the window")
            << true << false << "F-Dropped/a.dat" << QString() << "F-Dropped";
        QTest::newRow("an unpacked folder")
            << false << true << "A-Unpacked/a.dat" << QString() << "A-Unpacked";
        QTest::newRow("an unpacked folder dropped on the window")
            << true << true << "F-Unpacked/a.dat" << QString() << "F-Unpacked";
    }

    void newRowShowsAtOnce() {
        QFETCH(bool, drop);
        QFETCH(bool, unpacked);
        QFETCH(QString, entry);
        QFETCH(QString, answer);
        QFETCH(QString, row);
        TestFolders f;
        TestFolders::write(f.vek() + "/A-One", "one.dat", "one");
        ScriptedPrompt prompt;
        auto s = openSelector(f, prompt);
        VEKForm form(*s);
        form.refresh();
        QStringList asked;
        form.loadFiles->askName = [&](const QString &, const QString &suggestion) {
            asked << suggestion;
            return answer;
        };
        QTemporaryDir archives;
        QString path = archives.filePath("New content.zip");
        if (unpacked) {
            TestFolders::write(archives.path(), entry, "bytes");
            path = archives.filePath(entry.section('/', 0, 0));
        } else {
            QCOMPARE(ArchiveMaker::write(path, "zip", {{entry, "bytes"}}), QString());
        }

        if (drop) {
            QMimeData data;
            data.setUrls({QUrl::fromLocalFile(path)});
            QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton,
                                  Qt::NoModifier);
            QApplication::sendEvent(&form, &enter);
            QVERIFY(enter.isAccepted());
            QDropEvent dropped(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton,
                               Qt::NoModifier);
            QApplication::sendEvent(&form, &dropped);
            QCOMPARE(form.SSTab1->currentWidget(), static_cast<QWidget *>(form.loadFiles));
        } else {
            QCOMPARE(form.loadFiles->addContent(path), !row.isEmpty());
        }
        QCOMPARE(asked, entry.contains('/') ? QStringList() : QStringList{"New content"});
        const QStringList shown = columnOf(form.loadFiles->Unigrid->model(), 1);
        QCOMPARE(shown.contains(row), !row.isEmpty());
        QCOMPARE(shown.contains("A-One"), true);
        if (!row.isEmpty())
            QVERIFY(form.StatusLine->text().contains(row));
        QVERIFY(prompt.shown.isEmpty());
    }
};

QTEST_MAIN(TestImportWindow)
#include "tst_import_window.moc"
