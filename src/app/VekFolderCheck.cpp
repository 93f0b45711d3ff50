// SPDX-License-Identifier: GPL-3.0-or-later
#include "VekFolderCheck.h"

#include "Prompt.h"
#include "Reporter.h"
#include "SelectorState.h"

#include <QDir>
#include <QFileInfo>

bool VekFolderCheck::there(const SelectorState &state, Reporter &reporter) {
    if (QFileInfo(state.ModFolder()).isDir())
        return true;
    const QString gone =
        QStringLiteral("The VEK folder \"%1\" is gone: it was moved, renamed or deleted while "
                       "the selector was open. Nothing was changed.")
            .arg(QDir::toNativeSeparators(state.ModFolder()));
    if (!reporter.newVekDirectory) {
        reporter.prompt().fail(gone + QStringLiteral(" Name the VEK folder where it is now."));
        return false;
    }
    if (reporter.prompt().message(QStringLiteral("VEK Selector"),
                                  gone + QStringLiteral("\r\n\r\nChoose the VEK folder again "
                                                        "with \"New VEK Directory\"?"),
                                  Prompt::Icon::Exclamation, Prompt::Buttons::OkCancel))
        reporter.newVekDirectory();
    return false;
}
