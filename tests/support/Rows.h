// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QTest>

#include <cstddef>
#include <tuple>
#include <utility>

/// For a test that loops over its own table: when the test fails inside the case this names,
/// the case is named after QTest's message (which gives only the line).
class CaseName {
public:
    explicit CaseName(QString name) : name_(std::move(name)) {}
    CaseName(const CaseName &) = delete;
    CaseName &operator=(const CaseName &) = delete;
    ~CaseName() {
        if (QTest::currentTestFailed())
            qWarning("in the case \"%s\"", qPrintable(name_));
    }

private:
    QString name_;
};

/// One data row for each entry of a table of structs whose `tag` names the row, in one column
/// "row": the test takes the whole case with `QFETCH(Row, row)`, so a case with many fields
/// costs one column and one fetch instead of one of each per field.
template <typename Row, std::size_t N> void addRows(const Row (&rows)[N]) {
    QTest::addColumn<Row>("row");
    for (const Row &r : rows)
        QTest::newRow(r.tag) << r;
}

/// The same for a table of tuples whose first element is the tag: the test takes the row with
/// `QFETCH(Row, row)` for a `using Row = std::tuple<...>` and names its parts in one binding.
template <typename... T, std::size_t N>
void addRows(const std::tuple<const char *, T...> (&rows)[N]) {
    QTest::addColumn<std::tuple<const char *, T...>>("row");
    for (const auto &r : rows)
        QTest::newRow(std::get<0>(r)) << r;
}

/// A list written "a;b;c" in a row table, as a QStringList (empty parts dropped).
inline QStringList listOf(const char *list) {
    return QString::fromUtf8(list).split(QLatin1Char(';'), Qt::SkipEmptyParts);
}

/// A table cell with its entries parted by "|", as a QStringList (empty parts dropped).
inline QStringList listed(const QString &cell) {
    return cell.split(QLatin1Char('|'), Qt::SkipEmptyParts);
}
