// SPDX-License-Identifier: GPL-3.0-or-later
#include "ArchiveLayout.h"

#include "SkinGrid.h"
#include "Text8.h"

#include <QHash>
#include <QMap>
#include <QSet>

namespace {
const QString SkinFolder = QStringLiteral("Skinfolder");

/// The names directly in each folder of the archive ("" the top, "Pack/" ...), each with
/// whether it is a folder. A folder is what holds entries, whether the archive lists it or not.
using Children = QHash<QString, QMap<QString, bool>>;

Children childrenOf(const QList<ArchiveLayout::Entry> &entries) {
    Children children;
    for (const ArchiveLayout::Entry &e : entries) {
        const QStringList names = e.path.split(QLatin1Char('/'));
        QString prefix;
        for (qsizetype i = 0; i < names.size(); ++i) {
            bool &folder = children[prefix][names.at(i)];
            folder = folder || i + 1 < names.size() || e.folder;
            prefix += names.at(i) + QLatin1Char('/');
        }
    }
    return children;
}

/// The folders of `prefix` as the archive names them: every one a content folder or a skin
/// (or Skinfolder, holding only skin folders). False when anything there is not.
bool named(const Children &children, const QString &prefix, const QStringList &letters,
           QList<ArchiveLayout::Target> *targets) {
    const QMap<QString, bool> kids = children.value(prefix);
    if (kids.isEmpty())
        return false;
    for (auto it = kids.cbegin(); it != kids.cend(); ++it) {
        const QString &name = it.key();
        if (!it.value())
            return false;
        const QString inside = prefix + name + QLatin1Char('/');
        if (name.compare(SkinFolder, Qt::CaseInsensitive) == 0) {
            const QMap<QString, bool> skins = children.value(inside);
            if (skins.isEmpty())
                return false;
            for (auto s = skins.cbegin(); s != skins.cend(); ++s) {
                if (!s.value())
                    return false;
                targets->append(
                    {SkinFolder + QLatin1Char('/') + s.key(), inside + s.key() + QLatin1Char('/')});
            }
        } else if (ArchiveLayout::skinName(name)) {
            targets->append({SkinFolder + QLatin1Char('/') + name, inside});
        } else if (ArchiveLayout::contentName(name, letters)) {
            targets->append({name, inside});
        } else {
            return false;
        }
    }
    return true;
}

bool holdsFile(const Children &children, const QString &prefix, const QString &name) {
    const QMap<QString, bool> kids = children.value(prefix);
    for (auto it = kids.cbegin(); it != kids.cend(); ++it)
        if (!it.value() && it.key().compare(name, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

/// A collection's folders at `root`: content folders and skins under their own names, the
/// skins of its Skinfolder, the files of its Autoscripts; the rest is left out.
void collectionTargets(const Children &children, const QString &root, const QStringList &letters,
                       ArchiveLayout::Plan *plan) {
    const QMap<QString, bool> kids = children.value(root);
    for (auto it = kids.cbegin(); it != kids.cend(); ++it) {
        const QString &name = it.key();
        const QString inside = root + name + QLatin1Char('/');
        if (!it.value())
            continue; // linkscreen, vek.ini ...: the VEK folder has its own, or they are merged
        const bool skins = name.compare(SkinFolder, Qt::CaseInsensitive) == 0;
        const bool scripts = name.compare(QLatin1String("Autoscripts"), Qt::CaseInsensitive) == 0;
        if (skins || scripts) {
            const QMap<QString, bool> held = children.value(inside);
            for (auto h = held.cbegin(); h != held.cend(); ++h) {
                if (skins == h.value())
                    plan->targets.append(
                        {(skins ? SkinFolder : QStringLiteral("Autoscripts")) + QLatin1Char('/') +
                             h.key(),
                         inside + h.key() + (skins ? QStringLiteral("/") : QString()), !skins});
                else
                    plan->leftOut << inside + h.key();
            }
        } else if (ArchiveLayout::skinName(name)) {
            plan->targets.append({SkinFolder + QLatin1Char('/') + name, inside});
        } else if (ArchiveLayout::contentName(name, letters)) {
            plan->targets.append({name, inside});
        } else {
            plan->leftOut << root + name;
        }
    }
}

QString contentNameProblem(const QString &name, const QStringList &letters) {
    const QString problem = ArchiveLayout::nameProblem(name);
    if (!problem.isEmpty())
        return problem;
    if (!ArchiveLayout::contentName(name, letters))
        return QStringLiteral("\"%1\" is not a content folder's name: it starts with a group "
                              "letter (%2), then \"-\" or a blank, then the rest of the name.")
            .arg(name, letters.isEmpty() ? QStringLiteral("A to Z") : letters.join(u", "));
    return QString();
}
} // namespace

bool ArchiveLayout::entryPath(const QString &name, QString *path, QString *reason) {
    QString p = name;
    p.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (p.startsWith(QLatin1Char('/'))) {
        *reason = QStringLiteral("an absolute path");
        return false;
    }
    if (p.size() >= 2 && p.at(1) == QLatin1Char(':')) {
        *reason = QStringLiteral("a drive letter");
        return false;
    }
    QStringList kept;
    for (const QString &part : p.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (part == QLatin1String("."))
            continue;
        if (part == QLatin1String("..")) {
            *reason = QStringLiteral("a step out of its folder (\"..\")");
            return false;
        }
        if (const QString problem = windowsProblem(part); !problem.isEmpty()) {
            *reason =
                QStringLiteral("the name \"%1\", which Windows cannot hold: %2").arg(part, problem);
            return false;
        }
        // The ledgers and the game's lists are 8-bit text: a name they cannot spell would be
        // written as "?", and the folder or file no longer found by it.
        if (const QString foreign = Text8::foreignPhrase(part); !foreign.isEmpty()) {
            *reason = QStringLiteral("the name \"%1\", with %2").arg(part, foreign);
            return false;
        }
        kept << part;
    }
    if (kept.isEmpty()) {
        *reason = QStringLiteral("no name");
        return false;
    }
    *path = kept.join(QLatin1Char('/'));
    return true;
}

QString ArchiveLayout::windowsProblem(const QString &name) {
    static const QString bad = QStringLiteral("<>:\"|?*");
    for (const QChar c : name)
        if (c.unicode() < 0x20 || bad.contains(c))
            return c.unicode() < 0x20 ? QStringLiteral("it holds a control character")
                                      : QStringLiteral("it holds \"%1\"").arg(c);
    if (name.endsWith(QLatin1Char('.')) || name.endsWith(QLatin1Char(' ')))
        return QStringLiteral("it ends with a dot or a blank");
    // A device's name stands for the device whatever extension follows, and before it.
    const QString base = name.section(QLatin1Char('.'), 0, 0).trimmed().toUpper();
    static const QStringList devices{QStringLiteral("CON"), QStringLiteral("PRN"),
                                     QStringLiteral("AUX"), QStringLiteral("NUL")};
    const bool numbered =
        base.size() == 4 &&
        (base.startsWith(QLatin1String("COM")) || base.startsWith(QLatin1String("LPT"))) &&
        base.at(3) >= QLatin1Char('1') && base.at(3) <= QLatin1Char('9');
    if (devices.contains(base) || numbered)
        return QStringLiteral("\"%1\" is the name of a device there").arg(base);
    return QString();
}

QString ArchiveLayout::placeIn(const QString &root, const QString &path) {
    QString rest = path.mid(root.size());
    rest.replace(QLatin1Char('\\'), QLatin1Char('/'));
    while (rest.startsWith(QLatin1Char('/')))
        rest.remove(0, 1);
    return rest;
}

bool ArchiveLayout::contentName(const QString &name, const QStringList &letters) {
    if (name.size() < 3 || (name.at(1) != QLatin1Char('-') && name.at(1) != QLatin1Char(' ')))
        return false;
    const QString letter = name.left(1);
    if (letters.isEmpty())
        return letter.at(0).isLetter() && letter.at(0).unicode() < 0x80;
    return letters.contains(letter);
}

bool ArchiveLayout::skinName(const QString &name) {
    if (!name.startsWith(QLatin1String("A-"), Qt::CaseInsensitive) || name.size() < 4 ||
        !name.at(2).isDigit() || !name.at(3).isDigit())
        return false;
    if (name.size() > 4 && name.at(4) != QLatin1Char(' '))
        return false;
    return SkinGrid::slotOf(name) >= 0;
}

QString ArchiveLayout::nameProblem(const QString &name) {
    const QString bad = QStringLiteral("\\/:*?\"<>|");
    QString path;
    QString reason;
    if (name.trimmed().isEmpty())
        return QStringLiteral("The name is empty.");
    for (const QChar c : name)
        if (bad.contains(c))
            return QStringLiteral("\"%1\" holds \"%2\", which no folder name on Windows holds.")
                .arg(name, c);
    if (name.startsWith(QLatin1Char('.')) || name.endsWith(QLatin1Char('.')) ||
        name.endsWith(QLatin1Char(' ')))
        return QStringLiteral("\"%1\" starts with a dot or ends with a dot or a blank.").arg(name);
    if (const QString problem = windowsProblem(name); !problem.isEmpty())
        return QStringLiteral("\"%1\" is a name Windows cannot hold: %2.").arg(name, problem);
    if (const QString foreign = Text8::foreignPhrase(name); !foreign.isEmpty())
        return QStringLiteral("\"%1\" holds %2.").arg(name, foreign);
    if (!entryPath(name, &path, &reason) || path != name)
        return QStringLiteral("\"%1\" is not a single folder name.").arg(name);
    if (name.compare(SkinFolder, Qt::CaseInsensitive) == 0 ||
        name.compare(QLatin1String("Autoscripts"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("\"%1\" is the VEK folder's own folder.").arg(name);
    return QString();
}

bool ArchiveLayout::collectionRoot(const QList<Entry> &entries, QString *root) {
    const Children children = childrenOf(entries);
    const QString marker = QStringLiteral("linkscreen");
    const QMap<QString, bool> top = children.value(QString());
    if (holdsFile(children, QString(), marker)) {
        root->clear();
        return true;
    }
    if (top.size() == 1 && top.first() &&
        holdsFile(children, top.firstKey() + QLatin1Char('/'), marker)) {
        *root = top.firstKey() + QLatin1Char('/');
        return true;
    }
    return false;
}

ArchiveLayout::Plan ArchiveLayout::plan(const QList<Entry> &entries, const QStringList &letters,
                                        const QString &name, const QString &archiveName) {
    Plan plan;
    const Children children = childrenOf(entries);
    const QMap<QString, bool> top = children.value(QString());
    if (top.isEmpty()) {
        plan.refusal = QStringLiteral("it holds no files.");
        return plan;
    }
    if (collectionRoot(entries, &plan.root)) {
        plan.collection = true;
        if (!name.isEmpty()) {
            plan.refusal = QStringLiteral("it is a VEK folder of its own, whose folders keep "
                                          "their names: import it without a name.");
            return plan;
        }
        collectionTargets(children, plan.root, letters, &plan);
        if (plan.targets.isEmpty())
            plan.refusal = QStringLiteral("it is a VEK folder of its own that holds no content "
                                          "folder, skin or autoscript.");
    }
    QList<Target> targets = plan.targets;
    bool decided = plan.collection || named(children, QString(), letters, &targets);
    QString prefix;
    QString suggestion = archiveName;
    if (!decided && top.size() == 1 && top.first()) {
        // One folder around everything: what it holds decides, one level down.
        prefix = top.firstKey() + QLatin1Char('/');
        suggestion = top.firstKey();
        targets.clear();
        decided = named(children, prefix, letters, &targets);
    }
    if (!decided) {
        if (name.isEmpty()) {
            plan.needsName = true;
            plan.suggestion = suggestion;
            return plan;
        }
        plan.refusal = contentNameProblem(name, letters);
        if (plan.refusal.isEmpty())
            plan.targets = {{name, prefix}};
        return plan;
    }
    if (!name.isEmpty() && !plan.collection) {
        if (targets.size() > 1) {
            plan.refusal = QStringLiteral("it holds %1 folders, and a name can only name one.")
                               .arg(targets.size());
            return plan;
        }
        Target &only = targets.first();
        const bool skin = only.place.startsWith(SkinFolder + QLatin1Char('/'));
        plan.refusal = skin ? nameProblem(name) : contentNameProblem(name, letters);
        if (!plan.refusal.isEmpty())
            return plan;
        only.place = skin ? SkinFolder + QLatin1Char('/') + name : name;
    }
    QSet<QString> places;
    for (const Target &t : std::as_const(targets)) {
        const QString folded = t.place.toCaseFolded();
        if (places.contains(folded)) {
            plan.refusal = QStringLiteral("it holds two folders for \"%1\".").arg(t.place);
            return plan;
        }
        places.insert(folded);
    }
    if (!plan.refusal.isEmpty())
        plan.targets.clear();
    else
        plan.targets = targets;
    return plan;
}
