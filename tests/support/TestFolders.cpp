// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestFolders.h"

#include "DemoGameFolder.h"
#include "DemoVekFolder.h"
#include "FileOps.h"

#include <QDir>
#include <QFile>
#include <QTest>

const QByteArray TestFolders::kEawIni = "[GRAPHICS]\r\nWidth=800\r\nHeight=600\r\n"
                                        "[NETOPTION]\r\nStartOnGround=0\r\n"
                                        "[EAW]\r\nExtraSquads=0\r\n";

TestFolders::TestFolders(Content content) {
    QDir().mkpath(game());
    QDir().mkpath(vek());
    qputenv("XDG_DATA_HOME", QFile::encodeName(data()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config()));
    if (content == Demo) {
        QString error;
        QVERIFY2(DemoGameFolder::build(game(), &error), qPrintable(error));
        QVERIFY2(DemoVekFolder::build(vek(), &error), qPrintable(error));
        return;
    }
    write(vek(), QStringLiteral("linkscreen"), "<html><body>VEK</body></html>");
    if (content == WithGameFiles) {
        write(game(), QStringLiteral("eaw.ini"), kEawIni);
        write(game(), QStringLiteral("eaw.exe"), QByteArray("MZ stand-in for the game program"));
    }
    write(vek(), QStringLiteral("vek.ini"),
          "Aircraft:A\r\nGeneral:G\r\nMissions:M\r\nFlight:F\r\n");
}

void TestFolders::write(const QString &folder, const QString &name, const QByteArray &bytes) {
    const QString path = QDir(folder).filePath(name);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY2(f.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(f.fileName()));
    QCOMPARE(f.write(bytes), bytes.size());
}

QByteArray TestFolders::read(const QString &folder, const QString &name) {
    QFile f(QDir(folder).filePath(name));
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray("<missing>");
    return f.readAll();
}

bool TestFolders::exists(const QString &folder, const QString &name) {
    return QFileInfo(QDir(folder).filePath(name)).exists();
}

void TestFolders::plant(const QString &folder, const QStringList &entries) {
    for (QString e : entries) {
        const bool readOnly = e.startsWith(QLatin1Char('!'));
        if (readOnly)
            e.remove(0, 1);
        const QString path = e.section(QLatin1Char('='), 0, 0);
        write(folder, path, e.section(QLatin1Char('='), 1).toUtf8());
        if (readOnly)
            QVERIFY(FileOps::setReadOnly(QDir(folder).filePath(path), true));
    }
}

void TestFolders::rememberVek() const {
    write(game(), QStringLiteral("LastVEKDir"), vek().toLocal8Bit() + "\r\n");
}

QByteArray TestFolders::peProgram(quint16 machine) {
    QByteArray bytes(0x200, '\0');
    bytes.replace(0, 2, "MZ");
    bytes[0x3C] = char(0x80);
    bytes.replace(0x80, 4, QByteArray("PE\0\0", 4));
    bytes[0x84] = char(machine & 0xFF);
    bytes[0x85] = char(machine >> 8);
    return bytes;
}
