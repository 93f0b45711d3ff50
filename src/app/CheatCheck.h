#pragma once

#include <QString>

/// The online cheat-check byte the game reads from two of its files.
class CheatCheck {
public:
    static constexpr qint64 FltCdfPosition = 38258; ///< 1-based, file offset 0x9571
    static constexpr qint64 V1V1Position = 2;

    /// The load-time clear: 0 at the flt.cdf position when the game folder has flt.cdf.
    /// Answers false with `error` set when the file is there but could not be written.
    static bool clearAtLoad(const QString &gameFolder, QString *error);
};
