// SPDX-License-Identifier: GPL-3.0-or-later
#include "DemoKit.h"
#include "Autoscripts.h"
#include "CompleteReset.h"
#include "DemoBitmap.h"
#include "DemoFolder.h"
#include "DemoGameFolder.h"
#include "DemoStringFile.h"
#include "DemoVekFolder.h"
#include "FileBytes.h"
#include "FileChanges.h"
#include "FileList.h"
#include "IniOptions.h"
#include "KeyboardFeatures.h"
#include "LoadFiles.h"
#include "LoadedList.h"
#include "MusicButtons.h"
#include "Planes.h"
#include "ScriptedPrompt.h"
#include "Selector.h"
#include "Skins.h"
#include "StringFile.h"
#include "Text8.h"

#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

// The kit's files are written by writers of its own, not by the engine's; reading them back
// through the engine (and comparing with what the engine would write) checks both sides.

namespace {

quint32 le32(const QByteArray &b, qsizetype at) {
    return qFromLittleEndian<quint32>(reinterpret_cast<const uchar *>(b.constData() + at));
}

/// Strict CR LF lines: empty result and `why` set on a lone CR or LF, or a missing last end.
QList<QByteArray> crlfLines(const QByteArray &b, QString *why) {
    QList<QByteArray> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < b.size(); ++i) {
        if (b[i] == '\n' && (i == 0 || b[i - 1] != '\r')) {
            *why = QStringLiteral("LF without CR at byte %1").arg(i);
            return {};
        }
        if (b[i] == '\r' && (i + 1 == b.size() || b[i + 1] != '\n')) {
            *why = QStringLiteral("CR without LF at byte %1").arg(i);
            return {};
        }
        if (b[i] == '\n') {
            lines << b.mid(start, i - 1 - start);
            start = i + 1;
        }
    }
    if (start != b.size())
        *why = QStringLiteral("last line has no CR LF");
    return lines;
}

/// Every folder below `root`, as relative paths, sorted.
QStringList foldersUnder(const QString &root) {
    QStringList out;
    QDirIterator it(root, QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext())
        out << QDir(root).relativeFilePath(it.next());
    out.sort();
    return out;
}

/// The model's files as treeOf() reads them from disk; `folders` gets every subfolder's path.
Tree flatten(const DemoFolder &folder, QStringList *folders, const QString &prefix = {}) {
    Tree tree;
    for (const QString &f : folder.fileNames())
        tree.insert(prefix + f, folder.fileBytes(f));
    for (const QString &sub : folder.folderNames()) {
        *folders << prefix + sub;
        tree.insert(flatten(*folder.subfolder(sub), folders, prefix + sub + '/'));
    }
    return tree;
}

} // namespace

class DemoKitTest : public QObject {
    Q_OBJECT

    QTemporaryDir tmp_;
    QString game_, vek_;

    QList<QByteArray> iniLines() {
        QString why;
        return crlfLines(contentOf(game_ + QStringLiteral("/eaw.ini")), &why);
    }

private slots:
    void initTestCase() {
        QVERIFY(tmp_.isValid());
        // The first start sweeps the demo's loose files into the user's data folder.
        qputenv("XDG_DATA_HOME", QFile::encodeName(tmp_.filePath(QStringLiteral("data"))));
        const QString root = tmp_.filePath(QStringLiteral("kit"));
        QString error;
        QVERIFY2(DemoKit::generate(root, &error), qPrintable(error));
        game_ = DemoKit::gameFolder(root);
        vek_ = DemoKit::vekFolder(root);
    }

    // Three strings, one empty, an empty one between, an 8-bit name, a zero character (refused),
    // and 2000 entries of 15 bytes, the later ones beyond offset 32767 (refused).
    void stringFileMatchesTheEngine() {
        for (const QStringList &strings :
             {QStringList{"ab", "c", "def"}, QStringList{QString()}, QStringList{"a", "", "b"},
              QStringList{QStringLiteral("B\u00fccker \u20ac")},
              QStringList{"a", QString(QChar(0)) + "b"},
              QStringList(2000, QStringLiteral("fourteen chars"))}) {
            QList<QByteArray> encoded;
            for (const QString &s : strings)
                encoded << Text8::fromUnicode(s);
            QByteArray expected;
            if (!StringFile::build(encoded, &expected))
                expected.clear(); // the kit refuses what the engine refuses
            QCOMPARE(DemoStringFile::bytes(strings).toHex(' '), expected.toHex(' '));
        }
    }

    // The kit's bitmaps decode at their size, top colour above and bottom colour below: with
    // rows padded (15 bytes a row, padded to 16), with aligned rows, and as a single pixel.
    void bitmapDecodes() {
        for (const QSize size : {QSize(5, 3), QSize(4, 2), QSize(1, 1)}) {
            const QImage img = QImage::fromData(
                DemoBitmap::gradient(size.width(), size.height(), 0x102030, 0xA0B0C0));
            QCOMPARE(img.size(), size);                      // a null image has none
            QCOMPARE(img.pixel(0, 0) & 0xFFFFFF, 0x102030u); // top left: unshaded
            if (size.height() > 1)
                QCOMPARE(img.pixel(0, size.height() - 1) & 0xFFFFFF, 0xA0B0C0u);
        }
    }

    void picturesDecode() {
        QStringList pictures{game_ + "/BACKGROUND", vek_ + "/newpic"};
        QStringList folders = FileList::folders(vek_);
        folders += FileList::folders(vek_ + "/Skinfolder");
        for (const QString &f : folders) {
            for (const QString &name : FileList::files(f, "mypic;skinpic;*.jpg;*.bmp;*.gif"))
                pictures << FileList::join(f, name);
        }
        QVERIFY(pictures.size() > 10);
        for (const QString &p : pictures) {
            const QImage img = QImage::fromData(contentOf(p)); // no extension: decoded by content
            QVERIFY2(!img.isNull() && img.width() > 8, qPrintable(p));
        }
    }

    void textFilesAreCrLf8Bit() {
        int checked = 0;
        bool someHighByte = false;
        for (const QString &root : {game_, vek_}) {
            const Tree files = treeOf(root);
            for (auto it = files.cbegin(); it != files.cend(); ++it) {
                const QString path = root + '/' + it.key();
                if (!FileList::matches(QFileInfo(path).fileName(),
                                       "*.txt;*.ini;*.vek;*.lox;*.spt;KC;linkscreen") &&
                    !path.contains(QLatin1String("/Autoscripts/")))
                    continue;
                const QByteArray &b = it.value();
                QString why;
                crlfLines(b, &why);
                QVERIFY2(why.isEmpty(), qPrintable(path + ": " + why));
                for (qsizetype i = 0; i + 1 < b.size(); ++i) {
                    const uchar c = uchar(b[i]), next = uchar(b[i + 1]);
                    // A Latin letter written as UTF-8 instead of one Windows-1252 byte.
                    QVERIFY2(!((c == 0xC2 || c == 0xC3) && next >= 0x80 && next <= 0xBF),
                             qPrintable(path));
                    someHighByte = someHighByte || c >= 0x80;
                }
                ++checked;
            }
        }
        QVERIFY(checked > 40);
        QVERIFY(someHighByte); // the 8-bit path is exercised somewhere
    }

    void writtenTreesMatchTheirModels() {
        // Also compares two builds of each tree: the fixture must not vary from run to run.
        const QList<QPair<QString, DemoFolder (*)()>> trees{{game_, &DemoGameFolder::tree},
                                                            {vek_, &DemoVekFolder::tree}};
        for (const auto &[root, tree] : trees) {
            QStringList folders, again;
            const Tree model = flatten(tree(), &folders);
            QCOMPARE(changedFiles(model, treeOf(root)), QStringList());
            QVERIFY(flatten(tree(), &again) == model);
            QCOMPARE(again, folders);
            folders.sort();
            QCOMPARE(foldersUnder(root), folders);
        }
    }

    void generateRefusesUsedFolders_data() {
        QTest::addColumn<QString>("occupied"); // "EAW/x" makes EAW a folder holding x
        QTest::addColumn<bool>("asFile");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("game folder in use") << "EAW" << false << false;
        QTest::newRow("VEK folder in use") << "VEK" << false << false;
        QTest::newRow("game folder is a file") << "EAW" << true << false;
        QTest::newRow("empty folders") << "" << false << true;
    }
    void generateRefusesUsedFolders() {
        QFETCH(QString, occupied);
        QFETCH(bool, asFile);
        QFETCH(bool, accepted);
        QTemporaryDir dir;
        QDir(dir.path()).mkdir("EAW");
        QDir(dir.path()).mkdir("VEK");
        if (!occupied.isEmpty()) {
            const QString target = dir.filePath(occupied);
            if (asFile)
                QDir(target).removeRecursively();
            QVERIFY(writeFile(asFile ? target : target + "/keep.me", "player's own file"));
        }
        QString error;
        QCOMPARE(DemoKit::generate(dir.path(), &error), accepted);
        if (accepted) {
            QVERIFY(QFileInfo::exists(dir.filePath("EAW/eaw.exe")));
            QVERIFY(QFileInfo::exists(dir.filePath("VEK/linkscreen")));
            return;
        }
        QVERIFY2(error.contains(QDir::toNativeSeparators(dir.filePath(occupied))),
                 qPrintable(error));
        // Nothing written anywhere: the check comes before the first file.
        QCOMPARE(treeOf(dir.path()).size(), 1);
    }

    void folderModelEdits() {
        QTemporaryDir dir;
        QVERIFY(writeFile(dir.filePath("own.txt"), "kept"));

        DemoFolder root = DemoVekFolder::tree();
        DemoFolder *late = root.subfolder("F-Late war fighters");
        QVERIFY(late);
        QVERIFY(late->remove("P-Mustang IV"));
        QVERIFY(!late->remove("P-Mustang IV"));
        late->file("planes.dat", "short");
        root.text("vek.ini", {QStringLiteral("Only:A")});
        QString error;
        QVERIFY2(root.write(dir.path(), &error), qPrintable(error));

        QCOMPARE(contentOf(dir.filePath("own.txt")), QByteArray("kept"));
        QCOMPARE(contentOf(dir.filePath("vek.ini")), QByteArray("Only:A\r\n"));
        QCOMPARE(contentOf(dir.filePath("F-Late war fighters/planes.dat")), QByteArray("short"));
        QVERIFY(!QFileInfo::exists(dir.filePath("F-Late war fighters/P-Mustang IV")));
        QVERIFY(QFileInfo::exists(dir.filePath("F-Late war fighters/P-Mustang III")));
    }

    void gameBinaries() {
        const QByteArray exe = contentOf(game_ + "/eaw.exe");
        QVERIFY(!exe.startsWith("MZ")); // must never pass for a runnable program
        // Both bytes of every game version's night switch lie inside, holding the normal values.
        for (qsizetype offset : {594615, 582209, 699395, 636635}) {
            QVERIFY(exe.size() > offset + 1);
            QCOMPARE(uchar(exe[offset]), uchar(0x94));
            QCOMPARE(uchar(exe[offset + 1]), uchar(0x07));
        }
        const QByteArray cdf = contentOf(game_ + "/flt.cdf");
        QVERIFY(cdf.size() >= 38258);
        QCOMPARE(cdf[38257], '\0'); // cheat byte off, as after a clean exit
        const QByteArray v1 = contentOf(game_ + "/V1V1.FLT");
        QVERIFY(v1.size() >= 2);
        QCOMPARE(v1[1], '\0');
    }

    // The rewrite of eaw.ini must find each place it writes to exactly once, as in the game's
    // own file: each value it writes then shows once, and the HUD colour reaches 30 keys.
    void eawIniCarriesWhatTheSelectorWrites() {
        const QList<QByteArray> lines = iniLines();
        QVERIFY(lines.size() > 100);
        const auto count = [](const QList<QByteArray> &in, const QByteArray &prefix) {
            return std::count_if(in.begin(), in.end(), [&](const QByteArray &l) {
                return l.toUpper().startsWith(prefix.toUpper());
            });
        };
        // Every key the selector writes, and a prefix of every sound key it counts.
        const QByteArrayList keys =
            QByteArray("Width= Height= StartOnGround= NoAI= AllowRespawn= ExtraSquads= "
                       "AI_PlaneUpdateRate= PlayerPlaneUpdateRate= ClockSyncRate= [REMAP "
                       "DisplayInfoSetting= SoundQ SoundC SoundD SoundV EngineV ExternalV "
                       "MusicVol SpeechVol ReverseSt Subtitles")
                .split(' ');
        for (const QByteArray &key : keys)
            QVERIFY2(count(lines, key) == 1, key.constData());
        IniState state;
        state.resolution = 2;
        state.squads = 3;
        state.startOnGround = true;
        state.sync = 1;
        state.HUDLab = QStringLiteral("975");
        const QList<QByteArray> out = IniOptions::build(lines, state);
        for (const char *written :
             {"Width=1024", "Height=768", "ExtraSquads=3", "StartOnGround=1", "ClockSyncRate=80"})
            QVERIFY2(out.count(written) == 1, written);
        QCOMPARE(std::count_if(out.begin(), out.end(),
                               [](const QByteArray &l) { return l.endsWith("=975"); }),
                 30);
        // The section names in the game's case, and one in lower case to show it is accepted.
        for (const char *section : {"[GRAPHICS]", "[NETOPTION]", "[EAW]", "[DISPLAY]"})
            QVERIFY2(lines.count(section) == 1, section);
        QVERIFY(std::any_of(lines.begin(), lines.end(), [](const QByteArray &l) {
            return l.startsWith('[') && l == l.toLower() && l != l.toUpper();
        }));
        const qsizetype display = lines.indexOf("[DISPLAY]");
        QVERIFY(display + 31 < lines.size() && lines[display + 31].startsWith('['));
    }

    void featureCodesHitTheirLines_data() {
        QTest::addColumn<int>("sync");
        QTest::newRow("own sync rates") << 0;
        QTest::newRow("sync rates replaced") << 1;
    }
    // Every number and sound code must change what the selector writes (so it found its
    // line), and a number code must land on a binding of the [REMAP] section, not beyond it.
    void featureCodesHitTheirLines() {
        QFETCH(int, sync);
        const QList<QByteArray> ini = iniLines();
        IniState plain;
        plain.sync = sync;
        const QList<QByteArray> base = IniOptions::build(ini, plain);
        const qsizetype remap = base.indexOf(QByteArray("[REMAP]"));
        QVERIFY(remap >= 0);

        QString why;
        const QList<QByteArray> features = crlfLines(contentOf(game_ + "/KC"), &why);
        QVERIFY2(why.isEmpty(), qPrintable(why));
        QVERIFY(features.size() >= 3 && features.size() <= 30);
        for (const QByteArray &line : features) {
            const QList<QByteArray> fields = line.split('\t');
            QVERIFY2(fields.size() >= 2 && isdigit(fields[0][0]) && isdigit(fields[0][1]),
                     line.constData());
            for (const QByteArray &code : fields.mid(1)) {
                if (code.startsWith('C') || code.startsWith('D')) { // values, not places
                    QVERIFY2(code.size() > 1, line.constData());
                    continue;
                }
                IniState state = plain;
                state.ApplyFeature = true;
                state.featureCodes = {Text8::toUnicode(code)};
                const QList<QByteArray> out = IniOptions::build(ini, state);
                QVERIFY2(out != base, code.constData());
                if (!isdigit(code[0]))
                    continue;
                qsizetype hit = 0;
                while (out[hit] == base[hit])
                    ++hit;
                for (qsizetype i = remap + 1; i < hit; ++i)
                    QVERIFY2(!base[i].startsWith('['), code.constData());
            }
        }
    }

    // The demo is for playing with: everything it offers works through the selector itself,
    // without one message to the player. Each row is one kind of control, used on every
    // thing the demo has of that kind, in a fresh copy of the folders.
    void everythingPlaysWithoutAMessage_data() {
        QTest::addColumn<QString>("kind");
        for (const char *kind : {"content folders", "alternative aircraft", "skins", "autoscripts",
                                 "music sets", "keyboard features"})
            QTest::newRow(kind) << QString::fromLatin1(kind);
    }
    void everythingPlaysWithoutAMessage() {
        QFETCH(QString, kind);
        QTemporaryDir dir;
        QString error;
        const QString root = dir.filePath(QStringLiteral("kit"));
        QVERIFY2(DemoKit::generate(root, &error), qPrintable(error));
        const QString game = DemoKit::gameFolder(root), vek = DemoKit::vekFolder(root);
        ScriptedPrompt prompt;
        Selector s(Folders{game, vek, QStringLiteral("None")}, prompt);
        s.load();
        const auto quiet = [&](const QString &what) {
            const QString said = prompt.shown.isEmpty() ? QString() : prompt.shown.first().text;
            prompt.shown.clear();
            return said.isEmpty() ? QString() : what + QStringLiteral(": ") + said;
        };
        // The one message of the first start: where the sweep put the demo's loose files.
        QCOMPARE(prompt.shown.size(), 1);
        QVERIFY2(quiet(QStringLiteral("start"))
                     .contains(QLatin1String("so they were moved, not deleted")),
                 "the first start did not tell where the swept files went");
        int used = 0;
        if (kind == QLatin1String("content folders")) {
            for (int r = 1; r < s.Unigrid.rowCount(); ++r, ++used) {
                const QString name = s.Unigrid.row(r).name;
                QVERIFY2(s.loadFiles().click(r) && s.Unigrid.row(r).loaded, qPrintable(name));
                QCOMPARE(quiet(name), QString());
                QVERIFY2(s.loadFiles().click(r) && !s.Unigrid.row(r).loaded, qPrintable(name));
                QCOMPARE(quiet(name), QString());
            }
        } else if (kind == QLatin1String("alternative aircraft")) {
            QVERIFY(s.loadFiles().click(s.Unigrid.find(QStringLiteral("F-Late war fighters"))));
            for (int r = 1; r < s.G1.rowCount(); ++r, ++used) {
                QVERIFY2(s.planes().click(r) && s.G1.row(r).marked, qPrintable(s.G1.row(r).folder));
                QCOMPARE(quiet(s.G1.row(r).folder), QString());
            }
        } else if (kind == QLatin1String("skins")) {
            for (int r = 1; r < s.SK1.rowCount(); ++r, ++used) {
                QVERIFY2(s.skins().activate(r) && s.SK1.row(r).loaded,
                         qPrintable(s.SK1.row(r).name));
                QCOMPARE(quiet(s.SK1.row(r).name), QString());
            }
        } else if (kind == QLatin1String("autoscripts")) {
            // Each from a clean game folder: every entry matches, in an order that works.
            for (int i = 0; i < s.File10.size(); ++i, ++used) {
                QVERIFY(s.completeReset().run());
                QVERIFY2(s.autoscripts().show(i) && s.autoscripts().run(),
                         qPrintable(s.File10.at(i)));
                QCOMPARE(quiet(s.File10.at(i)), QString());
                QVERIFY(!s.loadedList().loadedNames().isEmpty());
            }
        } else if (kind == QLatin1String("music sets")) {
            for (int i = 0; i < s.music().Option12.size(); ++i, ++used) {
                QVERIFY2(s.music().click(i), qPrintable(s.music().Option12.at(i)));
                QCOMPARE(quiet(s.music().Option12.at(i)), QString());
            }
            QVERIFY(s.music().delmsn());
            QCOMPARE(quiet(QStringLiteral("Del MSN")), QString());
        } else {
            for (int i = 0; i < 30 && s.features().optionShown(i); ++i, ++used) {
                s.features().clickOption13(i);
                QCOMPARE(quiet(QStringLiteral("feature %1").arg(i + 1)), QString());
            }
        }
        QVERIFY2(used >= 2, "the demo should offer more than one of each");
    }

    void musicSets() {
        QVERIFY(QFileInfo(game_ + "/Music").isDir());
        int sets = 0;
        for (const QString &path : FileList::folders(game_)) {
            const QString name = QFileInfo(path).fileName();
            if (!name.toUpper().startsWith("MUSIC#") && name != "Music")
                continue;
            const QString txt = FileList::find(path, "music.txt"); // its first line: the caption
            QVERIFY2(!txt.isEmpty() &&
                         !contentOf(FileList::join(path, txt)).split('\r')[0].isEmpty(),
                     qPrintable(name));
            for (const QString &wav : FileList::files(path, "*.wav")) {
                const QByteArray w = contentOf(FileList::join(path, wav));
                QVERIFY(w.startsWith("RIFF") && w.mid(8, 8) == "WAVEfmt ");
                QCOMPARE(qsizetype(le32(w, 4)), w.size() - 8);
                QCOMPARE(w.mid(36, 4), QByteArray("data"));
                QVERIFY(qsizetype(le32(w, 40)) + 44 <= w.size());
            }
            sets += name != "Music";
        }
        QVERIFY(sets >= 2);
    }

    void foldersStartFresh() {
        // Saves for the default campaign and for "Del MSN" to clear.
        const QStringList saves = FileList::files(game_ + "/Savedata");
        QVERIFY(saves.size() >= 2);
        QVERIFY(!FileList::files(game_ + "/Savedata", "Default*.msn").isEmpty());
        // The clean-up of a first run has both kinds of loose file to tell apart.
        const QString stray = "*.hm;*.jpg;*.pcx;*.txt;mypic;planepic;skinpic;*.mnu;*.dat;*.mpc;"
                              "*.wsp;*.pic;*.spt;*.str;*.ter;*.tm;*.tpc;*.flt;*.3dz;*.snd;*.bil;"
                              "*.bin;*.cpt";
        const QStringList loose = FileList::files(game_, stray);
        QVERIFY(loose.contains("chatline.txt") && loose.contains("EXTRA.SPT"));
        QVERIFY(loose.size() > 2);
        for (const char *kept : {"eaw.ini", "eaw.exe", "flt.cdf", "KC", "BACKGROUND"})
            QVERIFY2(!FileList::find(game_, kept).isEmpty() && !loose.contains(kept), kept);
        // What the selector makes on its first run is left to it.
        QVERIFY(FileList::find(game_, "LastVEKDir").isEmpty());
        for (const char *own : {"FoldersLoaded.txt", "PlanesLoaded.txt", "ScriptsLoaded.txt",
                                "SkinsLoaded.txt", "eaw.ini", "eaw.exe"})
            QVERIFY2(FileList::find(vek_, own).isEmpty(), own);
        QVERIFY(!FileList::find(vek_, "linkscreen").isEmpty());
    }
};

QTEST_GUILESS_MAIN(DemoKitTest)
#include "DemoKitTest.moc"
