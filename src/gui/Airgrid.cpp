// SPDX-License-Identifier: GPL-3.0-or-later
#include "Airgrid.h"

#include "FlexGrid.h"
#include "PlanesDat.h"
#include "RecordGridModel.h"
#include "Selector.h"
#include "Twips.h"
#include "WindowHistory.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QListWidget>
#include <QShortcut>
#include <QVBoxLayout>

namespace {
QGroupBox *flagFrame(QWidget *parent, const char *name, const char *boxes,
                     const QStringList &captions, QCheckBox *(&checks)[8]) {
    auto *frame = new QGroupBox(parent);
    frame->setObjectName(QString::fromLatin1(name));
    auto *layout = new QVBoxLayout(frame);
    for (int i = 0; i < 8; ++i) {
        checks[i] = new QCheckBox(captions.at(i), frame);
        checks[i]->setObjectName(QStringLiteral("%1(%2)").arg(QLatin1String(boxes)).arg(i));
        layout->addWidget(checks[i]);
    }
    layout->addStretch(1);
    return frame;
}
} // namespace

Airgrid::Airgrid(Selector &selector, QWidget *parent)
    : QWidget(parent), editor_(selector.GameFolder(), selector.prompt()) {
    setObjectName(QStringLiteral("Airgrid"));
    setWindowFlag(Qt::Window);
    // Escape closes a side window, as it closes a dialog.
    new QShortcut(QKeySequence(Qt::Key_Escape), this, this, &QWidget::close);
    setWindowTitle(QStringLiteral("Online Planes.dat binary editor"));

    List1 = new QListWidget(this);
    List1->setAccessibleName(QStringLiteral("Aircraft"));
    List1->setObjectName(QStringLiteral("List1"));
    List1->addItems(RecordEditor::AircraftNames);
    List1->setMaximumWidth(140);

    model_ = new RecordGridModel(editor_, this);
    G1 = new FlexGrid(QStringLiteral("G1"), this);
    G1->setAccessibleName(QStringLiteral("Bytes of the aircraft's record in planes.dat"));
    G1->setModel(model_);
    G1->verticalHeader()->setDefaultSectionSize(twipsToPixels(this, 240) + 4);
    // The classic widths, or wider where the desktop font needs room for a position of
    // five digits or a value of three.
    const int widths[] = {390, 320, 320, 1200, 320};
    const char *samples[] = {"00000", "000", "000", "", "000"};
    for (int c = 0; c < 5; ++c)
        G1->setColumnWidth(
            c, std::max(twipsToPixels(this, widths[c]),
                        fontMetrics().horizontalAdvance(QLatin1String(samples[c])) + 12));

    F1 = flagFrame(this, "F1", "Check1", PlanesDat::TypeFlagCaptions, Check1);
    F2 = flagFrame(this, "F2", "Check2", PlanesDat::NationGearFlagCaptions, Check2);

    auto *frames = new QVBoxLayout;
    frames->addWidget(F1);
    frames->addWidget(F2);
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(List1);
    layout->addWidget(G1, 1);
    layout->addLayout(frames);
    resize(640, 520);

    // The list takes a current row of its own when it gets the focus, without a selection:
    // only the player's choice (a click or an arrow key, which select) shows a record.
    connect(List1, &QListWidget::itemSelectionChanged, this, [this] {
        const QList<QListWidgetItem *> chosen = List1->selectedItems();
        if (chosen.isEmpty())
            return;
        editor_.showSlot(List1->row(chosen.first()));
        refresh();
    });
    for (int group = 1; group <= 2; ++group)
        for (int i = 0; i < 8; ++i)
            connect(group == 1 ? Check1[i] : Check2[i], &QCheckBox::clicked, this,
                    [this, group, i](bool ticked) {
                        if (editor_.clickCheck(group, i, ticked))
                            WindowHistory::nameChange(
                                QStringLiteral("Option \"%1\" turned %2 in the record of %3 in "
                                               "planes.dat.")
                                    .arg((group == 1 ? Check1[i] : Check2[i])->text(),
                                         ticked ? QStringLiteral("on") : QStringLiteral("off"),
                                         RecordEditor::AircraftNames.value(editor_.List1Index)));
                        refresh();
                    });
    refresh();
}

void Airgrid::reread() {
    if (editor_.Loaded)
        editor_.showSlot(editor_.List1Index);
    refresh();
}

void Airgrid::refresh() {
    G1->refill([this] { model_->refresh(); });
    for (int i = 0; i < 8; ++i) {
        Check1[i]->setChecked(editor_.Check1[i]);
        Check2[i]->setChecked(editor_.Check2[i]);
        // A box that cannot write says so by being disabled.
        Check1[i]->setEnabled(editor_.Loaded && !editor_.ReadOnly);
        Check2[i]->setEnabled(editor_.Loaded && !editor_.ReadOnly);
    }
    setCaption(F1, editor_.F1);
    setCaption(F2, editor_.F2);
}
