// SPDX-License-Identifier: GPL-3.0-or-later
#include "FeatureTable.h"

#include "FileList.h"
#include "Text8.h"
#include "TextFile.h"

bool FeatureTable::read(const QString &gameFolder, QString *error) {
    rows_.clear();
    skipped = 0;
    const QString name = FileList::find(gameFolder, QStringLiteral("KC"));
    present = !name.isEmpty();
    if (!present)
        return true;
    QList<QByteArray> lines;
    if (!TextFile::readLines(FileList::join(gameFolder, name), &lines, error))
        return false;
    for (const QByteArray &line : std::as_const(lines)) {
        if (rows_.size() == MaxFeatures) {
            ++skipped;
            continue;
        }
        rows_ << Text8::toUnicode(line).split(QLatin1Char('\t'));
    }
    return true;
}

int FeatureTable::columnCount() const {
    qsizetype columns = 1;
    for (const QStringList &row : rows_)
        columns = qMax(columns, row.size());
    return int(columns);
}

QString FeatureTable::cell(int row, int column) const {
    if (row == 0)
        return column == 0 ? Header : QString();
    if (row < 1 || row > rows_.size() || column < 0 || column >= rows_.at(row - 1).size())
        return QString();
    return rows_.at(row - 1).at(column);
}

QStringList FeatureTable::codes(int row) const {
    if (row < 1 || row > rows_.size())
        return {};
    return rows_.at(row - 1).mid(1);
}
