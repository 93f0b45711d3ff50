// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class GroupTable;
class QComboBox;
class QLineEdit;

/// Asks the name of the content folder an archive of loose files becomes: its group, from
/// vek.ini's list, and the rest of the name. The group letter and "-" start the name, so the
/// folder lands in the group the player chose.
class ImportNameDialog : public QDialog {
    Q_OBJECT
public:
    /// `suggestion` fills the fields: a content folder's name chooses its group too.
    ImportNameDialog(const GroupTable &groups, const QString &archive, const QString &suggestion,
                     QWidget *parent);

    /// The name as chosen: the group's letter, "-", the rest.
    QString name() const;

    /// Shows the dialog; the name, or empty when the player cancelled.
    static QString ask(const GroupTable &groups, const QString &archive, const QString &suggestion,
                       QWidget *parent);

    QComboBox *Group;
    QLineEdit *FolderName;

private:
    QStringList letters_;
};
