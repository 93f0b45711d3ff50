// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

/// A game folder and a VEK folder in a temporary folder of their own, with small helpers to
/// put files in them. The VEK folder holds "linkscreen" and a vek.ini of four groups
/// (A, G, M, F) from the start, the game folder a small eaw.ini (`kEawIni`) and a stand-in
/// eaw.exe. `Demo` puts the demo kit's game and VEK folders there instead.
///
/// The user's data folder, where sweeps move files no folder carries, is made `data()` for
/// the whole process (through `XDG_DATA_HOME`, which the tool started by a test inherits), so
/// no test writes into the real one; the folders made last are the ones in force. So it is
/// with the user's configuration folder (`XDG_CONFIG_HOME`, `config()`), where the options the
/// player chose are kept.
class TestFolders {
public:
    enum Content { WithGameFiles, WithoutGameFiles, Demo };
    explicit TestFolders(Content content = WithGameFiles);

    static const QByteArray kEawIni;

    QString game() const { return root_.filePath(QStringLiteral("EAW")); }
    QString vek() const { return root_.filePath(QStringLiteral("VEK")); }
    QString root() const { return root_.path(); }
    QString data() const { return root_.filePath(QStringLiteral("Data")); }
    QString config() const { return root_.filePath(QStringLiteral("Config")); }

    /// Writes `bytes` to `folder`/`name`, creating the folder.
    static void write(const QString &folder, const QString &name, const QByteArray &bytes = {});
    static QByteArray read(const QString &folder, const QString &name);
    static bool exists(const QString &folder, const QString &name);
    /// Writes "path=bytes" entries below `folder`; an entry starting with "!" is made read-only.
    static void plant(const QString &folder, const QStringList &entries);
    /// The start of a Windows program for `machine` (0x14c: 32-bit x86, 0x8664: 64-bit): the
    /// "MZ" header pointing at 0x80, where "PE\0\0" and the machine word stand.
    static QByteArray peProgram(quint16 machine);
    /// LastVEKDir naming the VEK folder: a start as on a later run of the same VEK folder.
    void rememberVek() const;

private:
    QTemporaryDir root_;
};
