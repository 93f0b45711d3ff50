// SPDX-License-Identifier: GPL-3.0-or-later
#include "DryRun.h"

#include "FileHook.h"
#include "FileList.h"
#include "FileOps.h"
#include "Journal.h"
#include "StrayCleanup.h"
#include "Text8.h"

namespace {

// LastVEKDir names the VEK folder by its path; in the twin it must name the twin's folder,
// or the start would take the real one, and the change-of-folder check would see a change.
// Only the first line counts; the rest of the file is kept.
void translateLastVekDir(const Replica &replica, const QString &game) {
    const QString name = FileList::find(game, QStringLiteral("LastVEKDir"));
    if (name.isEmpty())
        return;
    const QString path = FileList::join(game, name);
    QByteArray bytes;
    if (!FileOps::readAll(path, &bytes, nullptr))
        return;
    qsizetype end = bytes.indexOf('\n');
    if (end < 0)
        end = bytes.size();
    const qsizetype cut = end > 0 && bytes.at(end - 1) == '\r' ? end - 1 : end;
    const QString first = Text8::toUnicode(bytes.left(cut));
    const QString mapped = replica.toReplica(first);
    if (mapped != first)
        FileOps::writeAtomic(path, Text8::fromUnicode(mapped) + bytes.mid(cut), nullptr);
}

// A journal left by an interrupted run names the folders of its moves and the game files of
// its backups relative to the two folders; one written before that holds the real folders'
// absolute paths, and the recovery at the start must act on the twin's. A record that cannot
// be placed in the real folders is left as it is: the twin's start refuses it as the real
// one would.
void translateJournal(const Replica &replica, const QString &game, const QString &vek) {
    const QString twinVek = replica.toReplica(vek);
    const QString name = FileList::find(twinVek, Journal::FileName);
    QByteArray bytes;
    Journal::Record record;
    if (name.isEmpty() || !FileOps::readAll(FileList::join(twinVek, name), &bytes, nullptr) ||
        !Journal::fromBytes(bytes, &record, nullptr) ||
        !Journal::place(&record, vek, game, nullptr))
        return;
    for (Journal::Move &m : record.moves)
        m.folder = replica.toReplica(m.folder);
    for (Journal::Backup &b : record.backups)
        b.path = replica.toReplica(b.path);
    Journal::write(twinVek, replica.toReplica(game), record, nullptr);
}

} // namespace

std::unique_ptr<DryRun> DryRun::start(const QString &game, const QString &vek, QTextStream &out,
                                      QString *error) {
    QStringList folders{game};
    if (!vek.isEmpty())
        folders << vek;
    std::unique_ptr<DryRun> run(new DryRun);
    run->replica_ = Replica::make(folders, error);
    if (!run->replica_)
        return nullptr;
    // Before recording starts: these are the twin's own changes, not the commands'.
    translateLastVekDir(*run->replica_, run->replica_->toReplica(game));
    if (!vek.isEmpty())
        translateJournal(*run->replica_, game, vek);

    // A sweep moves what no folder carries into the user's data folder, which is not twinned:
    // a stand-in inside the twin takes its place, shown under the real folder's name.
    const QString data = StrayCleanup::dataFolder();
    const QString stand = run->replica_->toReplica(game) + QStringLiteral("/.vek-user-data");
    if (run->replica_->standIn(
            data, stand, {QStringLiteral("vekselector"), QStringLiteral("vekselector/swept")}))
        StrayCleanup::setDataFolder(stand);
    FileHook::isolate(run->replica_->roots());
    const Replica *replica = run->replica_.get();
    FileHook::setSink([replica, &out](const FileOperation &op) {
        out << op.line([replica](const QString &p) { return replica->toReal(p); }) << '\n';
    });
    return run;
}

DryRun::~DryRun() {
    StrayCleanup::setDataFolder(QString());
    FileHook::setSink({});
    FileHook::isolate({});
}
