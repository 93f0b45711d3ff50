// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

/// Short sound files for the demo music folders: RIFF/WAVE, 8-bit mono PCM at 11025 Hz.
class DemoWave {
public:
    /// A soft sine tone of `hertz` lasting `milliseconds` (1 to 10000), fading out at the end.
    static QByteArray tone(int hertz, int milliseconds);
};
