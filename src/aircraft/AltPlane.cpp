// SPDX-License-Identifier: GPL-3.0-or-later
#include "AltPlane.h"

#include "Excerpt.h"
#include "FileList.h"
#include "FileOps.h"
#include "TextFile.h"

#include <QDir>

namespace {
QString problem(const QString &file, const QString &what) {
    return QStringLiteral("\"%1\" is not a usable alternative aircraft: %2.")
        .arg(QDir::toNativeSeparators(file), what);
}

/// A whole number 0..255 written plainly (blanks around it allowed).
bool byteValue(const QByteArray &line, unsigned char *value) {
    const QByteArray t = line.trimmed();
    if (t.isEmpty() || t.size() > 3)
        return false;
    int v = 0;
    for (char c : t) {
        if (c < '0' || c > '9')
            return false;
        v = v * 10 + (c - '0');
    }
    if (v > 255)
        return false;
    *value = static_cast<unsigned char>(v);
    return true;
}
} // namespace

bool AltPlane::leadingInteger(const QByteArray &text, qint64 *value) {
    qsizetype i = 0;
    while (i < text.size() && (text.at(i) == ' ' || text.at(i) == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text.at(i) == '-' || text.at(i) == '+'))
        negative = text.at(i++) == '-';
    qint64 v = 0;
    const qsizetype start = i;
    while (i < text.size() && text.at(i) >= '0' && text.at(i) <= '9' && i - start < 15)
        v = v * 10 + (text.at(i++) - '0');
    if (i == start)
        return false;
    *value = negative ? -v : v;
    return true;
}

bool AltPlane::readVek(const QString &dir, QString *error) {
    folder = dir;
    const QStringList veks = FileList::files(dir, QStringLiteral("*.vek"));
    if (veks.isEmpty()) {
        *error = problem(dir, QStringLiteral("the folder holds no .vek file"));
        return false;
    }
    vekPath = FileList::join(dir, veks.first());
    QList<QByteArray> lines;
    if (!TextFile::readLines(vekPath, &lines, error))
        return false;
    if (lines.size() < 169) {
        *error = problem(
            vekPath,
            QStringLiteral("it has %1 lines; a name and 168 values are needed").arg(lines.size()));
        return false;
    }
    nameLine = lines.at(0);
    slotText = lines.at(1);
    if (name().isEmpty()) {
        *error = problem(vekPath, QStringLiteral("its first line, the aircraft's name, is blank"));
        return false;
    }
    if (name().size() > 254 || name().contains('\0')) {
        *error =
            problem(vekPath, QStringLiteral("the aircraft's name is longer than 254 characters"));
        return false;
    }
    span.resize(168);
    for (int k = 0; k < 168; ++k) {
        unsigned char v = 0;
        if (!byteValue(lines.at(1 + k), &v)) {
            *error =
                problem(vekPath, QStringLiteral("line %1 (\"%2\") is not a whole number 0 to 255")
                                     .arg(QString::number(k + 2), Excerpt::of(lines.at(1 + k))));
            return false;
        }
        span[k] = static_cast<char>(v);
    }
    slot = static_cast<unsigned char>(span.at(0));
    if (slot > 29) {
        *error = problem(
            vekPath,
            QStringLiteral("its slot number %1 is not one of the game's slots 0 to 29").arg(slot));
        return false;
    }
    return true;
}

void AltPlane::findExtras() {
    const QStringList loxes = FileList::files(folder, QStringLiteral("*.lox"));
    loxPath = loxes.size() == 1 ? FileList::join(folder, loxes.first()) : QString();
    const QStringList flts = FileList::files(folder, QStringLiteral("*.flt"));
    fltPath = flts.size() == 1 ? FileList::join(folder, flts.first()) : QString();
}

bool AltPlane::readLox(qint64 loadoutSize, QString *error) {
    lox.clear();
    if (loxPath.isEmpty())
        return true;
    QList<QByteArray> lines;
    if (!TextFile::readLines(loxPath, &lines, error))
        return false;
    while (!lines.isEmpty() && lines.last().trimmed().isEmpty())
        lines.removeLast();
    if (lines.size() % 2 != 0) {
        *error = problem(loxPath, QStringLiteral("its last position has no value line"));
        return false;
    }
    for (qsizetype i = 0; i < lines.size(); i += 2) {
        qint64 position = 0;
        unsigned char value = 0;
        const QByteArray p = lines.at(i).trimmed();
        bool digits = !p.isEmpty();
        for (char c : p)
            digits = digits && c >= '0' && c <= '9';
        if (!digits || !leadingInteger(p, &position) || position < 1 || position > loadoutSize) {
            *error = problem(loxPath, QStringLiteral("line %1 (\"%2\") is not a position inside "
                                                     "loadout.dat (1 to %3)")
                                          .arg(QString::number(i + 1), Excerpt::of(lines.at(i)),
                                               QString::number(loadoutSize)));
            return false;
        }
        if (!byteValue(lines.at(i + 1), &value)) {
            *error =
                problem(loxPath, QStringLiteral("line %1 (\"%2\") is not a whole number 0 to 255")
                                     .arg(QString::number(i + 2), Excerpt::of(lines.at(i + 1))));
            return false;
        }
        lox.append({position, value});
    }
    return true;
}
