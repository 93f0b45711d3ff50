// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>

class Selector;

/// The command `import ARCHIVE|FOLDER [NAME]`: "Add content..." of the page "Load Files".
class CliImport {
public:
    /// The command table's row for it.
    static inline const QString Args = QStringLiteral("ARCHIVE|FOLDER [NAME]");
    static QString actsLike();

    /// A usage error of the arguments (an archive that is no file, nor a folder), or empty.
    static QString check(const QStringList &args);
    /// Imports; false (the message on stderr) when nothing was imported. An archive that names
    /// no folder needs NAME, as the window asks for one.
    static bool run(Selector &selector, const QStringList &args, QTextStream &out);
};
