// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

/// The demo kit: a made-up game installation and VEK folder side by side, for trying the
/// selector without the game and as the stock fixture of the project's tests.
class DemoKit {
public:
    /// Creates `root`/EAW (`DemoGameFolder`) and `root`/VEK (`DemoVekFolder`); `root` is
    /// created when missing. Refuses, writing nothing, when EAW or VEK already exists and is
    /// not an empty folder: the kit never mixes its files into a real folder.
    static bool generate(const QString &root, QString *error);

    /// root/EAW and root/VEK.
    static QString gameFolder(const QString &root);
    static QString vekFolder(const QString &root);
};
