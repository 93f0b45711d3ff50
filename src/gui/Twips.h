// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QGroupBox>
#include <QHeaderView>
#include <QTableView>
#include <QWidget>

#include <algorithm>

/// Grid sizes are given in twips (1/1440 inch), as the selector has always laid them out.
inline int twipsToPixels(const QWidget *w, int twips) {
    return twips * w->logicalDpiY() / 1440;
}

/// Gives column `column` its width in twips, or more when the system font needs more room
/// for the column's texts: the widths were chosen for a smaller font than most desktops use.
inline void fitColumn(QTableView *view, int column, int twips) {
    const int wanted =
        std::max(static_cast<const QAbstractItemView *>(view)->sizeHintForColumn(column),
                 view->horizontalHeader()->sectionSizeHint(column));
    view->setColumnWidth(column, std::max(twipsToPixels(view, twips), wanted));
}

/// Sets a frame's caption. An empty caption is drawn as a blank one, so the frame keeps its
/// title row and its controls do not move under the pointer when a hint comes and goes.
inline void setCaption(QGroupBox *frame, const QString &caption) {
    frame->setTitle(caption.isEmpty() ? QStringLiteral(" ") : caption);
}
