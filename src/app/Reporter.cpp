// SPDX-License-Identifier: GPL-3.0-or-later
#include "Reporter.h"

#include "Progress.h"
#include "Prompt.h"

#include <algorithm>
#include <utility>

void Reporter::report(const QString &problem) {
    // While the window loads, the same missing file would be reported by several steps;
    // the player hears of each problem once, when the load is done.
    if (loading_ || collecting_ > 0) {
        if (!pending_.contains(problem))
            pending_.append(problem);
        return;
    }
    prompt_.fail(problem);
}

void Reporter::tell(const QStringList &problems) {
    for (const QString &p : problems)
        report(p);
}

void Reporter::inform(const QString &text) {
    prompt_.message(QStringLiteral("VEK Selector"), text, Prompt::Icon::Information,
                    Prompt::Buttons::Ok);
}

void Reporter::news(const QString &headline, const QString &phrase, const QStringList &details) {
    if (!newsSink) {
        inform(headline + QStringLiteral(":\r\n") + details.join(QStringLiteral("\r\n")));
        return;
    }
    constexpr qsizetype kShown = 3;
    QString line =
        phrase + QStringLiteral(": ") + details.mid(0, kShown).join(QStringLiteral(", "));
    if (details.size() > kShown)
        line += QStringLiteral(" and %1 more").arg(details.size() - kShown);
    newsSink(line);
}

void Reporter::collectReports() {
    ++collecting_;
}

QStringList Reporter::takeReports() {
    if (collecting_ > 0)
        --collecting_;
    // Within the window load the load itself tells them, with its own.
    if (collecting_ > 0 || loading_)
        return {};
    return std::exchange(pending_, {});
}

bool Reporter::alreadyReported(const QString &problem) const {
    // Reports end their lines in LF or CR LF.
    return std::any_of(pending_.cbegin(), pending_.cend(), [&problem](const QString &p) {
        const QStringList lines = p.split(QLatin1Char('\n'));
        return std::any_of(lines.cbegin(), lines.cend(), [&problem](const QString &line) {
            return (line.endsWith(QLatin1Char('\r')) ? line.chopped(1) : line) == problem;
        });
    });
}

void Reporter::endLoad() {
    loading_ = false;
    if (!pending_.isEmpty())
        prompt_.fail(pending_.join(QStringLiteral("\r\n\r\n")));
    pending_.clear();
}

bool Reporter::cancelled() const {
    return progress() && progress()->stopped();
}

void Reporter::setCaption(const QString &caption) {
    if (caption == caption_)
        return;
    caption_ = caption;
    if (captionChanged)
        captionChanged(caption_);
}
