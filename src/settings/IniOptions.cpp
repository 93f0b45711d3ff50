// SPDX-License-Identifier: GPL-3.0-or-later
#include "IniOptions.h"

#include "FileList.h"
#include "FileOps.h"
#include "GameProgram.h"
#include "Text8.h"
#include "TextFile.h"

#include <QDir>

#include <array>

namespace {

const QString kIni = QStringLiteral("eaw.ini");
const QString kExe = QStringLiteral("eaw.exe");

struct Resolution {
    const char *width;
    const char *height;
};

// Option2 index order; the captions follow the same table.
constexpr std::array<Resolution, 7> kResolutions{{{"640", "480"},
                                                  {"800", "600"},
                                                  {"1024", "768"},
                                                  {"1280", "1024"},
                                                  {"1280", "960"},
                                                  {"1600", "1200"},
                                                  {"1152", "864"}}};

struct SyncRates {
    const char *ai;
    const char *player;
    const char *clock;
};

// Option8 index 1 and 2; index 0 writes nothing and keeps the original's own lines.
constexpr std::array<SyncRates, 2> kSyncRates{{{"200", "20", "80"}, {"140", "14", "70"}}};

// Keys the selector writes itself, so the original's lines for them are dropped in any section.
constexpr std::array<const char *, 6> kOwnedPrefixes{
    "Width=", "Height=", "AllowRespawn=", "StartOnGround=", "NoAI=", "ExtraSquads="};
constexpr std::array<const char *, 3> kSyncPrefixes{
    "AI_PlaneUpdateRate=", "PlayerPlaneUpdateRate=", "ClockSyncRate="};

// Sound keys S1..S9 at index 0..8 and S0 at index 9, as upper-cased line prefixes.
constexpr std::array<const char *, 10> kSoundPrefixes{
    "SOUNDQ",    "SOUNDC",   "SOUNDD",    "SOUNDV",    "ENGINEV",
    "EXTERNALV", "MUSICVOL", "SPEECHVOL", "REVERSEST", "SUBTITLES"};

// How many lines after [DISPLAY] a fixed HUD colour reaches.
constexpr int kHudLines = 30;

const QByteArray kDisplayInfoKey = QByteArrayLiteral("DisplayInfoSetting=");

QString native(const QString &path) {
    return QDir::toNativeSeparators(path);
}

bool isDropped(const QByteArray &line, bool keepSync) {
    for (const char *prefix : kOwnedPrefixes) {
        if (line.startsWith(prefix))
            return true;
    }
    if (keepSync)
        return false;
    for (const char *prefix : kSyncPrefixes) {
        if (line.startsWith(prefix))
            return true;
    }
    return false;
}

// The option buttons of a frame are exclusive, so selecting one is setting the index; when
// several substrings match, the last check wins.
void selectFromWidth(const QByteArray &widthLine, const QByteArray &nextLine, IniState &state) {
    if (widthLine.contains("640"))
        state.resolution = 0;
    if (widthLine.contains("800"))
        state.resolution = 1;
    if (widthLine.contains("1024"))
        state.resolution = 2;
    if (widthLine.contains("1152"))
        state.resolution = 6;
    if (widthLine.contains("1280"))
        state.resolution = nextLine.contains("1024") ? 3 : 4;
    if (widthLine.contains("1600"))
        state.resolution = 5;
}

// Both readers clear only the first four resolution buttons; a selection of index 4 to 6
// survives a file without a width line.
void clearLowResolutions(IniState &state) {
    if (state.resolution >= 0 && state.resolution <= 3)
        state.resolution = -1;
}

// The leading decimal digits of a number code (after blanks), or -1 when there are none.
// The value is capped at `limit`: anything larger addresses no kept line either way.
qsizetype numberOf(const QString &code, qsizetype limit) {
    qsizetype i = 0;
    while (i < code.size() && (code.at(i) == QLatin1Char(' ') || code.at(i) == QLatin1Char('\t')))
        ++i;
    auto isDigit = [&](qsizetype k) {
        return k < code.size() && code.at(k).unicode() >= '0' && code.at(k).unicode() <= '9';
    };
    if (!isDigit(i))
        return -1;
    qsizetype n = 0;
    for (; isDigit(i); ++i) {
        if (n <= limit)
            n = n * 10 + (code.at(i).unicode() - '0');
    }
    return n > limit ? limit + 1 : n;
}

// Replaces what follows the first "=" of `line`; a line without "=" is left alone.
void setValue(QByteArray &line, const QByteArray &value) {
    const qsizetype eq = line.indexOf('=');
    if (eq < 0)
        return;
    line.truncate(eq + 1);
    line += value;
}

void appendWritten(QList<QByteArray> &out, const char *key, const char *value) {
    out << QByteArray(key) + value;
}

void appendOnOff(QList<QByteArray> &out, const char *key, bool on) {
    appendWritten(out, key, on ? "1" : "0");
}

// Why the lines of an original copy cannot be the player's options file, or empty when they
// can: every rewrite and Restore start from it, so a damaged copy would silently become the
// game's eaw.ini. A file of no text, of binary bytes, or without one "[section]" line is not
// one the game wrote.
QString notAnIni(const QList<QByteArray> &lines) {
    bool blank = true;
    bool section = false;
    for (const QByteArray &line : lines) {
        if (line.contains('\0'))
            return QStringLiteral("it holds binary bytes (NUL), not text");
        const QByteArray text = line.trimmed();
        blank = blank && text.isEmpty();
        section = section || text.startsWith('[');
    }
    if (blank)
        return QStringLiteral("it is empty");
    if (!section)
        return QStringLiteral("it has no \"[section]\" line");
    return QString();
}

// The original copy's lines, or false with `error` naming it and what is wrong with it.
bool readOriginal(const QString &path, const QString &target, const QString &doing,
                  QList<QByteArray> *lines, QString *error) {
    if (!TextFile::readLines(path, lines, error))
        return false;
    const QString why = notAnIni(*lines);
    if (why.isEmpty())
        return true;
    if (error)
        *error = QStringLiteral("Could not %1 \"%2\" from the original copy \"%3\": %4, so it "
                                "cannot be the game's options file. Nothing was written.")
                     .arg(doing, native(target), native(path), why);
    return false;
}

} // namespace

const QStringList IniOptions::ResolutionCaptions = {
    QStringLiteral("640 x 480"),   QStringLiteral("800 x 600"),  QStringLiteral("1024 x 768"),
    QStringLiteral("1280 x 1024"), QStringLiteral("1280 x 960"), QStringLiteral("1600 x 1200"),
    QStringLiteral("1152 x 864")};

bool IniOptions::SaveOriginals(const QString &game, const QString &mod, QStringList *problems) {
    bool ok = true;
    for (const QString &name : {kIni, kExe}) {
        // The copy of the first run is the player's own file; a later run must never replace
        // it with one the selector has since rewritten.
        if (!FileList::find(mod, name).isEmpty())
            continue;
        const QString present = FileList::find(game, name);
        if (present.isEmpty()) {
            ok = false;
            if (problems)
                *problems << QStringLiteral("Could not keep an original copy of %1: \"%2\" does "
                                            "not exist.")
                                 .arg(name, native(FileList::join(game, name)));
            continue;
        }
        // A program switched to night before the first start is kept as the day program: the
        // copy is what every start puts back.
        QString error;
        const QString from = FileList::join(game, present);
        const QString to = FileList::join(mod, name);
        if (!(name == kExe ? GameProgram::copyAsDay(from, to, &error)
                           : FileOps::copyReplace(from, to, &error))) {
            ok = false;
            if (problems)
                *problems << error;
        }
    }
    return ok;
}

void IniOptions::ReadIniOptions(const QString &game, IniState &state, QStringList *problems) {
    clearLowResolutions(state);
    state.startOnGround = false;
    state.squads = 0;

    const QString name = FileList::find(game, kIni);
    if (name.isEmpty()) {
        if (problems)
            *problems << QStringLiteral("Could not read the options of \"%1\": it does not exist.")
                             .arg(native(FileList::join(game, kIni)));
        return;
    }
    QList<QByteArray> lines;
    QString error;
    if (!TextFile::readLines(FileList::join(game, name), &lines, &error)) {
        if (problems)
            *problems << error;
        return;
    }
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QByteArray &line = lines.at(i);
        if (line.startsWith("Width")) {
            // The height line is taken together with its width line and tested no further.
            const QByteArray height = i + 1 < lines.size() ? lines.at(i + 1) : QByteArray();
            ++i;
            selectFromWidth(line, height, state);
        }
        if (line == "StartOnGround=1")
            state.startOnGround = true;
        if (line.startsWith("ExtraSquads=")) {
            // Only the last character counts; a non-digit reads as 0.
            const char last = line.back();
            const int k = last >= '0' && last <= '9' ? last - '0' : 0;
            if (k <= 5)
                state.squads = k;
        }
    }
}

QList<QByteArray> IniOptions::build(const QList<QByteArray> &original, IniState &state) {
    QList<QByteArray> kept;
    kept.reserve(original.size());
    const bool keepSync = state.sync == 0;
    for (const QByteArray &line : original) {
        if (!isDropped(line, keepSync))
            kept << line;
    }
    const qsizetype m = kept.size();

    // 1-based positions among the kept lines, 0 when absent; a later match wins.
    qsizetype remapLine = 0;
    std::array<qsizetype, kSoundPrefixes.size()> soundLine{};
    state.DisplaySectionLine = 0;
    state.DisplayInfoLine = 0;
    for (qsizetype p = 1; p <= m; ++p) {
        // toUpper maps ASCII only, which is all the prefixes hold; an 8-bit letter can never
        // turn into one of them.
        const QByteArray upper = kept.at(p - 1).toUpper();
        if (upper.startsWith("[REMAP"))
            remapLine = p;
        if (upper.startsWith("[DISPLAY]"))
            state.DisplaySectionLine = int(p);
        for (size_t s = 0; s < kSoundPrefixes.size(); ++s) {
            if (upper.startsWith(kSoundPrefixes[s]))
                soundLine[s] = p;
        }
        if (upper.startsWith("DISPLAYINFOSETTING")) {
            state.DisplayInfoLine = int(p);
            state.DisplayInfoValue = Text8::toUnicode(kept.at(p - 1).mid(kDisplayInfoKey.size()));
            if (!state.ApplyFeature && state.Label21.isEmpty())
                state.DispLab = state.DisplayInfoValue;
        }
    }
    // A chosen feature stays in force through every later rewrite, whether or not the file
    // has a display-info line.
    if (!state.Label21.isEmpty())
        state.ApplyFeature = true;

    if (state.ApplyFeature) {
        qsizetype last = -1;
        for (qsizetype j = 0; j < state.featureCodes.size(); ++j) {
            if (!state.featureCodes.at(j).isEmpty())
                last = j;
        }
        state.DispLab = state.DisplayInfoValue;
        for (qsizetype j = 0; j <= last; ++j) {
            const QString &code = state.featureCodes.at(j);
            const QChar first = code.isEmpty() ? QChar() : code.at(0);
            if (first == QLatin1Char('C')) {
                state.HUDLab = code.mid(1);
            } else if (first == QLatin1Char('D')) {
                state.DispLab = code.mid(1);
            } else if (first == QLatin1Char('S')) {
                const QChar digit = code.size() > 1 ? code.at(1) : QChar();
                if (digit.unicode() < '0' || digit.unicode() > '9')
                    continue;
                const int s = digit.unicode() == '0' ? 9 : digit.unicode() - '1';
                if (soundLine[s] > 0)
                    setValue(kept[soundLine[s] - 1], Text8::fromUnicode(code.mid(2)));
            } else {
                const qsizetype n = numberOf(code, m);
                if (n < 0 || remapLine == 0 || remapLine + n > m)
                    continue;
                setValue(kept[remapLine + n - 1], QByteArray());
            }
        }
    }

    if (state.DisplayInfoLine > 0)
        kept[state.DisplayInfoLine - 1] = kDisplayInfoKey + Text8::fromUnicode(state.DispLab);

    if (!state.HUDLab.isEmpty() && state.DisplaySectionLine > 0) {
        const QByteArray hud = Text8::fromUnicode(state.HUDLab);
        // Lines without "=" (comments, the next section's header) still count towards the 30.
        for (qsizetype p = state.DisplaySectionLine + 1;
             p <= state.DisplaySectionLine + kHudLines && p <= m; ++p)
            setValue(kept[p - 1], hud);
    }

    state.ApplyFeature = false;

    QList<QByteArray> out;
    out.reserve(m + 12);
    for (const QByteArray &line : std::as_const(kept)) {
        out << line;
        if (line.toUpper() == "[GRAPHICS]") {
            if (state.resolution >= 0 && state.resolution < int(kResolutions.size())) {
                appendWritten(out, "Width=", kResolutions[state.resolution].width);
                appendWritten(out, "Height=", kResolutions[state.resolution].height);
            }
        } else if (line == "[NETOPTION]") {
            appendOnOff(out, "StartOnGround=", state.startOnGround);
            appendOnOff(out, "NoAI=", state.noAI);
            appendOnOff(out, "AllowRespawn=", state.allowRespawn);
            if (state.sync == 1 || state.sync == 2) {
                const SyncRates &r = kSyncRates[state.sync - 1];
                appendWritten(out, "AI_PlaneUpdateRate=", r.ai);
                appendWritten(out, "PlayerPlaneUpdateRate=", r.player);
                appendWritten(out, "ClockSyncRate=", r.clock);
            }
        } else if (line == "[EAW]") {
            if (state.squads >= 0 && state.squads <= 5)
                out << QByteArray("ExtraSquads=") + QByteArray::number(state.squads);
        }
    }
    return out;
}

bool IniOptions::save(const QString &game, const QString &mod, IniState &state, QString *error) {
    const QString target = FileList::resolve(game, kIni);
    const QString originalName = FileList::find(mod, kIni);
    if (originalName.isEmpty()) {
        if (error)
            *error = QStringLiteral("Could not rewrite \"%1\": the original copy \"%2\" does not "
                                    "exist.")
                         .arg(native(target), native(FileList::join(mod, kIni)));
        return false;
    }
    // Read before touching the game's file, so an unreadable original leaves it as it was.
    QList<QByteArray> original;
    if (!readOriginal(FileList::join(mod, originalName), target, QStringLiteral("rewrite"),
                      &original, error))
        return false;
    const QList<QByteArray> lines = build(original, state);
    // Rewritten at every start and after most clicks, mostly with the bytes it holds.
    if (TextFile::holds(target, TextFile::joinLines(lines)))
        return true;
    if (FileOps::isReadOnly(target))
        FileOps::setReadOnly(target, false);
    return TextFile::writeLines(target, lines, error);
}

bool IniOptions::Restore(const QString &game, const QString &mod, IniState &state,
                         QStringList *problems, QString *notice, bool rewriteFollows) {
    bool ok = true;
    auto report = [&](const QString &problem) {
        ok = false;
        if (problems)
            *problems << problem;
    };

    const QString iniName = FileList::find(mod, kIni);
    QList<QByteArray> lines;
    bool haveLines = false;
    if (iniName.isEmpty()) {
        report(QStringLiteral("Could not restore \"%1\": the original copy \"%2\" does not exist.")
                   .arg(native(FileList::resolve(game, kIni)), native(FileList::join(mod, kIni))));
    } else {
        QString error;
        const QString source = FileList::join(mod, iniName);
        const QString target = FileList::resolve(game, kIni);
        haveLines = readOriginal(source, target, QStringLiteral("restore"), &lines, &error);
        if (!haveLines) {
            report(error);
        } else if (!rewriteFollows) {
            if (FileOps::isReadOnly(target))
                FileOps::setReadOnly(target, false);
            if (!FileOps::copyReplace(source, target, &error))
                report(error);
            // The restored file stays open to the next option change, whatever the copy's
            // own attribute was.
            if (FileOps::isReadOnly(target))
                FileOps::setReadOnly(target, false);
        }
    }

    QString exeError;
    if (!GameProgram::restore(game, mod, notice, &exeError))
        report(exeError);

    if (!haveLines)
        return ok;

    clearLowResolutions(state);
    state.startOnGround = state.noAI = state.allowRespawn = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QByteArray &line = lines.at(i);
        if (line.left(5).toUpper() == "WIDTH")
            selectFromWidth(line, i + 1 < lines.size() ? lines.at(i + 1) : QByteArray(), state);
        if (line == "StartOnGround=1")
            state.startOnGround = true;
        if (line == "NoAI=1")
            state.noAI = true;
        if (line == "AllowRespawn=1")
            state.allowRespawn = true;
        if (line.size() == 13 && line.startsWith("ExtraSquads=") && line.back() >= '0' &&
            line.back() <= '5')
            state.squads = line.back() - '0';
    }
    return ok;
}
