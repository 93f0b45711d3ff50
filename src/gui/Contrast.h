// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>

/// Text that reads on a coloured background whatever the desktop theme: the window's colours
/// are fixed, so their text colour must be too, or a dark theme puts near-white text on them.
namespace Contrast {
/// The contrast ratio of two colours as the accessibility guidelines define it: 1 (none) to 21
/// (black on white). 4.5 or more reads as normal text.
double ratio(const QColor &a, const QColor &b);
/// Black or white, whichever has the higher contrast on `background`.
QColor textOn(const QColor &background);
} // namespace Contrast
