// SPDX-License-Identifier: GPL-3.0-or-later
#include "SRForm.h"

#include "ByteViewModel.h"
#include "FileOps.h"
#include "FlexGrid.h"
#include "Selector.h"
#include "StringListModel.h"
#include "Text8.h"
#include "Twips.h"
#include "WindowHistory.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QVBoxLayout>

SRForm::SRForm(Selector &selector, QWidget *parent)
    : QWidget(parent), editor_(selector.GameFolder(), selector.prompt()) {
    setObjectName(QStringLiteral("SRForm"));
    setWindowFlag(Qt::Window);
    // Escape closes a side window, as it closes a dialog.
    new QShortcut(QKeySequence(Qt::Key_Escape), this, this, &QWidget::close);
    setWindowTitle(QStringLiteral("EAW Stringfile editing/making utiliy"));

    bytes_ = new ByteViewModel(editor_, this);
    SFG1 = new FlexGrid(QStringLiteral("SFG1"), this);
    SFG1->setAccessibleName(QStringLiteral("Bytes of the string file"));
    SFG1->setModel(bytes_);
    SFG1->horizontalHeader()->hide();
    // Every column has the same width, so the header never measures 100 000 of them.
    SFG1->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    SFG1->setHorizontalScrollMode(QAbstractItemView::ScrollPerItem);
    SFG1->verticalHeader()->setDefaultSectionSize(twipsToPixels(this, 240) + 4);
    SFG1->setFixedHeight(3 * SFG1->verticalHeader()->defaultSectionSize() +
                         SFG1->horizontalScrollBar()->sizeHint().height() + 4);
    SFG1->installEventFilter(this);

    strings_ = new StringListModel(editor_, this);
    SFG2 = new FlexGrid(QStringLiteral("SFG2"), this);
    SFG2->setAccessibleName(QStringLiteral("Strings of the string file"));
    SFG2->setModel(strings_);
    SFG2->horizontalHeader()->hide();
    SFG2->horizontalHeader()->setStretchLastSection(true);
    SFG2->verticalHeader()->setDefaultSectionSize(twipsToPixels(this, 240) + 4);
    SFG2->viewport()->installEventFilter(this);
    SFG2->installEventFilter(this);

    SRText = new QLineEdit(this);
    SRText->setAccessibleName(QStringLiteral("Text of the row"));
    SRText->setObjectName(QStringLiteral("SRText"));
    auto button = [this](const char *name, const QString &caption) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        return b;
    };
    Command1 = button("Command1", QStringLiteral("Load, read and display an existing stringfile"));
    Command9 = button("Command9", QStringLiteral("Replace the text in this row"));
    Command5 =
        button("Command5", QStringLiteral("Make a stringfile from the lines in this table>>"));
    Command3 = button("Command3", QStringLiteral("Save the edited stringfile"));

    auto *side = new QVBoxLayout;
    side->addWidget(Command1);
    side->addSpacing(12);
    side->addWidget(SRText);
    side->addWidget(Command9);
    side->addWidget(Command5);
    side->addSpacing(12);
    side->addWidget(Command3);
    side->addStretch(1);
    auto *lower = new QHBoxLayout;
    lower->addWidget(SFG2, 1);
    lower->addLayout(side);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(SFG1);
    layout->addLayout(lower, 1);
    resize(720, 480);

    auto act = [this](auto &&call) {
        return [this, call] {
            call();
            refresh();
        };
    };
    connect(Command1, &QPushButton::clicked, this, [this] {
        const bool loaded = editor_.Command1();
        refresh();
        // The byte view starts with the first string at its left edge.
        if (loaded)
            SFG1->horizontalScrollBar()->setValue(editor_.LeftCol);
    });
    connect(Command9, &QPushButton::clicked, this, act([this] { editor_.Command9(); }));
    connect(Command5, &QPushButton::clicked, this, act([this] {
                if (editor_.Command5())
                    WindowHistory::nameChange(
                        QStringLiteral("pnames.str made from the lines of the string list."));
            }));
    connect(Command3, &QPushButton::clicked, this, act([this] {
                if (editor_.Command3())
                    WindowHistory::nameChange(
                        QStringLiteral("pnames.str saved as the byte view shows it."));
            }));
    connect(SRText, &QLineEdit::textEdited, this,
            [this](const QString &text) { editor_.setText(text); });
    connect(SFG2->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) { editor_.SFG2Row = current.row(); });
    refresh();
}

bool SRForm::eventFilter(QObject *watched, QEvent *event) {
    if (watched == SFG1 && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        int value = -1;
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
            value = 13;
        else if (key->key() == Qt::Key_Backspace)
            value = 8;
        else if (key->text().size() == 1 && key->text().at(0).isPrint())
            value = static_cast<quint8>(Text8::fromUnicode(key->text()).at(0));
        if (value >= 0 && SFG1->currentIndex().isValid()) {
            const int column = SFG1->currentIndex().column();
            if (editor_.keyPress(column, value))
                WindowHistory::nameChange(
                    QStringLiteral("Byte %1 of pnames.str set to %2.")
                        .arg(column + 1)
                        .arg(value == 13 || value == 8
                                 ? QStringLiteral("0")
                                 : QLatin1Char('"') + key->text() + QLatin1Char('"')));
            refresh();
            return true;
        }
    }
    // The context-menu keys (Menu, Shift+F10) do for the current row what a right click does.
    if (watched == SFG2 && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if ((key->key() == Qt::Key_Menu ||
             (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier)) &&
            SFG2->currentIndex().isValid()) {
            editor_.rightClick(SFG2->currentIndex().row());
            refresh();
            return true;
        }
    }
    if (watched == SFG2->viewport() && event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent *>(event)->button() == Qt::RightButton) {
        const int row = SFG2->rowAt(static_cast<QMouseEvent *>(event)->position().toPoint().y());
        if (row >= 0) {
            SFG2->setCurrentIndex(strings_->index(row, 0));
            editor_.rightClick(row);
            refresh();
        }
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void SRForm::reread() {
    if (editor_.path().isEmpty())
        return;
    QByteArray now;
    QString error;
    if (!FileOps::readAll(editor_.path(), &now, &error) || now != editor_.SFG1) {
        const int row = editor_.SFG2Row;
        const int scrolled = SFG1->horizontalScrollBar()->value();
        // Gone, the editor says so and shows nothing, so nothing stale can be written back.
        if (editor_.Command1()) {
            editor_.SFG2Row = std::min(row, int(editor_.SFG2.size()) - 1);
            refresh();
            SFG1->horizontalScrollBar()->setValue(scrolled);
            return;
        }
    }
    refresh();
}

void SRForm::refresh() {
    SFG1->horizontalHeader()->setDefaultSectionSize(twipsToPixels(this, editor_.ColumnWidth));
    SFG1->refill([this] { bytes_->refresh(); });
    SFG2->refill([this] { strings_->refresh(); });
    if (editor_.SFG2Row >= 0 && SFG2->currentIndex().row() != editor_.SFG2Row)
        SFG2->setCurrentIndex(strings_->index(editor_.SFG2Row, 0));
    const QString text = Text8::toUnicode(editor_.SRText);
    if (SRText->text() != text)
        SRText->setText(text);
}
