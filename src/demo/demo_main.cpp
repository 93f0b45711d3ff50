// SPDX-License-Identifier: GPL-3.0-or-later
#include "DemoKit.h"

#include <QDir>
#include <QFileInfo>
#include <QString>

#include <cstdio>
#include <cstring>

namespace {

void print(FILE *to, const QString &text) {
    std::fputs(text.toLocal8Bit().constData(), to);
    std::fputc('\n', to);
}

const char *const kUsage =
    "Usage: vekselector-demo DIR\n"
    "       vekselector-demo --help | --version\n"
    "\n"
    "Writes a made-up game folder DIR/EAW and a made-up VEK folder DIR/VEK for trying the\n"
    "selector without the game. DIR is created when missing; EAW and VEK must not exist yet,\n"
    "or be empty. Prints the two folders, one a line.\n"
    "\n"
    "Then: vekselector --game DIR/EAW (the first time, pick DIR/VEK as the VEK folder),\n"
    "or vekselector-cli --game DIR/EAW --vek DIR/VEK.\n"
    "\n"
    "  --help      show this text\n"
    "  --version   show the version\n";

} // namespace

int main(int argc, char **argv) {
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::fputs("vekselector-demo " VEK_VERSION "\n", stdout);
        return 0;
    }
    if (argc != 2 || argv[1][0] == '\0' || argv[1][0] == '-') {
        std::fputs(kUsage, stderr);
        return 1;
    }
    const QString root = QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath();
    QString error;
    if (!DemoKit::generate(root, &error)) {
        print(stderr, error);
        return 1;
    }
    print(stdout, QDir::toNativeSeparators(DemoKit::gameFolder(root)));
    print(stdout, QDir::toNativeSeparators(DemoKit::vekFolder(root)));
    return 0;
}
