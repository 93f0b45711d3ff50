// SPDX-License-Identifier: GPL-3.0-or-later
// The keyboard-control features of the "General" page and the cheat check that sends the
// chosen feature's number to the other players.
#include "CheatCheck.h"
#include "DemoGameFolder.h"
#include "FileOps.h"
#include "KeyboardFeatures.h"
#include "NightSwitch.h"
#include "OpenSelector.h"
#include "Options.h"
#include "Rows.h"
#include "ScriptedPrompt.h"
#include "TestFolders.h"
#include "WindowCommands.h"

#include <QDir>
#include <QTest>

namespace {

// Kept-line positions: [GRAPHICS] 1, [EAW] 2, DisplayInfoSetting 3, [REMAP] 4, K<n> 4 + n,
// [DISPLAY] 65 and three lines after it. The original has no ExtraSquads= line; a rewrite
// adds one after [EAW].
QByteArray eawIni(const QList<int> &emptied = {}, const QByteArray &disp = "3",
                  const QByteArray &hud = {}, const QByteArray &width = "800",
                  const QByteArray &height = "600", const QByteArray &squads = {}) {
    QByteArray ini = "[GRAPHICS]\r\nWidth=" + width + "\r\nHeight=" + height + "\r\n[EAW]\r\n" +
                     (squads.isEmpty() ? QByteArray() : "ExtraSquads=" + squads + "\r\n") +
                     "DisplayInfoSetting=" + disp + "\r\n[REMAP]\r\n";
    for (int n = 1; n <= 60; ++n)
        ini += "K" + QByteArray::number(n) + "=" +
               (emptied.contains(n) ? QByteArray() : "key" + QByteArray::number(n)) + "\r\n";
    ini += "[DISPLAY]\r\nHudR=" + (hud.isEmpty() ? "1" : hud) +
           "\r\n;colours\r\nHudG=" + (hud.isEmpty() ? "2" : hud) + "\r\n";
    return ini;
}

const QByteArray kKc = "01 No padlock\t5\r\n"
                       "12 No external view\t57\tD0\r\n"
                       "03 Fixed HUD\tC7\r\n"
                       "04 Past the end\t70\tD1\r\n"
                       "05 No map\t9\t\t10\r\n"
                       "06 Spare\tD2\r\n";

QByteArray cheatFile(int size) {
    QByteArray bytes(size, '\x07');
    for (int i = 0; i < size; i += 97)
        bytes[i] = char(i % 251);
    return bytes;
}

// The game reads the check's byte of flt.cdf here (1-based; offset 0x9571). Written as the
// number, not taken from the code, so that a wrong constant in the code fails these tests.
constexpr qint64 kFltCdfPosition = 38258;

QByteArray withByte(QByteArray bytes, qint64 position, char value) {
    bytes[position - 1] = value;
    return bytes;
}

// A click on a feature's button: the selection shown, the K lines emptied, the display value
// written and shown on the page, and the HUD colour.
using ChoiceRow = std::tuple<const char *, int, QString, QList<int>, QByteArray, QByteArray>;
// KC present, with so many lines: the buttons shown, the notice, and the messages told.
using KcRow = std::tuple<const char *, bool, int, int, QString, int>;
// V1V1.FLT's name ("": none), flt.cdf's size (0: none), the check, the feature's button index + 1
// (0: none), and the byte both files get.
using CheatRow = std::tuple<const char *, QString, int, bool, int, char>;
// The check, the answer to the question, how often asked, and whether the window goes.
using ExitRow = std::tuple<const char *, bool, bool, int, bool>;

} // namespace

class TestFeatures : public QObject {
    Q_OBJECT
private Q_SLOTS:

    void choosingAFeature() {
        // How each kind of code rewrites eaw.ini is a row of the settings' tests; here the click.
        const ChoiceRow rows[] = {{"57 and D0", 1, "12", {57}, "0", {}},
                                  {"C7 over the lines after [DISPLAY]", 2, "03", {}, "3", "7"}};
        for (const auto &[tag, button, selection, emptied, disp, hud] : rows) {
            const CaseName inCase(tag);
            TestFolders f;
            TestFolders::write(f.game(), "eaw.ini", eawIni());
            TestFolders::write(f.game(), "KC", kKc);
            ScriptedPrompt prompt;
            auto s = openSelector(f, prompt);
            KeyboardFeatures &kc = s->features();

            kc.clickOption13(button);
            QCOMPARE(kc.Label14, selection);
            QCOMPARE(s->ini.Label21, QStringLiteral("# %1").arg(button + 1));
            QCOMPARE(s->ini.DispLab, QString::fromLatin1(disp));
            QCOMPARE(s->ini.HUDLab, QString::fromLatin1(hud));
            QCOMPARE(s->FeatureNumber, button + 1);
            QCOMPARE(TestFolders::read(f.game(), "eaw.ini"),
                     eawIni(emptied, disp, hud, "800", "600", "0"));

            // The chosen feature stays in force through later option changes, and a grid row that
            // is only looked at does not replace it.
            kc.clickG7(6);
            s->options().clickResolution(2);
            s->options().clickSquads(3);
            QCOMPARE(TestFolders::read(f.game(), "eaw.ini"),
                     eawIni(emptied, disp, hud, "1024", "768", "3"));
            QVERIFY(prompt.shown.isEmpty());
        }
    }

    void buttonsFollowKc() {
        const KcRow rows[] = {
            {"three lines", true, 3, 3, "", 0},
            {"thirty lines", true, 30, 30, "", 0},
            {"more than thirty", true, 33, 30,
             "KC lists 33 features; only the first 30 can be chosen.", 1},
            {"empty KC", true, 0, 0, "There are no features: the file KC is empty.", 0},
            {"no KC", false, 0, 0, "There are no features: the game folder has no KC file.", 0},
        };
        for (const auto &[tag, present, lines, buttons, notice, told] : rows) {
            const CaseName inCase(tag);
            TestFolders f;
            QByteArray kc;
            for (int n = 1; n <= lines; ++n)
                kc += QByteArray::number(n).rightJustified(2, '0') + " feature\tD" +
                      QByteArray::number(n) + "\r\n";
            if (present)
                TestFolders::write(f.game(), "kc", kc);
            ScriptedPrompt prompt;
            auto s = openSelector(f, prompt);
            const KeyboardFeatures &features = s->features();
            for (int i = 0; i < 30; ++i)
                QCOMPARE(features.optionShown(i), i < buttons);
            QCOMPARE(features.G7.rowCount(), buttons + 1);
            QCOMPARE(features.G7.cell(0, 0), QStringLiteral("Feature to be disabled:"));
            QCOMPARE(features.Notice, notice);
            QCOMPARE(prompt.shown.size(), told);
            // A button without a feature does nothing when clicked.
            s->features().clickOption13(buttons);
            QCOMPARE(s->FeatureNumber, 0);
            QVERIFY(s->ini.Label21.isEmpty());
        }
    }

    void cheatBytes() {
        const CheatRow rows[] = {
            {"on, feature 5", "V1V1.FLT", 40000, true, 5, 5},
            {"on, no feature", "V1V1.FLT", 40000, true, 0, 0},
            {"off, feature 5", "V1V1.FLT", 40000, false, 5, 0},
            {"listed as v1v1.flt", "v1v1.flt", 38258, true, 6, 6},
            {"no V1V1.FLT", "", 40000, true, 2, 2},
            {"no flt.cdf", "V1V1.FLT", 0, true, 2, 2},
            {"short flt.cdf is refused", "V1V1.FLT", 38257, true, 5, 5},
            {"one-byte flt.cdf is refused", "V1V1.FLT", 1, true, 5, 5},
        };
        for (const auto &[tag, v1Name, cdfSize, check, feature, expected] : rows) {
            const CaseName inCase(tag);
            TestFolders f;
            TestFolders::write(f.game(), "eaw.ini", eawIni());
            TestFolders::write(f.game(), "KC", kKc);
            const QByteArray v1 = cheatFile(64), cdf = cheatFile(cdfSize);
            if (!v1Name.isEmpty())
                TestFolders::write(f.game(), v1Name, v1);
            if (cdfSize > 0)
                TestFolders::write(f.game(), "flt.cdf", cdf);
            ScriptedPrompt prompt;
            auto s = openSelector(f, prompt);
            if (feature > 0)
                s->features().clickOption13(feature - 1);
            s->options().setCheatCheck(check);
            QCOMPARE(s->Check4, check);

            if (!v1Name.isEmpty())
                QCOMPARE(TestFolders::read(f.game(), v1Name), withByte(v1, 2, expected));
            const bool cdfFits = cdfSize >= kFltCdfPosition;
            if (cdfSize > 0)
                QCOMPARE(TestFolders::read(f.game(), "flt.cdf"),
                         cdfFits ? withByte(cdf, kFltCdfPosition, expected) : cdf);
            // Nothing is written under another name, and a refused file is told once, not at every
            // rewrite.
            const QStringList names = QDir(f.game()).entryList(QDir::Files);
            QCOMPARE(names.filter("v1v1.flt", Qt::CaseInsensitive).size(),
                     v1Name.isEmpty() ? 0 : 1);
            QCOMPARE(names.filter("flt.cdf", Qt::CaseInsensitive).size(), cdfSize > 0 ? 1 : 0);
            QCOMPARE(prompt.shown.size(), cdfSize > 0 && !cdfFits ? 1 : 0);
            if (!prompt.shown.isEmpty())
                QVERIFY2(!prompt.shown.first().text.contains(QStringLiteral(" 1 bytes")),
                         qPrintable(prompt.shown.first().text));
            // The exit writes the byte once more; the same refusal is not told again.
            s->options().setCheatCheck(false);
            QVERIFY(s->commands().ExitProcedure());
            QCOMPARE(prompt.shown.size(), cdfSize > 0 && !cdfFits ? 1 : 0);
        }
    }

    void exitWithTheCheckOn() {
        const ExitRow rows[] = {{"on, Cancel", true, false, 1, false},
                                {"on, OK", true, true, 1, true},
                                {"off", false, false, 0, true}};
        for (const auto &[tag, check, answer, asked, exits] : rows) {
            const CaseName inCase(tag);
            TestFolders f;
            TestFolders::write(f.game(), "eaw.ini", eawIni());
            TestFolders::write(f.game(), "KC", kKc);
            TestFolders::write(f.game(), "V1V1.FLT", cheatFile(64));
            TestFolders::write(f.game(), "flt.cdf", cheatFile(40000));
            const QByteArray program = DemoGameFolder::exeBytes();
            const QByteArray night = QByteArray(program).replace(NightSwitch::Versions[0].offset, 2,
                                                                 NightSwitch::NightBytes);
            TestFolders::write(f.game(), "eaw.exe", program);
            ScriptedPrompt prompt({answer});
            auto s = openSelector(f, prompt);
            s->features().clickOption13(4);
            s->options().setCheatCheck(check);
            // An option and the night switch changed since the window opened: leaving puts both of
            // the game's files back as they were before the first run.
            s->options().clickResolution(5);
            QVERIFY(s->options().nightSwitch(0, true));
            const QByteArray v1 = TestFolders::read(f.game(), "V1V1.FLT");
            const QByteArray cdf = TestFolders::read(f.game(), "flt.cdf");
            const QByteArray ini = TestFolders::read(f.game(), "eaw.ini");

            QCOMPARE(s->commands().ExitProcedure(), exits);
            QCOMPARE(prompt.shown.size(), asked);
            if (asked) {
                const ScriptedPrompt::Shown &q = prompt.shown.at(0);
                QCOMPARE(q.title, CheatCheck::ExitTitle);
                QCOMPARE(q.text, CheatCheck::ExitText);
                QCOMPARE(q.icon, Prompt::Icon::None);
                QCOMPARE(q.buttons, Prompt::Buttons::OkCancel);
            }
            // Cancel: everything as it was, the check still on; OK: both bytes 0, and the game's
            // files as before the first run.
            const std::pair<const char *, QByteArray> files[] = {
                {"V1V1.FLT", exits ? withByte(v1, 2, 0) : v1},
                {"flt.cdf", exits ? withByte(cdf, kFltCdfPosition, 0) : cdf},
                {"eaw.ini", exits ? eawIni() : ini},
                {"eaw.exe", exits ? program : night}};
            for (const auto &[name, bytes] : files)
                QVERIFY2(TestFolders::read(f.game(), name) == bytes, name);
            if (!exits)
                QVERIFY(s->Check4);
            else
                QVERIFY(!FileOps::isReadOnly(QDir(f.game()).filePath("eaw.ini")) &&
                        s->ini.resolution == 1 && s->FormReady);

            // The next start shows the box unticked and both bytes 0, whatever the last run left.
            s.reset();
            ScriptedPrompt next;
            auto again = openSelector(f, next);
            QVERIFY(!again->Check4);
            QCOMPARE(TestFolders::read(f.game(), "V1V1.FLT").at(1), '\0');
            QCOMPARE(TestFolders::read(f.game(), "flt.cdf").at(kFltCdfPosition - 1), '\0');
            QVERIFY(next.shown.isEmpty());
        }
    }
};

QTEST_GUILESS_MAIN(TestFeatures)
#include "tst_features.moc"
