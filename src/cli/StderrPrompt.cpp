// SPDX-License-Identifier: GPL-3.0-or-later
#include "StderrPrompt.h"

#include <cstdio>

bool StderrPrompt::message(const QString &title, const QString &text, Icon, Buttons buttons) {
    QString body = filter_ ? filter_(text) : text;
    body.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    const QString answer = buttons == Buttons::OkCancel
                               ? (answerOk_ ? QStringLiteral("\n[answered OK]")
                                            : QStringLiteral("\n[answered Cancel]"))
                               : QString();
    const QByteArray out =
        (title + QStringLiteral("\n") + body + answer + QStringLiteral("\n")).toLocal8Bit();
    if (beforeWriting_)
        beforeWriting_();
    std::fwrite(out.constData(), 1, size_t(out.size()), stderr);
    std::fflush(stderr);
    return buttons == Buttons::OkCancel ? answerOk_ : true;
}
