// SPDX-License-Identifier: GPL-3.0-or-later
#include "ImportNameDialog.h"

#include "GroupTable.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

ImportNameDialog::ImportNameDialog(const GroupTable &groups, const QString &archive,
                                   const QString &suggestion, QWidget *parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("ImportNameDialog"));
    setWindowTitle(QStringLiteral("Add content"));
    Group = new QComboBox(this);
    Group->setObjectName(QStringLiteral("Group"));
    for (int k = 0; k < GroupTable::MaxGroups && k < groups.descriptions.size(); ++k) {
        const QString letter = groups.GroupLetters[k];
        if (letter.isEmpty() || letters_.contains(letter))
            continue;
        letters_ << letter;
        Group->addItem(QStringLiteral("%1 (%2)").arg(groups.descriptions.at(k).trimmed(), letter));
    }
    // Without vek.ini every letter is a group of its own.
    if (letters_.isEmpty())
        for (char c = 'A'; c <= 'Z'; ++c) {
            letters_ << QString(QLatin1Char(c));
            Group->addItem(letters_.last());
        }
    FolderName = new QLineEdit(this);
    FolderName->setObjectName(QStringLiteral("FolderName"));
    const qsizetype chosen = suggestion.size() > 2 && (suggestion.at(1) == QLatin1Char('-') ||
                                                       suggestion.at(1) == QLatin1Char(' '))
                                 ? letters_.indexOf(suggestion.left(1))
                                 : -1;
    if (chosen >= 0)
        Group->setCurrentIndex(int(chosen));
    FolderName->setText(chosen >= 0 ? suggestion.mid(2) : suggestion);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    const auto fillable = [this, buttons] {
        buttons->button(QDialogButtonBox::Ok)->setEnabled(!FolderName->text().trimmed().isEmpty());
    };
    connect(FolderName, &QLineEdit::textChanged, this, fillable);
    fillable();

    auto *text = new QLabel(QStringLiteral("\"%1\" holds files without a content folder around "
                                           "them. Choose the group and the name of the folder "
                                           "they go into.")
                                .arg(QFileInfo(archive).fileName()),
                            this);
    text->setWordWrap(true);
    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Group:"), Group);
    form->addRow(QStringLiteral("Name:"), FolderName);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

QString ImportNameDialog::name() const {
    const int k = Group->currentIndex();
    return k < 0 ? QString() : letters_.at(k) + QLatin1Char('-') + FolderName->text().trimmed();
}

QString ImportNameDialog::ask(const GroupTable &groups, const QString &archive,
                              const QString &suggestion, QWidget *parent) {
    ImportNameDialog dialog(groups, archive, suggestion, parent);
    return dialog.exec() == QDialog::Accepted ? dialog.name() : QString();
}
