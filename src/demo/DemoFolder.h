// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

/// A folder described in memory: files with their bytes and subfolders, written to disk in
/// one go. The demo game folder and VEK folder are trees of these, so a test can take the
/// stock tree, add, replace or drop a file, and write its own variant of the fixture.
///
/// Names are kept exactly as given: the game's folders mix cases ("KC", "V1V1.FLT",
/// "eaw.ini") and the selector has to cope with that.
class DemoFolder {
public:
    DemoFolder() = default;
    explicit DemoFolder(QString name) : name_(std::move(name)) {}

    QString name() const { return name_; }

    /// Adds a file, or replaces the file of exactly that name.
    DemoFolder &file(const QString &name, const QByteArray &bytes);

    /// Adds an 8-bit text file: each line converted to Windows-1252 and ended by CR LF, as
    /// the game and the selector write their text files.
    DemoFolder &text(const QString &name, const QStringList &lines);

    /// Adds a subfolder, or replaces the subfolder of exactly that name.
    DemoFolder &folder(const DemoFolder &sub);

    /// The subfolder of exactly that name, or nullptr; lets a caller edit a nested folder in
    /// place (for example drop one file from a content folder of the stock tree).
    DemoFolder *subfolder(const QString &name);
    const DemoFolder *subfolder(const QString &name) const;

    /// Drops the file or subfolder of exactly that name; false when there is none.
    bool remove(const QString &name);

    bool hasFile(const QString &name) const;
    QByteArray fileBytes(const QString &name) const;
    QStringList fileNames() const;
    QStringList folderNames() const;

    /// Writes the files and subfolders into `path`, which is created (with its parents) when
    /// missing. Files already there under the same names are replaced; nothing else in the
    /// folder is touched. Stops at the first failure, with a message naming the file.
    bool write(const QString &path, QString *error) const;

    /// `lines` in Windows-1252, each followed by CR LF.
    static QByteArray textBytes(const QStringList &lines);

private:
    QString name_;
    QList<QPair<QString, QByteArray>> files_;
    QList<DemoFolder> folders_;
};
