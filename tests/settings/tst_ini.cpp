// SPDX-License-Identifier: GPL-3.0-or-later
#include "DemoGameFolder.h"
#include "FileList.h"
#include "FileOps.h"
#include "FileSizeCap.h"
#include "GameProgram.h"
#include "IniOptions.h"
#include "NightSwitch.h"
#include "Rows.h"
#include "TestFolders.h"
#include "TextFile.h"

#include <QDir>
#include <QTest>

#include <optional>

namespace {

using Lines = QList<QByteArray>;

QByteArray rebuilt(const QByteArray &original, IniState &state) {
    return TextFile::joinLines(IniOptions::build(TextFile::splitLines(original), state));
}

QString describe(const IniState &s) {
    return QStringLiteral("%1 %2 %3 %4 %5")
        .arg(s.resolution)
        .arg(int(s.startOnGround))
        .arg(int(s.noAI))
        .arg(int(s.allowRespawn))
        .arg(s.squads);
}

// A player's options file: the selector's keys stand in odd places (a sync key under [EAW]),
// lines that only look like its keys must survive, and one value holds an 8-bit letter.
const QByteArray kPlayerIni = "; EAW options\r\n"
                              "[EAW]\r\n"
                              "PilotName=J\xFC"
                              "rgen\r\n"
                              "ExtraSquads=2\r\n"
                              "ClockSyncRate=50\r\n"
                              "\r\n"
                              "[GRAPHICS]\r\n"
                              "Gamma=5\r\n"
                              "Width=1024\r\n"
                              "Height=768\r\n"
                              "HeightFog=1\r\n"
                              "width=800\r\n"
                              "\r\n"
                              "[NETOPTION]\r\n"
                              "SessionName=Friday\r\n"
                              "StartOnGround=1\r\n"
                              "NoAI=0\r\n"
                              "AllowRespawn=1\r\n"
                              "AI_PlaneUpdateRate=100\r\n"
                              "PlayerPlaneUpdateRate=10\r\n"
                              "Port=2300\r\n";

// The player's file as the selector must write it: the three blocks follow their section
// lines, and the original sync lines stay only where they stood when the file's own rates
// are chosen.
QByteArray playerIniWith(const QByteArray &eaw, const QByteArray &graphics, const QByteArray &net,
                         bool originalSyncKept) {
    return "; EAW options\r\n"
           "[EAW]\r\n" +
           eaw +
           "PilotName=J\xFC"
           "rgen\r\n" +
           (originalSyncKept ? QByteArray("ClockSyncRate=50\r\n") : QByteArray()) +
           "\r\n"
           "[GRAPHICS]\r\n" +
           graphics +
           "Gamma=5\r\n"
           "HeightFog=1\r\n"
           "width=800\r\n"
           "\r\n"
           "[NETOPTION]\r\n" +
           net + "SessionName=Friday\r\n" +
           (originalSyncKept ? QByteArray("AI_PlaneUpdateRate=100\r\nPlayerPlaneUpdateRate=10\r\n")
                             : QByteArray()) +
           "Port=2300\r\n";
}

// 27 keyed lines; with a comment and a section header after them, the 30 lines after
// [DISPLAY] end on the first key of the next section.
QByteArray hudBlock(const char *value) {
    QByteArray block;
    for (int i = 1; i <= 27; ++i)
        block += "Hud" + QByteArray::number(i).rightJustified(2, '0') + '=' + value + "\r\n";
    return block;
}

const QByteArray kRemap = "PadlockView=P\r\nViewForward=F1\r\n; views\r\nMacro=Ctrl=X\r\n";
const QByteArray kSound = "SoundQuality=1\r\nSoundChannels=16\r\nSoundDevice=0\r\n"
                          "SoundVolume=100\r\nEngineVolume=80\r\nExternalVolume=70\r\n"
                          "MusicVolume=60\r\nSpeechVolume=90\r\nReverseStereo=0\r\nSubtitles=1\r\n";

// Kept line numbers: DisplayInfoSetting 2, sound keys 5..14, [REMAP] 16, [DISPLAY] 22,
// HUD keys 23..49, "[NEXT]" 51, "After1" 52 (30 after [DISPLAY]), "After2" 53, the last.
QByteArray featureIni(const QByteArray &remap = kRemap, const QByteArray &sound = kSound,
                      const QByteArray &displayInfo = "DisplayInfoSetting=3\r\n",
                      const QByteArray &hud = hudBlock("0"), const QByteArray &after1 = "0",
                      const QByteArray &after2 = "0") {
    return "[GAME]\r\n" + displayInfo + "\r\n[SOUND]\r\n" + sound + "\r\n[REMAP]\r\n" + remap +
           "\r\n[DISPLAY]\r\n" + hud + "; end of HUD\r\n[NEXT]\r\nAfter1=" + after1 +
           "\r\nAfter2=" + after2 + "\r\n";
}

// The stand-in program with `bytes` written at `offset`.
QByteArray program(qint64 offset = 0, const QByteArray &bytes = {}) {
    QByteArray out = DemoGameFolder::exeBytes();
    out.replace(offset, bytes.size(), bytes);
    return out;
}

QByteArray nightAt(int version) {
    return program(NightSwitch::Versions[version].offset, NightSwitch::NightBytes);
}

} // namespace

// One rewrite with keyboard-feature codes: the file it gives and what the feature page shows
// afterwards. Unless a row says otherwise, the codes are applied to featureIni().
struct FeatureCase {
    QStringList codes{};
    QByteArray expected{};
    QString dispLab = QStringLiteral("3");
    QString hudLab{};
    bool apply = true;
    QString label21{}, hudBefore{};
    QByteArray original = featureIni();
};

// featureIni() with the display-info value and the HUD colour over the 30 lines after
// [DISPLAY] (the last of them "After1").
QByteArray withDisplay(const char *info, const char *hud = "0", const char *after2 = "0") {
    return featureIni(kRemap, kSound, "DisplayInfoSetting=" + QByteArray(info) + "\r\n",
                      hudBlock(hud), hud, after2);
}

struct ReadCase {
    const char *tag, *ini;
    int before;
    const char *read, *restored;
};

// The game's program and the original copy before a restore and after it; `kept`: the file the
// restore adds to the VEK folder, with `keptBytes`; `told`: what the notice says (empty:
// nothing); `failure`: "read-only copy", "read-only program" or "full disk"; `earlier`: a name
// already taken in the VEK folder.
struct ProgramCase {
    const char *tag;
    QByteArray present, original, game, copy;
    QString kept{};
    QByteArray keptBytes{};
    QString told{}, failure{}, earlier{};
};

class TestIni : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // One file, read once as the game's eaw.ini at window load and once as the original copy by
    // Restore. The starting state has everything set, so what each reader clears shows.

    void readAndRestore() {
        // What is read and what the restore leaves: resolution, Check1..3, squads.
        const ReadCase rows[] = {
            {"1280 x 1024", "[GRAPHICS]\r\nWidth=1280\r\nHeight=1024\r\n", -1, "3 0 1 1 0",
             "3 0 0 0 4"},
            {"1280 x 960", "Width=1280\r\nHeight=960\r\n", 3, "4 0 1 1 0", "4 0 0 0 4"},
            {"1152 x 864", "Width=1152\r\nHeight=864\r\n", -1, "6 0 1 1 0", "6 0 0 0 4"},
            {"640 x 480", "Width=640\r\nHeight=480\r\n", 5, "0 0 1 1 0", "0 0 0 0 4"},
            {"800 x 600", "Width=800\r\nHeight=600\r\n", -1, "1 0 1 1 0", "1 0 0 0 4"},
            {"1600 x 1200", "Width=1600\r\nHeight=1200\r\n", -1, "5 0 1 1 0", "5 0 0 0 4"},
            {"width as the last line", "Width=1280", -1, "4 0 1 1 0", "4 0 0 0 4"},
            {"lower-case width", "width=1280\r\nheight=1024\r\n", 6, "6 0 1 1 0", "3 0 0 0 4"},
            {"no width clears a low resolution", "Gamma=5\r\n", 2, "-1 0 1 1 0", "-1 0 0 0 4"},
            {"online keys", "[NETOPTION]\r\nStartOnGround=1\r\nNoAI=1\r\nAllowRespawn=1\r\n", -1,
             "-1 1 1 1 0", "-1 1 1 1 4"},
            {"line after a width line is the height line", "Width=1024\r\nStartOnGround=1\r\n", -1,
             "2 0 1 1 0", "2 1 0 0 4"},
            {"extra squads 3", "ExtraSquads=3\r\n", -1, "-1 0 1 1 3", "-1 0 0 0 3"},
            {"extra squads without a button", "ExtraSquads=7\r\n", -1, "-1 0 1 1 0", "-1 0 0 0 4"},
            {"extra squads, only the last digit read", "ExtraSquads=13\r\n", -1, "-1 0 1 1 3",
             "-1 0 0 0 4"},
        };
        for (const auto &row : rows) {
            TestFolders f(TestFolders::WithoutGameFiles);
            // A section line first: an original copy without one is refused.
            const QByteArray ini = "[GAME]\r\n" + QByteArray(row.ini);
            TestFolders::write(f.game(), QStringLiteral("EAW.INI"), ini);
            TestFolders::write(f.vek(), QStringLiteral("eaw.ini"), ini);
            TestFolders::write(f.vek(), QStringLiteral("eaw.exe"), "MZ");
            for (const bool restore : {false, true}) {
                IniState state;
                state.resolution = row.before;
                state.startOnGround = state.noAI = state.allowRespawn = true;
                state.squads = 4;
                QStringList problems;
                if (restore) { // from the original copy alone: the game's file is made anew
                    QVERIFY(QFile::remove(QDir(f.game()).filePath(QStringLiteral("EAW.INI"))));
                    QVERIFY(IniOptions::Restore(f.game(), f.vek(), state, &problems));
                } else {
                    IniOptions::ReadIniOptions(f.game(), state, &problems);
                }
                QVERIFY2(problems.isEmpty(), qPrintable(problems.join('\n')));
                QCOMPARE(describe(state), QLatin1String(restore ? row.restored : row.read));
            }
        }
    }

    // The player's file as each state of the buttons rewrites it.
    void options() {
        QList<std::pair<IniState, QByteArray>> rows;
        IniState base;
        base.resolution = 2;
        const QByteArray squads0 = "ExtraSquads=0\r\n";
        const QByteArray xga = "Width=1024\r\nHeight=768\r\n";
        const QByteArray allOff = "StartOnGround=0\r\nNoAI=0\r\nAllowRespawn=0\r\n";

        // The buttons in order, from none (-1); each writes its width and height.
        const char *resolutions[] = {"no resolution", "640 x 480",  "800 x 600",   "1024 x 768",
                                     "1280 x 1024",   "1280 x 960", "1600 x 1200", "1152 x 864"};
        for (int index = -1; index < 7; ++index) {
            IniState s = base;
            s.resolution = index;
            const QByteArrayList size = QByteArray(resolutions[index + 1]).split(' ');
            const QByteArray lines =
                index < 0 ? QByteArray() : "Width=" + size[0] + "\r\nHeight=" + size[2] + "\r\n";
            rows.append({s, playerIniWith(squads0, lines, allOff, true)});
        }

        // The online keys in every combination, with each sync mode: fixed rates follow the
        // online keys, and the original rate lines stay only when no fixed rate is chosen.
        const QByteArray rates[] = {
            "", "AI_PlaneUpdateRate=200\r\nPlayerPlaneUpdateRate=20\r\nClockSyncRate=80\r\n",
            "AI_PlaneUpdateRate=140\r\nPlayerPlaneUpdateRate=14\r\nClockSyncRate=70\r\n"};
        const auto on = [](int bits, int bit) { return QByteArray::number(bits >> bit & 1); };
        for (int sync = 0; sync < 3; ++sync) {
            for (int bits = 0; bits < 8; ++bits) {
                IniState s = base;
                s.sync = sync;
                s.startOnGround = bits & 1;
                s.noAI = bits & 2;
                s.allowRespawn = bits & 4;
                const QByteArray net = "StartOnGround=" + on(bits, 0) + "\r\nNoAI=" + on(bits, 1) +
                                       "\r\nAllowRespawn=" + on(bits, 2) + "\r\n" + rates[sync];
                rows.append({s, playerIniWith(squads0, xga, net, sync == 0)});
            }
        }

        for (int k = 0; k < 6; ++k) {
            IniState s = base;
            s.squads = k;
            rows.append({s, playerIniWith("ExtraSquads=" + QByteArray::number(k) + "\r\n", xga,
                                          allOff, true)});
        }
        for (auto &[state, expected] : rows)
            QCOMPARE(rebuilt(kPlayerIni, state), expected);
    }

    // Section lines in any case and with trailing text, none at all, keys in another case, a
    // section named twice, LF line ends and 8-bit bytes.
    void sections() {
        const std::pair<QByteArray, QByteArray> rows[] = {
            {"[graphics]\r\nWidth=800\r\n[netoption]\r\nNoAI=1\r\nClockSyncRate=50\r\n[eaw]\r\n"
             "ExtraSquads=1\r\n",
             "[graphics]\r\nWidth=1280\r\nHeight=1024\r\n[netoption]\r\n[eaw]\r\n"},
            {"[Graphics]\r\n[NETOPTION] ; online\r\n[EAW] \r\n",
             "[Graphics]\r\nWidth=1280\r\nHeight=1024\r\n[NETOPTION] ; online\r\n[EAW] \r\n"},
            {"Gamma=5\r\nWidth=800\r\nHeight=600\r\nNoAI=1\r\nAllowRespawn=0\r\nStartOnGround=1\r\n"
             "ExtraSquads=3\r\nAI_PlaneUpdateRate=1\r\nPlayerPlaneUpdateRate=2\r\n"
             "ClockSyncRate=3\r\nTitle=x\r\n",
             "Gamma=5\r\nTitle=x\r\n"},
            {"noai=1\r\nEXTRASQUADS=2\r\nExtraSquads =3\r\n width=5\r\nclocksyncrate=4\r\n",
             "noai=1\r\nEXTRASQUADS=2\r\nExtraSquads =3\r\n width=5\r\nclocksyncrate=4\r\n"},
            {"[NETOPTION]\r\n[EAW]\r\n[GRAPHICS]\r\n[EAW]\r\n",
             "[NETOPTION]\r\nStartOnGround=1\r\nNoAI=0\r\nAllowRespawn=0\r\n"
             "AI_PlaneUpdateRate=140\r\nPlayerPlaneUpdateRate=14\r\nClockSyncRate=70\r\n"
             "[EAW]\r\nExtraSquads=4\r\n[GRAPHICS]\r\nWidth=1280\r\nHeight=1024\r\n"
             "[EAW]\r\nExtraSquads=4\r\n"},
            {"Name=\xC0\xFF\x80\x81\nWidth=1\n[GRAPHICS]\nLast=\xE9",
             "Name=\xC0\xFF\x80\x81\r\n[GRAPHICS]\r\nWidth=1280\r\nHeight=1024\r\nLast=\xE9\r\n"},
        };
        for (const auto &[original, expected] : rows) {
            IniState state;
            state.resolution = 3;
            state.squads = 4;
            state.startOnGround = true;
            state.sync = 2;
            QCOMPARE(rebuilt(original, state), expected);
        }
    }

    void features() {
        const QByteArray base = featureIni();
        const QByteArray noRemap = "A=1\r\nB=2\r\nC=3\r\nDisplayInfoSetting=3\r\n";
        const std::pair<const char *, FeatureCase> rows[] = {
            {"number codes empty the value below [REMAP]",
             {{"1", "4"}, featureIni("PadlockView=\r\nViewForward=F1\r\n; views\r\nMacro=\r\n")}},
            {"number with a trailing blank",
             {{"2 "}, featureIni("PadlockView=P\r\nViewForward=\r\n; views\r\nMacro=Ctrl=X\r\n")}},
            {"number on a line without \"=\" and on [REMAP] itself", {{"3", "0"}, base}},
            {"number reaching the last kept line and beyond",
             {{"37", "38", "99999999999999999999999"}, withDisplay("3", "0", "")}},
            {"sound codes S1 to S0",
             {{"S1a", "S2b", "S3c", "S4d", "S5e", "S6f", "S7g", "S8h", "S9i", "S0j"},
              featureIni(kRemap,
                         "SoundQuality=a\r\nSoundChannels=b\r\nSoundDevice=c\r\nSoundVolume=d\r\n"
                         "EngineVolume=e\r\nExternalVolume=f\r\nMusicVolume=g\r\nSpeechVolume=h\r\n"
                         "ReverseStereo=i\r\nSubtitles=j\r\n")}},
            {"sound value with an 8-bit letter and an empty value",
             {{QStringLiteral("S7Lautst\u00E4rke"), "S0"},
              featureIni(kRemap, QByteArray(kSound)
                                     .replace("MusicVolume=60", "MusicVolume=Lautst\xE4rke")
                                     .replace("Subtitles=1", "Subtitles="))}},
            {"S without a digit does nothing", {{"SX5", "S", "s7x"}, base}},
            {"display info value", {{"D0"}, withDisplay("0"), "0"}},
            {"later codes win", {{"D1", "C1", "D2", "C2"}, withDisplay("2", "2"), "2", "2"}},
            {"empty cells, lower-case and signed codes are skipped",
             {{"", "c7", "x", "-3", "", "S7Up", "", ""},
              featureIni(kRemap, QByteArray(kSound).replace("MusicVolume=60", "MusicVolume=Up"))}},
            {"codes wait for ApplyFeature",
             {.codes = {"1", "D9", "C4"}, .expected = base, .apply = false}},
            {"a chosen feature stays in force",
             {.codes = {"1", "D9"},
              .expected =
                  featureIni("PadlockView=\r\nViewForward=F1\r\n; views\r\nMacro=Ctrl=X\r\n",
                             kSound, "DisplayInfoSetting=9\r\n"),
              .dispLab = "9",
              .apply = false,
              .label21 = "# 2"}},
            {"HUD value already chosen is written without a feature",
             {.expected = withDisplay("3", "5"), .hudLab = "5", .apply = false, .hudBefore = "5"}},
            {"no [REMAP] and no [DISPLAY]: nothing to count from",
             {.codes = {"1", "C7"}, .expected = noRemap, .hudLab = "7", .original = noRemap}},
            {"[DISPLAY] near the end",
             {.codes = {"C9"},
              .expected = "[DISPLAY]\r\nA=9\r\n;x\r\nB=9\r\n",
              .dispLab = "",
              .hudLab = "9",
              .original = "[DISPLAY]\r\nA=1\r\n;x\r\nB=2\r\n"}},
            {"key in any case is rewritten in its own spelling",
             {.expected = "[eaw]\r\nDisplayInfoSetting=12\r\n",
              .dispLab = "12",
              .apply = false,
              .original = "[eaw]\r\ndisplayinfosetting=12\r\n"}},
            {"no display-info line gets none",
             {.codes = {"D1"},
              .expected = "[GAME]\r\nX=1\r\n",
              .dispLab = "1",
              .original = "[GAME]\r\nX=1\r\n"}},
        };
        for (const auto &[tag, c] : rows) {
            const CaseName inCase(tag);
            IniState state;
            state.resolution = -1;
            state.featureCodes = c.codes;
            state.ApplyFeature = c.apply;
            state.Label21 = c.label21;
            state.HUDLab = c.hudBefore;
            QCOMPARE(rebuilt(c.original, state), c.expected);
            QCOMPARE(state.DispLab, c.dispLab);
            QCOMPARE(state.HUDLab, c.hudLab);
            QVERIFY(!state.ApplyFeature);
        }
    }

    void displayPositionsFollowTheKeptLines() {
        // Three sync lines above both positions: they count only while the file's own rates are
        // kept.
        const QByteArray original =
            "[NETOPTION]\r\nAI_PlaneUpdateRate=1\r\nPlayerPlaneUpdateRate=2\r\n"
            "ClockSyncRate=3\r\n[EAW]\r\nDisplayInfoSetting=4\r\n[DISPLAY]\r\n"
            "Hud=1\r\n";
        IniState state;
        rebuilt(original, state);
        QCOMPARE(state.DisplayInfoLine, 6);
        QCOMPARE(state.DisplaySectionLine, 7);
        QCOMPARE(state.DisplayInfoValue, QStringLiteral("4"));

        state.sync = 1;
        state.HUDLab = QStringLiteral("8");
        QCOMPARE(
            rebuilt(original, state),
            QByteArray("[NETOPTION]\r\nStartOnGround=0\r\nNoAI=0\r\nAllowRespawn=0\r\n"
                       "AI_PlaneUpdateRate=200\r\nPlayerPlaneUpdateRate=20\r\nClockSyncRate=80\r\n"
                       "[EAW]\r\nExtraSquads=0\r\nDisplayInfoSetting=4\r\n[DISPLAY]\r\nHud=8\r\n"));
        QCOMPARE(state.DisplayInfoLine, 3);
        QCOMPARE(state.DisplaySectionLine, 4);

        // A position left from another file must not rewrite a line of this one; the value last
        // read stays for the feature page.
        const QByteArray plain = "A=1\r\nB=2\r\nC=3\r\nD=4\r\n";
        QCOMPARE(rebuilt(plain, state), plain);
        QCOMPARE(state.DisplayInfoLine, 0);
        QCOMPARE(state.DisplaySectionLine, 0);
        QCOMPARE(state.DisplayInfoValue, QStringLiteral("4"));
    }

    void saveOriginalsCopiesOnlyWhatIsMissing() {
        TestFolders f(TestFolders::WithoutGameFiles);
        TestFolders::write(f.game(), QStringLiteral("EAW.INI"), "first\r\n");
        // Without the game's program the options file is still copied, and the missing file named.
        QStringList problems;
        QVERIFY(!IniOptions::SaveOriginals(f.game(), f.vek(), &problems));
        QCOMPARE(problems.size(), 1);
        QVERIFY2(problems.first().contains(QDir::toNativeSeparators(f.game() + "/eaw.exe")),
                 qPrintable(problems.first()));
        QCOMPARE(TestFolders::read(f.vek(), QStringLiteral("eaw.ini")), QByteArray("first\r\n"));
        QVERIFY(!TestFolders::exists(f.vek(), QStringLiteral("eaw.exe")));

        TestFolders::write(f.game(), QStringLiteral("EAW.EXE"), QByteArray("MZ\0\x90", 4));
        problems.clear();
        QVERIFY(IniOptions::SaveOriginals(f.game(), f.vek(), &problems));
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join('\n')));
        QCOMPARE(TestFolders::read(f.vek(), QStringLiteral("eaw.exe")), QByteArray("MZ\0\x90", 4));

        // A later run, after the selector rewrote the game's files, keeps the first copies, even
        // when they were renamed in another case.
        QVERIFY(
            QFile::rename(QDir(f.vek()).filePath("eaw.ini"), QDir(f.vek()).filePath("Eaw.Ini")));
        TestFolders::write(f.game(), QStringLiteral("EAW.INI"), "second\r\n");
        TestFolders::write(f.game(), QStringLiteral("EAW.EXE"), "patched");
        QVERIFY(IniOptions::SaveOriginals(f.game(), f.vek(), &problems));
        QVERIFY(problems.isEmpty());
        QCOMPARE(FileList::files(f.vek(), QStringLiteral("eaw.*")),
                 QStringList({"eaw.exe", "Eaw.Ini"}));
        QCOMPARE(TestFolders::read(f.vek(), QStringLiteral("Eaw.Ini")), QByteArray("first\r\n"));
        QCOMPARE(TestFolders::read(f.vek(), QStringLiteral("eaw.exe")), QByteArray("MZ\0\x90", 4));
    }

    void saveRewritesTheFileUnderItsOwnName() {
        TestFolders f(TestFolders::WithoutGameFiles);
        // The original as a player might have it: LF line ends and a Windows-1252 letter.
        TestFolders::write(f.vek(), QStringLiteral("EAW.ini"),
                           "[EAW]\nPilotName=Fran\xE7ois\nExtraSquads=1\n[GRAPHICS]\nWidth=640\n");
        TestFolders::write(f.game(), QStringLiteral("EAW.INI"), "old\r\n");
        const QString target = QDir(f.game()).filePath(QStringLiteral("EAW.INI"));
        QVERIFY(FileOps::setReadOnly(target, true));

        IniState state;
        state.resolution = 5;
        state.squads = 3;
        QString error;
        QVERIFY2(IniOptions::save(f.game(), f.vek(), state, &error), qPrintable(error));
        QCOMPARE(FileList::files(f.game()), QStringList{"EAW.INI"});
        QCOMPARE(TestFolders::read(f.game(), QStringLiteral("EAW.INI")),
                 QByteArray("[EAW]\r\nExtraSquads=3\r\nPilotName=Fran\xE7ois\r\n[GRAPHICS]\r\n"
                            "Width=1600\r\nHeight=1200\r\n"));
        QVERIFY(!FileOps::isReadOnly(target));
        // The original copy is only ever read.
        QCOMPARE(
            TestFolders::read(f.vek(), QStringLiteral("EAW.ini")),
            QByteArray("[EAW]\nPilotName=Fran\xE7ois\nExtraSquads=1\n[GRAPHICS]\nWidth=640\n"));
    }

    // A save that cannot be made leaves the game's file as it was, under its one name, and names
    // the file at fault: the missing original copy, one that cannot be an options file, or the
    // game's file when the disk is full (the save's own buffered flush does not report a short
    // write, so the write has to check it). Restore refuses the same originals.
    void saveRefusedKeepsTheGameFile_data() {
        QTest::addColumn<QByteArray>("original"); // null: none
        QTest::addColumn<bool>("capped");
        QTest::addColumn<QString>("reason");
        QTest::newRow("no original copy") << QByteArray() << false << "does not exist";
        QTest::newRow("capped file size") << kPlayerIni << true << "";
        QTest::newRow("blank original") << QByteArray("\r\n  \r\n") << false << "it is empty";
        QTest::newRow("binary original")
            << QByteArray("[EAW]\r\nW\0\x01\x02\xff", 12) << false << "binary";
        QTest::newRow("original without a section")
            << QByteArray("Width=800\r\nHeight=600\r\n") << false << "no \"[section]\"";
    }

    void saveRefusedKeepsTheGameFile() {
        QFETCH(QByteArray, original);
        QFETCH(bool, capped);
        QFETCH(QString, reason);
        TestFolders f(TestFolders::WithoutGameFiles);
        if (!original.isNull())
            TestFolders::write(f.vek(), QStringLiteral("eaw.ini"), original);
        TestFolders::write(f.game(), QStringLiteral("eaw.ini"), "old\r\n");
        const QString target = QDir(f.game()).filePath(QStringLiteral("eaw.ini"));
        QVERIFY(FileOps::setReadOnly(target, !capped));
        IniState state;
        QString error;
        bool saved = true;
        {
            std::optional<FileSizeCap> cap;
            if (capped && !cap.emplace(64).active())
                QSKIP("cannot cap the file size here");
            saved = IniOptions::save(f.game(), f.vek(), state, &error);
        }
        QVERIFY(!saved);
        const QString atFault = capped ? target : QDir(f.vek()).filePath("eaw.ini");
        QVERIFY2(error.contains(QDir::toNativeSeparators(atFault)), qPrintable(error));
        QVERIFY2(error.contains(reason), qPrintable(error));
        QCOMPARE(TestFolders::read(f.game(), QStringLiteral("eaw.ini")), QByteArray("old\r\n"));
        QCOMPARE(FileList::files(f.game()), QStringList{"eaw.ini"});
        QCOMPARE(FileOps::isReadOnly(target), !capped);
        if (capped)
            return;

        // Restore copies nothing from it (nor from a missing one) and leaves the controls; the
        // program copy goes back.
        TestFolders::write(f.vek(), QStringLiteral("eaw.exe"), "original program");
        state.resolution = 2;
        state.noAI = true;
        QStringList problems;
        QVERIFY(!IniOptions::Restore(f.game(), f.vek(), state, &problems));
        QCOMPARE(problems.size(), 1);
        QVERIFY2(problems.first().contains(QDir::toNativeSeparators(atFault)) &&
                     problems.first().contains(reason),
                 qPrintable(problems.first()));
        QCOMPARE(TestFolders::read(f.game(), QStringLiteral("eaw.ini")), QByteArray("old\r\n"));
        QCOMPARE(TestFolders::read(f.game(), QStringLiteral("eaw.exe")),
                 QByteArray("original program"));
        QCOMPARE(describe(state), QStringLiteral("2 0 1 0 0"));
    }

    // Restore copies the originals back under the names the game folder spells them, the
    // options file writable even from a read-only copy, and reads the options from it; a missing
    // program copy is named, and the options file still comes back.
    void restoreCopiesTheOriginals_data() {
        QTest::addColumn<bool>("withProgram");
        QTest::newRow("both originals") << true;
        QTest::newRow("no original program") << false;
    }

    void restoreCopiesTheOriginals() {
        QFETCH(bool, withProgram);
        TestFolders f(TestFolders::WithoutGameFiles);
        const QByteArray ini = "[GRAPHICS]\nWidth=800\r\nHeight=600\nName=\xE9\n";
        TestFolders::write(f.vek(), QStringLiteral("eaw.ini"), ini);
        if (withProgram)
            TestFolders::write(f.vek(), QStringLiteral("EAW.exe"), program());
        TestFolders::write(f.game(), QStringLiteral("Eaw.ini"), "rewritten\r\n");
        TestFolders::write(f.game(), QStringLiteral("EAW.EXE"), nightAt(0));
        const QString gameIni = QDir(f.game()).filePath(QStringLiteral("Eaw.ini"));
        QVERIFY(FileOps::setReadOnly(gameIni, true));
        QVERIFY(FileOps::setReadOnly(QDir(f.vek()).filePath(QStringLiteral("eaw.ini")), true));

        IniState state;
        QStringList problems;
        QCOMPARE(IniOptions::Restore(f.game(), f.vek(), state, &problems), withProgram);
        QCOMPARE(problems.size(), withProgram ? 0 : 1);
        if (!withProgram)
            QVERIFY2(problems.first().contains(QDir::toNativeSeparators(f.vek() + "/eaw.exe")),
                     qPrintable(problems.first()));
        QCOMPARE(FileList::files(f.game()), QStringList({"EAW.EXE", "Eaw.ini"}));
        QCOMPARE(TestFolders::read(f.game(), QStringLiteral("Eaw.ini")), ini);
        QVERIFY(TestFolders::read(f.game(), QStringLiteral("EAW.EXE")) ==
                (withProgram ? program() : nightAt(0)));
        QVERIFY(!FileOps::isReadOnly(gameIni));
        QCOMPARE(state.resolution, 1);
    }

    // The first copy of the game's program is the day program, whatever the switch held when
    // the VEK folder was first opened; the start's restore then puts the game's program back
    // to day and has nothing to tell.

    void saveOriginalsKeepsTheDayProgram() {
        const QByteArray day = program();
        const qint64 first = NightSwitch::Versions[0].offset;
        QByteArray twoNights = nightAt(0);
        twoNights.replace(NightSwitch::Versions[2].offset, 2, NightSwitch::NightBytes);
        const std::tuple<QByteArray, QByteArray> rows[] = {
            {twoNights, day},                    // night pairs of two versions
            {nightAt(2) + "tail", day + "tail"}, // night program of another size
            {nightAt(0).left(first + 1), nightAt(0).left(first + 1)}, // cut inside a night pair
        };
        for (auto [present, kept] : rows) {
            TestFolders f(TestFolders::WithoutGameFiles);
            TestFolders::write(f.game(), QStringLiteral("eaw.ini"), "[EAW]\r\n");
            TestFolders::write(f.game(), QStringLiteral("Eaw.Exe"), present);
            QStringList problems;
            QVERIFY2(IniOptions::SaveOriginals(f.game(), f.vek(), &problems),
                     qPrintable(problems.join('\n')));
            QVERIFY(TestFolders::read(f.vek(), QStringLiteral("eaw.exe")) == kept);
            QVERIFY(TestFolders::read(f.game(), QStringLiteral("Eaw.Exe")) == present);

            QString notice;
            QString error;
            QVERIFY2(GameProgram::restore(f.game(), f.vek(), &notice, &error), qPrintable(error));
            QVERIFY2(notice.isEmpty(), qPrintable(notice));
            QVERIFY(TestFolders::read(f.game(), QStringLiteral("Eaw.Exe")) == kept);
            QCOMPARE(FileList::files(f.vek(), QStringLiteral("eaw.exe*")), QStringList{"eaw.exe"});
        }
    }

    // The game's program against the copy, both read as day programs (a night pair at any
    // version's offset read as the day pair). The same day program is put back when it holds
    // a night pair; anything else is another program, made the copy with day pairs, the
    // previous copy kept aside under a name no earlier one holds. A program that cannot be an
    // update (empty, too short for the switch's offsets, none of its versions' bytes where the
    // copy has them) gets the copy back, and any bytes it had are kept. When a step cannot be
    // done nothing changes at all, the game's program least of all.
    void restoreKeepsANewProgram_data() {
        const QByteArray day = program();
        const QByteArray hexFix = program(1000, "\x01");
        const QByteArray hexFixAtNight = nightAt(3).replace(1000, 1, "\x01");
        QByteArray twoNights = nightAt(0);
        twoNights.replace(NightSwitch::Versions[3].offset, 2, NightSwitch::NightBytes);
        QByteArray noPairs = day;
        for (const NightSwitch::Version &v : NightSwitch::Versions)
            noPairs.replace(v.offset, 2, QByteArray("\0\0", 2));
        const QByteArray noPairsFixed = QByteArray(noPairs).replace(1000, 1, "\x01");
        const QByteArray neither = program(NightSwitch::Versions[0].offset, QByteArray("\0\0", 2));
        const QByteArray cutAfter = day.left(NightSwitch::reach());
        const QByteArray cutInside = day.left(NightSwitch::reach() - 1);
        const QByteArray small = "MZ patched";
        const QString update = QStringLiteral("eaw.exe.before-update");
        const QString replaced = QStringLiteral("eaw.exe.replaced");
        const QString isUpdate = QStringLiteral("taken for a game update");
        const QString tooShort = QStringLiteral("too short");
        const ProgramCase rows[] = {
            {"night pairs of two versions", twoNights, day, day, day},
            {"hex fix at night", hexFixAtNight, day, hexFix, hexFix, update, day, isUpdate},
            {"neither setting at the offset", neither, day, neither, neither, update, day,
             isUpdate},
            {"one byte longer at night", nightAt(1) + '\0', day, day + '\0', day + '\0', update,
             day, isUpdate},
            {"cut after the first pair", cutAfter, day, cutAfter, cutAfter, update, day, isUpdate},
            {"cut inside the first pair", cutInside, day, day, day, replaced, cutInside, tooShort},
            {"empty program", "", day, day, day, {}, {}, "is empty"},
            {"none of the versions' bytes", noPairs, day, day, day, replaced, noPairs,
             "none of the night switch's versions"},
            {"none of the versions' bytes in either", noPairsFixed, noPairs, noPairsFixed,
             noPairsFixed, update, noPairs, isUpdate},
            {"copy kept at night, program at night", nightAt(0), nightAt(0), day, nightAt(0)},
            {"copy kept at night, hex fix", hexFix, nightAt(0), hexFix, hexFix, update, day,
             isUpdate},
            {"beside an earlier update", hexFix, day, hexFix, hexFix, update + "-2", day, isUpdate,
             QString(), "EAW.EXE.Before-Update"},
            {"beside an earlier replaced program", small, day, day, day, replaced + "-2", small,
             tooShort, QString(), "eaw.exe.REPLACED"},
            {"update, read-only copy", hexFix, day, hexFix, day, {}, {}, {}, "read-only copy"},
            {"update, full disk", hexFix, day, hexFix, day, {}, {}, {}, "full disk"},
            {"damaged, full disk", small, day, small, day, {}, {}, {}, "full disk"},
            {"damaged, read-only program", small, day, small, day, {}, {}, {}, "read-only program"},
            // The copy is brought up to date; the game's program keeps its night pair until
            // it can be written.
            {"hex fix at night, read-only program", hexFixAtNight, day, hexFixAtNight, hexFix,
             update, day, isUpdate, "read-only program"},
        };
        addRows(rows);
    }

    void restoreKeepsANewProgram() {
        QFETCH(ProgramCase, row);
        const auto &[tag, present, original, game, copy, kept, keptBytes, told, failure, earlier] =
            row;
        TestFolders f(TestFolders::WithoutGameFiles);
        TestFolders::write(f.vek(), QStringLiteral("eaw.exe"), original);
        TestFolders::write(f.game(), QStringLiteral("eaw.exe"), present);
        if (!earlier.isEmpty())
            TestFolders::write(f.vek(), earlier, "an older program");
        const QString copyPath = QDir(f.vek()).filePath(QStringLiteral("eaw.exe"));
        const QString gamePath = QDir(f.game()).filePath(QStringLiteral("eaw.exe"));
        if (failure == QLatin1String("read-only copy"))
            QVERIFY(FileOps::setReadOnly(copyPath, true));
        if (failure == QLatin1String("read-only program"))
            QVERIFY(FileOps::setReadOnly(gamePath, true));
        const QStringList before = FileList::files(f.vek());

        QString notice;
        QString error;
        bool done = false;
        {
            std::optional<FileSizeCap> cap;
            if (failure == QLatin1String("full disk") && !cap.emplace(64).active())
                QSKIP("cannot cap the file size here");
            done = GameProgram::restore(f.game(), f.vek(), &notice, &error);
        }

        QVERIFY(TestFolders::read(f.game(), QStringLiteral("eaw.exe")) == game);
        QVERIFY(TestFolders::read(f.vek(), QStringLiteral("eaw.exe")) == copy);
        QCOMPARE(done, failure.isEmpty());
        QVERIFY2(error.contains(QDir::toNativeSeparators(gamePath)) == !failure.isEmpty(),
                 qPrintable(error));
        if (!failure.isEmpty()) {
            QVERIFY2(error.contains(failure == QLatin1String("full disk") ? "Could not write"
                                                                          : "read-only"),
                     qPrintable(error));
            // Where the copy stays, so does everything: the error names both files and says so.
            if (copy == original)
                QVERIFY2(error.contains(QDir::toNativeSeparators(copyPath)) &&
                             error.contains("unchanged") + error.contains("Nothing was changed") ==
                                 1,
                         qPrintable(error));
        }
        QStringList added = FileList::files(f.vek());
        for (const QString &name : before)
            added.removeOne(name);
        QCOMPARE(added, kept.isEmpty() ? QStringList() : QStringList{kept});
        if (!kept.isEmpty())
            QVERIFY(TestFolders::read(f.vek(), kept) == keptBytes);
        if (!earlier.isEmpty())
            QCOMPARE(TestFolders::read(f.vek(), earlier), QByteArray("an older program"));
        if (told.isEmpty()) {
            QVERIFY2(notice.isEmpty(), qPrintable(notice));
        } else {
            QVERIFY2(notice.contains(QDir::toNativeSeparators(gamePath)) && notice.contains(told) &&
                         (kept.isEmpty() ||
                          notice.contains(QDir::toNativeSeparators(QDir(f.vek()).filePath(kept)))),
                     qPrintable(notice));
        }

        if (!failure.isEmpty())
            return;
        // From now on the program is the copy's day program: the next restore has nothing to
        // do or tell.
        QVERIFY(GameProgram::restore(f.game(), f.vek(), &notice, &error));
        QVERIFY2(notice.isEmpty(), qPrintable(notice));
        QVERIFY(TestFolders::read(f.game(), QStringLiteral("eaw.exe")) == game);
        QCOMPARE(FileList::files(f.vek()).size(), before.size() + added.size());
    }
};

QTEST_GUILESS_MAIN(TestIni)
#include "tst_ini.moc"
