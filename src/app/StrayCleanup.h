#pragma once

#include <QString>
#include <QStringList>

/// Sweeps content files that an earlier VEK folder left in the game folder: every file that
/// matches `StrayPatterns`, except EXTRA.SPT and CHATLINE.TXT (in any case).
class StrayCleanup {
public:
    static inline const QString StrayPatterns = QStringLiteral(
        "*.hm;*.jpg;*.pcx;*.txt;mypic;planepic;skinpic;*.mnu;*.dat;*.mpc;*.wsp;*.pic;*.spt;"
        "*.str;*.ter;*.tm;*.tpc;*.flt;*.3dz;*.snd;*.bil;*.bin;*.cpt");

    /// Deletes the strays, in name order, and goes on past a file it cannot delete; answers the
    /// messages for those files (empty when all went).
    static QStringList run(const QString &gameFolder);

    static bool kept(const QString &name);
};
