// SPDX-License-Identifier: GPL-3.0-or-later
#include "CliImport.h"

#include "ContentImport.h"
#include "Prompt.h"
#include "Selector.h"

#include <QFileInfo>

QString CliImport::actsLike() {
    return QStringLiteral(
        "\"Add content...\": puts the content folders or skins an archive (zip, 7z, rar, "
        "tar.gz, tar.bz2, tar.xz) or a folder holds into the VEK folder, whole or not at all, "
        "listed and not loaded; a VEK folder of its own brings its folders, skins and autoscripts "
        "and adds the groups and links the VEK folder lacks; NAME names the folder of loose "
        "files (or renames the one folder); "
        "a folder already there is replaced only when the question is answered ok, and never "
        "while it is loaded");
}

QString CliImport::check(const QStringList &args) {
    return QFileInfo(args.at(0)).isFile() || QFileInfo(args.at(0)).isDir()
               ? QString()
               : QStringLiteral("import: \"%1\" is not an archive file or a folder")
                     .arg(args.at(0));
}

bool CliImport::run(Selector &selector, const QStringList &args, QTextStream &) {
    const ImportArchive::Outcome outcome =
        selector.contentImport().run(QFileInfo(args.at(0)).absoluteFilePath(), args.value(1));
    if (outcome.result == ImportArchive::Result::NeedsName)
        selector.prompt().fail(outcome.message +
                               QStringLiteral(" Give the name after it: import ARCHIVE|FOLDER "
                                              "NAME."));
    return outcome.result == ImportArchive::Result::Imported;
}
