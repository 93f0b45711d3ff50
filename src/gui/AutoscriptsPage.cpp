// SPDX-License-Identifier: GPL-3.0-or-later
#include "AutoscriptsPage.h"

#include "Autoscripts.h"
#include "ClickableLabel.h"
#include "CompleteReset.h"
#include "LoadedList.h"
#include "Questions.h"
#include "Selector.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QString shownText(QString text) {
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}
} // namespace

AutoscriptsPage::AutoscriptsPage(Selector &selector, QWidget *parent)
    : QWidget(parent), selector_(selector) {
    setObjectName(QStringLiteral("Autoscripts"));

    Frame3 = new QGroupBox(Autoscripts::Frame3, this);
    Frame3->setObjectName(QStringLiteral("Frame3"));
    File10 = new QListWidget(Frame3);
    File10->setAccessibleName(QStringLiteral("Autoscripts"));
    File10->setObjectName(QStringLiteral("File10"));
    Label13 = new QLabel(Autoscripts::Label13, Frame3);
    Label13->setObjectName(QStringLiteral("Label13"));
    List2 = new QListWidget(Frame3);
    List2->setAccessibleName(QStringLiteral("Contents of selected Autoscript"));
    List2->setObjectName(QStringLiteral("List2"));
    Command6 = new QPushButton(Autoscripts::Command6Caption, Frame3);
    Command6->setObjectName(QStringLiteral("Command6"));
    auto *runLayout = new QVBoxLayout(Frame3);
    runLayout->addWidget(File10, 1);
    runLayout->addWidget(Label13);
    runLayout->addWidget(List2, 1);
    runLayout->addWidget(Command6);

    Frame8 = new QGroupBox(Autoscripts::Frame8, this);
    Frame8->setObjectName(QStringLiteral("Frame8"));
    Text1 = new QLineEdit(Frame8);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setPlaceholderText(Autoscripts::Text1Hint);
    Label5 = new ClickableLabel(Autoscripts::Label5, Frame8);
    Label5->setObjectName(QStringLiteral("Label5"));
    Label5->setWordWrap(true);
    Text2 = new QPlainTextEdit(Frame8);
    Text2->setObjectName(QStringLiteral("Text2"));
    // Tab goes on to "Save current settings": a tab has no place in a list of names.
    Text2->setTabChangesFocus(true);
    Command7 = new QPushButton(Autoscripts::Command7Caption, Frame8);
    Command7->setObjectName(QStringLiteral("Command7"));
    auto *saveLayout = new QVBoxLayout(Frame8);
    saveLayout->addWidget(Text1);
    saveLayout->addWidget(Label5);
    saveLayout->addWidget(Text2, 1);
    saveLayout->addWidget(Command7);

    Command11 = new QPushButton(CompleteReset::Caption, this);
    Command11->setObjectName(QStringLiteral("Command11"));

    auto *layout = new QGridLayout(this);
    layout->addWidget(Frame3, 0, 0);
    layout->addWidget(Frame8, 0, 1);
    layout->addWidget(Command11, 1, 1, Qt::AlignRight);
    layout->setColumnStretch(0, 1);
    layout->setColumnStretch(1, 1);

    connect(Label5, &ClickableLabel::clicked, Label5, &QWidget::hide);
    // The highlighted script is the one shown and the one run, reached by the pointer or by
    // the keys alike.
    connect(File10, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row < 0)
            return;
        selector_.autoscripts().show(row);
        Q_EMIT changed();
    });
    connect(Command6, &QPushButton::clicked, this, [this] {
        selector_.autoscripts().run();
        Q_EMIT changed();
    });
    // The texts are the player's to edit; the engine keeps what is typed.
    connect(Text1, &QLineEdit::textEdited, this,
            [this](const QString &text) { selector_.autoscripts().Text1 = text; });
    connect(Text2, &QPlainTextEdit::textChanged, this, [this] {
        QString text = Text2->toPlainText();
        text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
        selector_.loadedList().editScriptText(text);
    });
    connect(Command7, &QPushButton::clicked, this, [this] {
        const QString replaced = selector_.autoscripts().replaces();
        if (!replaced.isEmpty() && !Questions::replaceAutoscript(selector_.prompt(), replaced))
            return;
        selector_.autoscripts().save();
        Q_EMIT changed();
    });
    connect(Command11, &QPushButton::clicked, this, [this] {
        if (!Questions::reset(selector_.prompt()))
            return;
        selector_.autoscripts().Command11();
        Q_EMIT changed();
    });
}

void AutoscriptsPage::refresh() {
    // Showing the engine's state is no choice of the player's.
    const QSignalBlocker blockList(File10);
    if (File10->count() != selector_.File10.size() || [this] {
            for (int i = 0; i < File10->count(); ++i)
                if (File10->item(i)->text() != selector_.File10.at(i))
                    return true;
            return false;
        }()) {
        File10->clear();
        File10->addItems(selector_.File10);
    }
    File10->setCurrentRow(selector_.autoscripts().File10Index);
    List2->clear();
    List2->addItems(selector_.autoscripts().List2);
    if (Text1->text() != selector_.autoscripts().Text1)
        Text1->setText(selector_.autoscripts().Text1);
    // Rewriting the box would put the player's cursor back at the start; only a change
    // from the engine (a load, a reset) is shown.
    const QString text = shownText(selector_.Text2);
    if (Text2->toPlainText() != text) {
        const QSignalBlocker block(Text2);
        Text2->setPlainText(text);
    }
}
