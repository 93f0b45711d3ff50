// SPDX-License-Identifier: GPL-3.0-or-later
#include "LinkTable.h"

#include "FileList.h"
#include "Prompt.h"
#include "Text8.h"
#include "TextFile.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

LinkTable::LinkTable(const QString &modFolder, Prompt &prompt)
    : modFolder_(modFolder), prompt_(prompt) {}

QString LinkTable::open() {
    addresses = {FileList::resolve(modFolder_, QStringLiteral("helpfile.txt"))};
    items = {{HelpTitle, addresses.first()}};
    ListIndex = -1;

    const QString name = FileList::find(modFolder_, QStringLiteral("links.txt"));
    if (!name.isEmpty()) {
        const QString file = FileList::join(modFolder_, name);
        QList<QByteArray> lines;
        QString error;
        if (!TextFile::readLines(file, &lines, &error)) {
            prompt_.fail(error);
        } else {
            const qsizetype pairs = (lines.size() + 1) / 2;
            for (qsizetype k = 0; k < qMin<qsizetype>(pairs, MaxLinks); ++k) {
                const QString address = 2 * k + 1 < lines.size()
                                            ? Text8::toUnicode(lines.at(2 * k + 1)).trimmed()
                                            : QString();
                addresses << address;
                items.append({Text8::toUnicode(lines.at(2 * k)), address});
            }
            if (pairs > MaxLinks)
                prompt_.fail(QStringLiteral("\"%1\" holds %2 links; the list shows the first %3.")
                                 .arg(QDir::toNativeSeparators(file))
                                 .arg(pairs)
                                 .arg(MaxLinks));
        }
    }
    Text = ListHint;
    return startPage();
}

QString LinkTable::startPage() const {
    return FileList::resolve(modFolder_, QStringLiteral("linkscreen"));
}

QString LinkTable::choose(int index) {
    if (DontNavigate || index < 0 || index >= items.size())
        return {};
    ListIndex = index;
    const QString address = items.at(index).address;
    if (address.isEmpty())
        return {};
    TimerEnabled = true;
    Text = address;
    return address;
}

void LinkTable::navigationComplete(const QString &title, const QString &address) {
    Caption = title;
    DontNavigate = true;
    for (qsizetype i = 0; i < items.size(); ++i) {
        if (items.at(i).text == address) {
            items.removeAt(i);
            break;
        }
    }
    // A visited page is listed under its address and leads back there.
    items.prepend({address, address});
    ListIndex = 0;
    Text = address;
    DontNavigate = false;
}

void LinkTable::timerTick(bool busy, const QString &title) {
    if (busy) {
        Caption = Working;
        return;
    }
    TimerEnabled = false;
    Caption = title;
}

LinkTable::Command LinkTable::toolbar(const QString &key, const QString &title) {
    const qsizetype i = ToolbarKeys.indexOf(key);
    if (i < 0)
        return Command::None;
    TimerEnabled = true;
    const auto command = static_cast<Command>(i + 1);
    if (command == Command::Stop) {
        TimerEnabled = false;
        Caption = title;
    }
    return command;
}

QUrl LinkTable::url(const QString &address) const {
    if (address.isEmpty())
        return {};
    // A scheme of two letters or more ("http:", "file:"); "C:\..." is a drive, not a scheme.
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
    if (scheme.match(address).hasMatch())
        return QUrl(address);
    QString path = address;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (QFileInfo(path).isRelative())
        path = QDir(modFolder_).filePath(path);
    const QFileInfo file(path);
    return QUrl::fromLocalFile(FileList::resolve(file.path(), file.fileName()));
}
