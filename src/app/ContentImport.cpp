// SPDX-License-Identifier: GPL-3.0-or-later
#include "ContentImport.h"

#include "FileList.h"
#include "LoadFiles.h"
#include "LoadGrid.h"
#include "Progress.h"
#include "Prompt.h"
#include "Reporter.h"
#include "SelectorState.h"
#include "SkinGrid.h"
#include "Skins.h"

#include <QDir>
#include <QFileInfo>

QString ContentImport::replaceQuestion(const QStringList &places) {
    return QStringLiteral("\"%1\" is in the VEK folder already. Replace it with the folder of "
                          "the archive?\r\n\r\nOK replaces it; Cancel imports nothing.")
        .arg(QDir::toNativeSeparators(places.join(QStringLiteral("\", \""))));
}

QString ContentImport::collectionReport(const QString &file,
                                        const ImportArchive::Outcome &outcome) {
    QStringList folders, skins, scripts;
    for (const QString &place : outcome.places) {
        const QString rest = place.section(QLatin1Char('/'), 1);
        if (place.startsWith(SkinGrid::Folder + QLatin1Char('/'), Qt::CaseInsensitive))
            skins << rest;
        else if (place.contains(QLatin1Char('/')))
            scripts << rest;
        else
            folders << place;
    }
    QStringList parts;
    const auto list = [&parts](const QStringList &names, const char *one, const char *many) {
        if (!names.isEmpty())
            parts << QStringLiteral("%1 \"%2\"")
                         .arg(QLatin1String(names.size() == 1 ? one : many),
                              names.join(QStringLiteral("\", \"")));
    };
    list(folders, "the content folder", "the content folders");
    list(skins, "the skin", "the skins");
    list(scripts, "the autoscript", "the autoscripts");
    parts += outcome.added;
    QString text = QStringLiteral("%1 is a VEK folder of its own. Imported: %2.")
                       .arg(file, parts.join(QStringLiteral("; ")));
    QStringList replaced = outcome.replaced;
    replaced.removeAll(QString());
    if (!replaced.isEmpty())
        text += QStringLiteral("\r\n\r\nReplaced: \"%1\".")
                    .arg(QDir::toNativeSeparators(replaced.join(QStringLiteral("\", \""))));
    if (!outcome.leftOut.isEmpty())
        text += QStringLiteral("\r\n\r\nLeft out (saves and folders that are not content): "
                               "\"%1\".")
                    .arg(QDir::toNativeSeparators(outcome.leftOut.join(QStringLiteral("\", \""))));
    return text + QStringLiteral("\r\n\r\nThe new folders are listed, not loaded.");
}

ImportArchive::Outcome ContentImport::run(const QString &archive, const QString &name) {
    ImportArchive::Options options;
    options.name = name;
    for (const QString &letter : s_.groups.GroupLetters)
        if (!letter.isEmpty())
            options.groupLetters << letter;
    // Every mission's save store, whether the mission is loaded or not, and whatever group
    // vek.ini gives the letter "C".
    for (const QString &folder : FileList::folderNames(s_.ModFolder()))
        if (const QString store = LoadGrid::storeOf(folder); !store.isEmpty())
            options.stores << store;
    options.storeOf = [](const QString &folder) { return LoadGrid::storeOf(folder); };
    const QString skins = SkinGrid::Folder + QLatin1Char('/');
    options.loaded = [this, &skins](const QString &place) {
        if (place.startsWith(skins, Qt::CaseInsensitive)) {
            const int row = s_.SK1.find(place.mid(skins.size()));
            return row > 0 && s_.SK1.row(row).loaded;
        }
        const int row = s_.Unigrid.find(place);
        return row > 0 && s_.Unigrid.row(row).loaded;
    };
    options.replace = [this](const QStringList &places) {
        return r_.prompt().message(QStringLiteral("VEK Selector"), replaceQuestion(places),
                                   Prompt::Icon::Exclamation, Prompt::Buttons::OkCancel);
    };
    const QString caption = r_.caption();
    r_.setProgressOn(true);
    options.progress = r_.progress();
    r_.setFileCaption(QStringLiteral("Please wait- unpacking: ") + QFileInfo(archive).fileName());
    const ImportArchive::Outcome outcome = ImportArchive::run(archive, s_.ModFolder(), options);
    r_.setProgressOn(false);
    r_.setCaption(caption);

    const QString file = QFileInfo(archive).fileName();
    switch (outcome.result) {
    case ImportArchive::Result::Imported:
        // The new rows are there at once, not loaded; what is loaded stays so.
        loadFiles_.rescan();
        skins_.rescan();
        s_.setStatus(
            QStringLiteral("Imported \"%1\" from %2: %3 %4, not loaded.")
                .arg(outcome.places.join(QStringLiteral("\", \"")), file)
                .arg(outcome.files)
                .arg(outcome.files == 1 ? QStringLiteral("file") : QStringLiteral("files")));
        if (outcome.collection)
            r_.prompt().message(QStringLiteral("VEK Selector"), collectionReport(file, outcome),
                                Prompt::Icon::Information, Prompt::Buttons::Ok);
        break;
    case ImportArchive::Result::NeedsName:
        break;
    case ImportArchive::Result::Cancelled:
        s_.setStatus(QStringLiteral("Importing %1 was cancelled: nothing was imported.").arg(file));
        r_.prompt().fail(outcome.message);
        break;
    case ImportArchive::Result::Refused:
    case ImportArchive::Result::Failed:
        s_.setStatus(QStringLiteral("Importing %1 did not work: see the message.").arg(file));
        r_.prompt().fail(outcome.message);
        break;
    }
    return outcome;
}
