// SPDX-License-Identifier: GPL-3.0-or-later
#include "Locator.h"

#include "Excerpt.h"
#include "FileList.h"
#include "FileOps.h"
#include "Ledgers.h"
#include "Prompt.h"
#include "Text8.h"
#include "TextFile.h"

#include <QDir>
#include <QFileInfo>

void Locator::refuseDuplicate(Prompt &prompt) {
    prompt.message(DuplicateTitle, DuplicateText, Prompt::Icon::Exclamation, Prompt::Buttons::Ok);
}

bool Locator::isVekFolder(const QString &path) {
    return !path.isEmpty() && !FileList::find(path, QStringLiteral("linkscreen")).isEmpty();
}

bool Locator::isGameFolder(const QString &path) {
    return !path.isEmpty() && QFileInfo(path).isDir() &&
           !FileList::find(path, QStringLiteral("eaw.exe")).isEmpty();
}

QString Locator::whyNotOk() const {
    const QString problem = folderProblem();
    if (!problem.isEmpty() || Command1)
        return problem;
    return QStringLiteral("Choose the VEK folder in the folder list to go on.");
}

QString Locator::folderProblem() const {
    QStringList problems;
    if (!isVekFolder(Label1))
        problems << (Label1.isEmpty() || Label1 == QLatin1String("None")
                         ? QStringLiteral("Choose the VEK folder: the folder of your content, "
                                          "which holds a file named \"linkscreen\".")
                         : QStringLiteral("\"%1\" is not a VEK folder: it holds no file named "
                                          "\"linkscreen\". Choose the VEK folder.")
                               .arg(Excerpt::of(QDir::toNativeSeparators(Label1))));
    if (!isGameFolder(Label3))
        problems << QStringLiteral("\"%1\" is not the EAW folder: it holds no eaw.exe. Choose "
                                   "\"EAW Folder\", then the folder the game is installed in.")
                        .arg(Excerpt::of(QDir::toNativeSeparators(Label3)));
    return problems.join(QLatin1Char('\n'));
}

Locator::Start Locator::start(const QString &currentDir) {
    Label3 = Folders::clean(currentDir);
    option_ = 0;
    const QString last = FileList::find(currentDir, QStringLiteral("LastVEKDir"));
    if (last.isEmpty())
        return Start::Waiting;
    Label1 =
        Folders::clean(Text8::toUnicode(TextFile::firstLine(FileList::join(currentDir, last))));
    if (isVekFolder(Label1)) {
        // A LastVEKDir in a folder without the game's program (left there by someone, or by an
        // older selector) does not make it a game folder: the player picks the EAW folder, with
        // the remembered VEK folder already chosen.
        Command1 = false;
        return isGameFolder(currentDir) ? Start::Automatic : Start::Waiting;
    }
    // The remembered folder is gone, or the last main window never finished loading ("None").
    // Let the player choose rather than open on a folder that is not a VEK folder.
    Command1 = false;
    if (Label1 != QLatin1String("None"))
        startProblem = (QStringLiteral("The VEK folder remembered in LastVEKDir, \"%1\", holds no "
                                       "file named \"linkscreen\". Choose the VEK folder.")
                            .arg(Excerpt::of(QDir::toNativeSeparators(Label1))));
    return Start::Waiting;
}

void Locator::folderChanged(const QString &path) {
    if (option_ == 0)
        Label1 = Folders::clean(path);
    else
        Label3 = Folders::clean(path);
    Command1 = folderProblem().isEmpty();
}

void Locator::gameChosen(const QString &path) {
    Label3 = Folders::clean(path);
    Command1 = folderProblem().isEmpty();
}

Folders Locator::ok() {
    Folders f;
    f.ModFolder = Folders::clean(Label1);
    f.GameFolder = Folders::clean(Label3);
    QString error;
    for (const QString &ledger : {Ledgers::FoldersLoaded, Ledgers::PlanesLoaded}) {
        if (!Ledgers::ensureExists(f.ModFolder, ledger, &error))
            prompt_.fail(error);
    }
    QString last = FileList::find(f.GameFolder, QStringLiteral("LastVEKDir"));
    if (last.isEmpty()) {
        last = QStringLiteral("LastVEKDir");
        if (!TextFile::writeLines(FileList::join(f.GameFolder, last), {"None"}, &error))
            prompt_.fail(error);
    }
    f.LastModFolder =
        Folders::clean(Text8::toUnicode(TextFile::firstLine(FileList::join(f.GameFolder, last))));
    return f;
}
