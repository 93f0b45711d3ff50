#include "DemoKit.h"
#include "AltPlane.h"
#include "DemoBitmap.h"
#include "DemoFolder.h"
#include "DemoGameFolder.h"
#include "DemoStringFile.h"
#include "DemoVekFolder.h"
#include "FileList.h"
#include "FileMover.h"
#include "IniOptions.h"
#include "PickMenu.h"
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

QByteArray bytesOf(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

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

QStringList filesUnder(const QString &root) {
    QStringList out;
    QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        out << it.next();
    out.sort();
    return out;
}

QStringList subfolderNames(const QString &folder) {
    QStringList names;
    for (const QString &p : FileList::folders(folder))
        names << QFileInfo(p).fileName();
    return names;
}

bool sameTree(const DemoFolder &a, const DemoFolder &b) {
    if (a.name() != b.name() || a.fileNames() != b.fileNames() ||
        a.folderNames() != b.folderNames())
        return false;
    for (const QString &f : a.fileNames())
        if (a.fileBytes(f) != b.fileBytes(f))
            return false;
    for (const QString &f : a.folderNames())
        if (!sameTree(*a.subfolder(f), *b.subfolder(f)))
            return false;
    return true;
}

bool isContentFolder(const QString &name) {
    const QString up = name.toUpper();
    return up != QLatin1String("AUTOSCRIPTS") && up != QLatin1String("SKINFOLDER") &&
           !name.startsWith(QLatin1String("C-"));
}

} // namespace

Q_DECLARE_METATYPE(PickMenu::Side)

class DemoKitTest : public QObject {
    Q_OBJECT

    QTemporaryDir tmp_;
    QString game_, vek_;

    QList<QByteArray> iniLines() {
        QString why;
        return crlfLines(bytesOf(game_ + QStringLiteral("/eaw.ini")), &why);
    }

private slots:
    void initTestCase() {
        QVERIFY(tmp_.isValid());
        const QString root = tmp_.filePath(QStringLiteral("kit"));
        QString error;
        QVERIFY2(DemoKit::generate(root, &error), qPrintable(error));
        game_ = DemoKit::gameFolder(root);
        vek_ = DemoKit::vekFolder(root);
    }

    void stringFileMatchesTheEngine_data() {
        QTest::addColumn<QStringList>("strings");
        QTest::newRow("three strings") << QStringList{"ab", "c", "def"};
        QTest::newRow("one empty string") << QStringList{QString()};
        QTest::newRow("empty between") << QStringList{"a", "", "b"};
        QTest::newRow("8-bit name") << QStringList{QStringLiteral("B\u00fccker \u20ac")};
        QTest::newRow("zero character: refused") << QStringList{"a", QString(QChar(0)) + "b"};
        // 2000 entries of 15 bytes: the later strings start beyond offset 32767.
        QTest::newRow("beyond 16-bit positions: refused")
            << QStringList(2000, QStringLiteral("fourteen chars"));
    }
    void stringFileMatchesTheEngine() {
        QFETCH(QStringList, strings);
        QList<QByteArray> encoded;
        for (const QString &s : strings)
            encoded << Text8::fromUnicode(s);
        QByteArray expected;
        if (!StringFile::build(encoded, &expected))
            expected.clear(); // the kit refuses what the engine refuses
        QCOMPARE(DemoStringFile::bytes(strings).toHex(' '), expected.toHex(' '));
    }

    void bitmapDecodes_data() {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::newRow("padded rows") << 5 << 3; // 15 bytes a row, padded to 16
        QTest::newRow("aligned rows") << 4 << 2;
        QTest::newRow("single pixel") << 1 << 1;
    }
    void bitmapDecodes() {
        QFETCH(int, width);
        QFETCH(int, height);
        const QImage img =
            QImage::fromData(DemoBitmap::gradient(width, height, 0x102030, 0xA0B0C0));
        QVERIFY(!img.isNull());
        QCOMPARE(img.size(), QSize(width, height));
        QCOMPARE(img.pixel(0, 0) & 0xFFFFFF, 0x102030u); // top left: the top colour, unshaded
        if (height > 1)
            QCOMPARE(img.pixel(0, height - 1) & 0xFFFFFF, 0xA0B0C0u);
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
            const QImage img = QImage::fromData(bytesOf(p)); // no extension: decoded by content
            QVERIFY2(!img.isNull() && img.width() > 8, qPrintable(p));
        }
    }

    void textFilesAreCrLf8Bit() {
        int checked = 0;
        bool someHighByte = false;
        for (const QString &path : filesUnder(game_) + filesUnder(vek_)) {
            const QString name = QFileInfo(path).fileName();
            const bool text =
                FileList::matches(name, "*.txt;*.ini;*.vek;*.lox;*.spt;KC;linkscreen") ||
                path.contains(QLatin1String("/Autoscripts/"));
            if (!text)
                continue;
            const QByteArray b = bytesOf(path);
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
        QVERIFY(checked > 40);
        QVERIFY(someHighByte); // the 8-bit path is exercised somewhere
    }

    void writtenTreesMatchTheirModels() {
        // Also compares two builds of each tree: the fixture must not vary from run to run.
        const QList<QPair<QString, DemoFolder>> trees{{game_, DemoGameFolder::tree()},
                                                      {vek_, DemoVekFolder::tree()}};
        for (const auto &[root, model] : trees) {
            QList<QPair<QString, const DemoFolder *>> todo{{root, &model}};
            int files = 0;
            while (!todo.isEmpty()) {
                const auto [path, folder] = todo.takeLast();
                QStringList onDisk = FileList::files(path);
                QStringList inModel = folder->fileNames();
                FileList::sortNames(inModel);
                QCOMPARE(onDisk, inModel);
                for (const QString &n : inModel) {
                    QVERIFY2(bytesOf(FileList::join(path, n)) == folder->fileBytes(n),
                             qPrintable(FileList::join(path, n)));
                    ++files;
                }
                QStringList subs = folder->folderNames();
                FileList::sortNames(subs);
                QCOMPARE(subfolderNames(path), subs);
                for (const QString &s : subs)
                    todo.append({FileList::join(path, s), folder->subfolder(s)});
            }
            QCOMPARE(files, filesUnder(root).size());
        }
        QVERIFY(sameTree(DemoGameFolder::tree(), DemoGameFolder::tree()));
        QVERIFY(sameTree(DemoVekFolder::tree(), DemoVekFolder::tree()));
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
            QFile f(asFile ? target : target + "/keep.me");
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("player's own file");
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
        QCOMPARE(filesUnder(dir.path()).size(), 1);
    }

    void folderModelEdits() {
        QTemporaryDir dir;
        QFile own(dir.filePath("own.txt"));
        QVERIFY(own.open(QIODevice::WriteOnly));
        own.write("kept");
        own.close();

        DemoFolder root = DemoVekFolder::tree();
        DemoFolder *late = root.subfolder("F-Late war fighters");
        QVERIFY(late);
        QVERIFY(late->remove("P-Mustang IV"));
        QVERIFY(!late->remove("P-Mustang IV"));
        late->file("planes.dat", "short");
        root.text("vek.ini", {QStringLiteral("Only:A")});
        QString error;
        QVERIFY2(root.write(dir.path(), &error), qPrintable(error));

        QCOMPARE(bytesOf(dir.filePath("own.txt")), QByteArray("kept"));
        QCOMPARE(bytesOf(dir.filePath("vek.ini")), QByteArray("Only:A\r\n"));
        QCOMPARE(bytesOf(dir.filePath("F-Late war fighters/planes.dat")), QByteArray("short"));
        QVERIFY(!QFileInfo::exists(dir.filePath("F-Late war fighters/P-Mustang IV")));
        QVERIFY(QFileInfo::exists(dir.filePath("F-Late war fighters/P-Mustang III")));
    }

    void gameBinaries() {
        const QByteArray exe = bytesOf(game_ + "/eaw.exe");
        QVERIFY(!exe.startsWith("MZ")); // must never pass for a runnable program
        // Both bytes of every game version's night switch lie inside, holding the normal values.
        for (qsizetype offset : {594615, 582209, 699395, 636635}) {
            QVERIFY(exe.size() > offset + 1);
            QCOMPARE(uchar(exe[offset]), uchar(0x94));
            QCOMPARE(uchar(exe[offset + 1]), uchar(0x07));
        }
        const QByteArray cdf = bytesOf(game_ + "/flt.cdf");
        QVERIFY(cdf.size() >= 38258);
        QCOMPARE(cdf[38257], '\0'); // cheat byte off, as after a clean exit
        const QByteArray v1 = bytesOf(game_ + "/V1V1.FLT");
        QVERIFY(v1.size() >= 2);
        QCOMPARE(v1[1], '\0');
    }

    void planesTables_data() {
        QTest::addColumn<QString>("path");
        QTest::newRow("game") << "EAW/planes.dat";
        QTest::newRow("late war set") << "VEK/F-Late war fighters/planes.dat";
        QTest::newRow("early war set") << "VEK/F-Early war/planes.dat";
    }
    void planesTables() {
        QFETCH(QString, path);
        const QByteArray t = bytesOf(QFileInfo(game_).path() + "/" + path);
        QCOMPARE(t.size(), 30 * 216);
        const QSet<int> fighters{5,  3,  4,  2,  0,  1,  13, 11, 10, 9,
                                 14, 12, 18, 17, 22, 23, 16, 24, 20, 19};
        for (int s = 0; s < 30; ++s) {
            const char *r = t.constData() + s * 216;
            const uchar type = uchar(r[8]), nation = uchar(r[9]);
            const qint16 fuel = qint16(uchar(r[40]) | uchar(r[41]) << 8);
            QCOMPARE(int(uchar(r[4])), s);
            QVERIFY2((type & 48) != 48, "twin and four engined");
            QVERIFY2((nation & 96) != 96, "gear inwards and outwards");
            QVERIFY(fuel > 0);
            QCOMPARE(bool(type & 128), s >= 16);           // German
            QCOMPARE(bool(nation & 1), s >= 9 && s <= 15); // British
            QCOMPARE(bool(nation & 2), s <= 8);            // American
            QCOMPARE(bool(type & 4), s != 29);             // all flyable but the V-1
            if (fighters.contains(s))                      // listed on a pick menu
                QVERIFY(type & 1);
        }
        if (!path.startsWith("EAW")) // a content pack's table is not the stock one
            QVERIFY(t != bytesOf(game_ + "/planes.dat"));
    }

    void namesFiles_data() {
        QTest::addColumn<QString>("path");
        QTest::newRow("game") << "EAW/pnames.str";
        QTest::newRow("late war set") << "VEK/F-Late war fighters/pnames.str";
        QTest::newRow("early war set") << "VEK/F-Early war/pnames.str";
    }
    void namesFiles() {
        QFETCH(QString, path);
        // A canonical file: rebuilt from what the engine reads, it comes out the same.
        const QByteArray file = bytesOf(QFileInfo(game_).path() + "/" + path);
        QList<QByteArray> names;
        QByteArray again;
        QString why;
        QVERIFY2(StringFile::parse(file, &names, &why), qPrintable(why));
        QVERIFY(StringFile::build(names, &again));
        QCOMPARE(again.toHex(' '), file.toHex(' '));
        QCOMPARE(names.size(), 30);
        for (const QByteArray &n : names)
            QVERIFY(!n.trimmed().isEmpty() && n.size() < 255);
    }

    void menuFiles_data() {
        QTest::addColumn<PickMenu::Side>("side");
        QTest::newRow("American") << PickMenu::Side::American;
        QTest::newRow("British") << PickMenu::Side::British;
        QTest::newRow("German") << PickMenu::Side::German;
    }
    // The stock menus are what the selector itself would write from the stock names.
    void menuFiles() {
        QFETCH(PickMenu::Side, side);
        QList<QByteArray> names;
        QString why;
        QVERIFY(StringFile::parse(bytesOf(game_ + "/pnames.str"), &names, &why));
        QCOMPARE(bytesOf(game_ + "/" + PickMenu::fileName(side)).toHex(' '),
                 PickMenu::build(side, PickMenu::namesFor(side, names)).toHex(' '));
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
        for (const char *key : {"Width=",
                                "Height=",
                                "StartOnGround=",
                                "NoAI=",
                                "AllowRespawn=",
                                "ExtraSquads=",
                                "AI_PlaneUpdateRate=",
                                "PlayerPlaneUpdateRate=",
                                "ClockSyncRate=",
                                "[REMAP",
                                "DisplayInfoSetting=",
                                "SoundQ",
                                "SoundC",
                                "SoundD",
                                "SoundV",
                                "EngineV",
                                "ExternalV",
                                "MusicVol",
                                "SpeechVol",
                                "ReverseSt",
                                "Subtitles"})
            QVERIFY2(count(lines, key) == 1, key);
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
        const QList<QByteArray> features = crlfLines(bytesOf(game_ + "/KC"), &why);
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

    void vekIniGroupsHaveFolders() {
        QString why;
        const QList<QByteArray> lines = crlfLines(bytesOf(vek_ + "/vek.ini"), &why);
        QVERIFY2(why.isEmpty(), qPrintable(why));
        QVERIFY(lines.size() <= 31);
        QStringList folders = subfolderNames(vek_);
        folders.removeIf([](const QString &n) { return !isContentFolder(n); });
        QString letters;
        for (const QByteArray &l : lines) {
            const qsizetype colon = l.indexOf(':');
            QVERIFY2(colon > 0, l.constData());
            const QChar letter = QLatin1Char(l.back()); // the selector takes the last character
            QVERIFY2(letter.isLetter() && !letters.contains(letter), l.constData());
            letters += letter;
            const auto inGroup = [&](const QString &n) {
                return n.startsWith(letter + QLatin1Char('-')) ||
                       n.startsWith(letter + QLatin1Char(' '));
            };
            QVERIFY2(std::any_of(folders.begin(), folders.end(), inGroup), l.constData());
        }
        for (const char *needed : {"A", "G", "M", "F"})
            QVERIFY(letters.contains(QLatin1String(needed)));
        for (const QString &f : folders)
            QVERIFY2(letters.contains(f[0]) && (f[1] == '-' || f[1] == ' '), qPrintable(f));
    }

    void contentFoldersAreComplete() {
        for (const QString &name : subfolderNames(vek_)) {
            if (!isContentFolder(name))
                continue;
            const QString path = FileList::join(vek_, name);
            QVERIFY2(!name.contains(','), qPrintable(name)); // autoscripts split at commas
            QVERIFY2(!FileList::find(path, "contents.txt").isEmpty(), qPrintable(name));
            QVERIFY2(!FileList::files(path, "mypic;skinpic;*.jpg;*.bmp;*.gif").isEmpty(),
                     qPrintable(name));
            const QStringList files = FileList::files(path);
            QVERIFY2(std::any_of(files.begin(), files.end(),
                                 [](const QString &f) { return !FileMover::skipped(f); }),
                     qPrintable(name + ": nothing would be loaded"));
            if (name.startsWith("M-")) {
                const QString store = FileList::join(vek_, "C-" + name.mid(2));
                QVERIFY2(!FileList::files(store).isEmpty(), qPrintable(store));
            }
            const QStringList subs = subfolderNames(path);
            if (std::any_of(subs.begin(), subs.end(),
                            [](const QString &s) { return s.startsWith("P-"); })) {
                QVERIFY2(name.startsWith('F'), qPrintable(name));
                QCOMPARE(bytesOf(path + "/planes.dat").size(), 30 * 216);
                QVERIFY(!bytesOf(path + "/pnames.str").isEmpty());
            }
        }
    }

    // Every "P-" folder passes the selector's own checks whole, and is a flyable fighter
    // whose fuel load fits the signed number the game reads.
    void alternativeAircraft() {
        const QString set = vek_ + "/F-Late war fighters";
        const qsizetype loadoutSize = bytesOf(set + "/loadout.dat").size();
        QVERIFY(loadoutSize > 0);
        int planes = 0;
        for (const QString &sub : subfolderNames(set)) {
            if (!AltPlane::isAltFolder(sub))
                continue;
            const QString path = FileList::join(set, sub);
            // Applied only when there is exactly one of a kind.
            QCOMPARE(FileList::files(path, "*.vek").size(), 1);
            QVERIFY(FileList::files(path, "*.lox").size() <= 1);
            QVERIFY(FileList::files(path, "*.flt").size() <= 1);
            AltPlane plane;
            QString error;
            QVERIFY2(plane.readVek(path, &error), qPrintable(error));
            plane.findExtras();
            QVERIFY2(plane.readLox(loadoutSize, &error), qPrintable(error));
            const auto at = [&](int k) { return int(uchar(plane.span[k])); };
            QVERIFY((at(4) & 5) == 5);
            QVERIFY(at(36) + 256 * at(37) > 0 && at(36) + 256 * at(37) <= 32767);
            ++planes;
        }
        QVERIFY(planes >= 3);
    }

    void skinFolders() {
        const QString skins = vek_ + "/Skinfolder";
        QStringList slotsSeen;
        for (const QString &name : subfolderNames(skins)) {
            bool ok = false;
            const int slot = name.mid(2, 2).toInt(&ok);
            QVERIFY2(name.startsWith("A-") && ok && slot < 30 && name[4] == ' ', qPrintable(name));
            const QStringList files = FileList::files(FileList::join(skins, name));
            QVERIFY(files.contains("contents.txt"));
            QVERIFY2(std::any_of(files.begin(), files.end(),
                                 [](const QString &f) {
                                     const QString up = f.toUpper();
                                     return up != "SKINPIC" && up != "MYPIC" &&
                                            up != "CONTENTS.TXT" && !up.endsWith(".JPG") &&
                                            !up.endsWith(".ASK") && !up.endsWith(".PCX");
                                 }),
                     qPrintable(name));
            slotsSeen << name.left(4);
        }
        QVERIFY(slotsSeen.removeDuplicates() > 0); // two skins share a slot
    }

    void autoscriptEntriesResolve() {
        const QStringList content = subfolderNames(vek_);
        const QStringList skins = subfolderNames(vek_ + "/Skinfolder");
        const QStringList scripts = FileList::files(vek_ + "/Autoscripts");
        QVERIFY(!scripts.isEmpty());
        for (const QString &script : scripts) {
            QStringList loaded;
            const QByteArray b = bytesOf(vek_ + "/Autoscripts/" + script);
            QVERIFY(b.endsWith("\r\n\r\n")); // saved list plus one line end
            for (const QByteArray &line : b.split('\n')) {
                for (QByteArray entry : line.split(',')) {
                    entry = entry.trimmed();
                    if (entry.isEmpty())
                        continue;
                    const QString e = QString::fromLatin1(entry);
                    if (e.startsWith("P-")) {
                        // An aircraft row exists only once its set is loaded.
                        QVERIFY2(std::any_of(loaded.begin(), loaded.end(),
                                             [&](const QString &f) {
                                                 return QFileInfo::exists(vek_ + "/" + f + "/" + e);
                                             }),
                                 qPrintable(script + ": " + e));
                    } else {
                        QVERIFY2(content.contains(e) || skins.contains(e), qPrintable(e));
                        loaded << e;
                    }
                }
            }
        }
    }

    void musicSets() {
        QVERIFY(QFileInfo(game_ + "/Music").isDir());
        int sets = 0;
        for (const QString &name : subfolderNames(game_)) {
            if (!name.toUpper().startsWith("MUSIC#") && name != "Music")
                continue;
            const QString path = FileList::join(game_, name);
            QVERIFY2(!musicDescription(path).isEmpty(), qPrintable(name));
            for (const QString &wav : FileList::files(path, "*.wav")) {
                const QByteArray w = bytesOf(FileList::join(path, wav));
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

private:
    static QByteArray musicDescription(const QString &folder) {
        const QString name = FileList::find(folder, "music.txt");
        return name.isEmpty() ? QByteArray()
                              : bytesOf(FileList::join(folder, name)).split('\r').value(0);
    }
};

QTEST_GUILESS_MAIN(DemoKitTest)
#include "DemoKitTest.moc"
