// SPDX-License-Identifier: GPL-3.0-or-later
#include "DemoFolder.h"

#include "FileList.h"
#include "Text8.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// A plain write, not the selector's atomic one: the kit writes into new folders, where a
// half-written file cannot replace anything, and a whole tree of synced temporary files
// would make every test that builds a fixture wait on the disk.
bool writeFile(const QString &path, const QByteArray &bytes, QString *error) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
        file.write(bytes) == bytes.size() && file.flush()) {
        file.close();
        if (file.error() == QFileDevice::NoError)
            return true;
    }
    if (error)
        *error = QStringLiteral("Could not write \"%1\": %2.")
                     .arg(QDir::toNativeSeparators(path), file.errorString());
    return false;
}

} // namespace

DemoFolder &DemoFolder::file(const QString &name, const QByteArray &bytes) {
    for (auto &f : files_) {
        if (f.first == name) {
            f.second = bytes;
            return *this;
        }
    }
    files_.append({name, bytes});
    return *this;
}

DemoFolder &DemoFolder::text(const QString &name, const QStringList &lines) {
    return file(name, textBytes(lines));
}

DemoFolder &DemoFolder::folder(const DemoFolder &sub) {
    for (auto &f : folders_) {
        if (f.name_ == sub.name_) {
            f = sub;
            return *this;
        }
    }
    folders_.append(sub);
    return *this;
}

DemoFolder *DemoFolder::subfolder(const QString &name) {
    for (auto &f : folders_) {
        if (f.name_ == name)
            return &f;
    }
    return nullptr;
}

const DemoFolder *DemoFolder::subfolder(const QString &name) const {
    for (const auto &f : folders_) {
        if (f.name_ == name)
            return &f;
    }
    return nullptr;
}

bool DemoFolder::remove(const QString &name) {
    for (qsizetype i = 0; i < files_.size(); ++i) {
        if (files_.at(i).first == name) {
            files_.removeAt(i);
            return true;
        }
    }
    for (qsizetype i = 0; i < folders_.size(); ++i) {
        if (folders_.at(i).name_ == name) {
            folders_.removeAt(i);
            return true;
        }
    }
    return false;
}

bool DemoFolder::hasFile(const QString &name) const {
    for (const auto &f : files_) {
        if (f.first == name)
            return true;
    }
    return false;
}

QByteArray DemoFolder::fileBytes(const QString &name) const {
    for (const auto &f : files_) {
        if (f.first == name)
            return f.second;
    }
    return {};
}

QStringList DemoFolder::fileNames() const {
    QStringList names;
    for (const auto &f : files_)
        names << f.first;
    return names;
}

QStringList DemoFolder::folderNames() const {
    QStringList names;
    for (const auto &f : folders_)
        names << f.name_;
    return names;
}

bool DemoFolder::write(const QString &path, QString *error) const {
    if (!QFileInfo(path).isDir() && !QDir().mkpath(path)) {
        if (error)
            *error = QStringLiteral("Could not create the folder \"%1\".")
                         .arg(QDir::toNativeSeparators(path));
        return false;
    }
    for (const auto &f : files_) {
        if (!writeFile(FileList::join(path, f.first), f.second, error))
            return false;
    }
    for (const auto &sub : folders_) {
        if (!sub.write(FileList::join(path, sub.name_), error))
            return false;
    }
    return true;
}

QByteArray DemoFolder::textBytes(const QStringList &lines) {
    QByteArray out;
    for (const QString &line : lines) {
        out += Text8::fromUnicode(line);
        out += "\r\n";
    }
    return out;
}
