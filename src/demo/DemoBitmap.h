// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

/// Small pictures for the demo folders, as uncompressed 24-bit BMP files: every picture
/// decoder the selector may use reads them, and they need no image library to write.
class DemoBitmap {
public:
    /// A `width` x `height` picture fading from `topRgb` at the top to `bottomRgb` at the
    /// bottom (colours as 0xRRGGBB), darkened slightly towards the right edge so that it is
    /// not a plain fade and a flipped or mirrored decode is visible. Sizes from 1 to 4096.
    static QByteArray gradient(int width, int height, unsigned topRgb, unsigned bottomRgb);
};
