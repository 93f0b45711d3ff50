// SPDX-License-Identifier: GPL-3.0-or-later
#include "Contrast.h"

#include <cmath>

namespace {
double luminance(const QColor &c) {
    const auto linear = [](double v) {
        return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
}
} // namespace

double Contrast::ratio(const QColor &a, const QColor &b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor Contrast::textOn(const QColor &background) {
    const QColor black(Qt::black), white(Qt::white);
    return ratio(background, black) >= ratio(background, white) ? black : white;
}
