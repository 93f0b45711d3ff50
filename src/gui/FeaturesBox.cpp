// SPDX-License-Identifier: GPL-3.0-or-later
#include "FeaturesBox.h"

#include "FeatureGridModel.h"
#include "FlexGrid.h"
#include "KeyboardFeatures.h"
#include "Options.h"
#include "PictureBox.h"
#include "Selector.h"
#include "Twips.h"
#include "WindowHistory.h"

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {
QLabel *valueLabel(QWidget *parent, const char *name) {
    auto *l = new QLabel(parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setFrameShape(QFrame::Panel);
    l->setFrameShadow(QFrame::Sunken);
    l->setMinimumWidth(40);
    return l;
}
} // namespace

FeaturesBox::FeaturesBox(Selector &selector, QWidget *parent)
    : QGroupBox(QStringLiteral("Disable Keyboard Control"), parent), selector_(selector) {
    setObjectName(QStringLiteral("Frame13"));
    setMouseTracking(true);
    installEventFilter(this);

    model_ = new FeatureGridModel(selector.features().G7, this);
    G7 = new FlexGrid(QStringLiteral("G7"), this);
    G7->setAccessibleName(QStringLiteral("Features which can be disabled"));
    G7->setModel(model_);
    // The grid's cells have no colours of their own: the current row shows as selected.
    G7->setSelectionBehavior(QAbstractItemView::SelectRows);
    G7->setSelectionMode(QAbstractItemView::SingleSelection);
    G7->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    G7->setWordWrap(false);
    G7->viewport()->installEventFilter(this);
    G7->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft);
    G7->setMinimumHeight(120);

    auto *describe =
        new QLabel(QStringLiteral("The description of the feature which can be disabled:"), this);
    Label18 = valueLabel(this, "Label18");
    Label18->setWordWrap(true);
    Label18->setMinimumHeight(36);
    Label18->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    auto *buttons = new QGridLayout;
    buttons->setSpacing(2);
    for (int i = 0; i < 30; ++i) {
        Option13[i] = new QRadioButton(KeyboardFeatures::optionCaption(i), this);
        Option13[i]->setObjectName(QStringLiteral("Option13(%1)").arg(i));
        Option13[i]->installEventFilter(this);
        buttons->addWidget(Option13[i], i / 6, i % 6);
        connect(Option13[i], &QRadioButton::clicked, this, [this, i] {
            if (selector_.features().clickOption13(i))
                nameFeature();
            Q_EMIT changed();
        });
    }
    Notice = new QLabel(this);
    Notice->setObjectName(QStringLiteral("Notice"));
    Notice->setWordWrap(true);

    Label21 = valueLabel(this, "Label21");
    Label14 = valueLabel(this, "Label14");
    HUDLab = valueLabel(this, "HUDLab");
    auto *values = new QGridLayout;
    values->addWidget(new QLabel(QStringLiteral("Current Selection"), this), 0, 0);
    values->addWidget(Label21, 0, 1);
    values->addWidget(new QLabel(QStringLiteral("Selection Number"), this), 0, 2);
    values->addWidget(Label14, 0, 3);
    values->addWidget(new QLabel(QStringLiteral("Fixed HUD colour value"), this), 1, 0);
    values->addWidget(HUDLab, 1, 1);

    Command15 = new QPushButton(QStringLiteral("OK! Set this one"), this);
    Command15->setObjectName(QStringLiteral("Command15"));
    values->addWidget(Command15, 1, 2, 1, 2);

    Check4 = new QCheckBox(QStringLiteral("Activate the cheatcheck"), this);
    Check4->setObjectName(QStringLiteral("Check4"));
    Check4->setToolTip(QStringLiteral("If this box is checked then all players in an online "
                                      "game must have the same settings or the game will not "
                                      "launch."));
    // Enabled: it only reads the cheat byte of flt.cdf into the caption, which lets the
    // player see what the other players' game will check.
    Command12 = new QPushButton(QStringLiteral("V1cheksum"), this);
    Command12->setObjectName(QStringLiteral("Command12"));
    Command12->setToolTip(QStringLiteral("Shows the cheat byte of flt.cdf in the window caption."));
    auto *cheat = new QHBoxLayout;
    cheat->addWidget(Check4);
    cheat->addStretch(1);
    cheat->addWidget(Command12);

    Frame1 = new QGroupBox(QStringLiteral("Display info"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);
    DispLab = valueLabel(Frame1, "DispLab");
    auto *displayLayout = new QHBoxLayout(Frame1);
    displayLayout->addWidget(new QLabel(QStringLiteral("DisplayInfoSetting="), Frame1));
    displayLayout->addWidget(DispLab, 1);

    Image3 = new PictureBox(this);
    Image3->setObjectName(QStringLiteral("Image3"));
    Image3->setMinimumHeight(60);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(G7, 2);
    layout->addWidget(describe);
    layout->addWidget(Label18);
    layout->addLayout(buttons);
    layout->addWidget(Notice);
    layout->addLayout(values);
    layout->addLayout(cheat);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(Frame1, 1, Qt::AlignTop);
    bottom->addWidget(Image3, 1);
    layout->addLayout(bottom, 1);

    connect(G7, &FlexGrid::chosen, this, [this](const QModelIndex &index) {
        selector_.features().clickG7(index.row() + 1);
        Q_EMIT changed();
    });
    connect(Command15, &QPushButton::clicked, this, [this] {
        if (selector_.features().Command15())
            nameFeature();
        Q_EMIT changed();
    });
    connect(Check4, &QCheckBox::clicked, this, [this](bool on) {
        selector_.options().setCheatCheck(on);
        Q_EMIT changed();
    });
    connect(Command12, &QPushButton::clicked, this, [this] { selector_.options().V1cheksum(); });
}

void FeaturesBox::nameFeature() {
    const KeyboardFeatures &kc = selector_.features();
    if (kc.G7Row < 1)
        return;
    WindowHistory::nameChange(
        QStringLiteral("Keyboard feature \"%1\" disabled (%2).")
            .arg(kc.G7.cell(kc.G7Row, 0).trimmed(), KeyboardFeatures::optionCaption(kc.G7Row - 1)));
}

bool FeaturesBox::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::Enter) {
        for (int i = 0; i < 30; ++i) {
            if (watched == Option13[i]) {
                selector_.features().hoverOption13(i);
                Label18->setText(selector_.features().Label18);
            }
        }
    } else if (event->type() == QEvent::Resize && watched == G7->viewport()) {
        // Column 0 is as wide as the grid; the codes lie to its right.
        G7->setColumnWidth(0, G7->viewport()->width());
    } else if (event->type() == QEvent::MouseMove && watched == this) {
        // A move over one of the frame's buttons reaches the frame too (the buttons do not
        // track the pointer): only the frame's own surface clears the hint.
        if (!childAt(static_cast<QMouseEvent *>(event)->position().toPoint())) {
            selector_.features().hoverFrame();
            Label18->setText(selector_.features().Label18);
        }
    }
    return QGroupBox::eventFilter(watched, event);
}

void FeaturesBox::refresh() {
    const KeyboardFeatures &kc = selector_.features();
    G7->refill([&] {
        model_->refresh();
        for (int col = 1; col < model_->columnCount(); ++col)
            G7->setColumnWidth(col, twipsToPixels(G7, 720));
        G7->setColumnWidth(0, G7->viewport()->width());
    });
    if (kc.G7Row >= 1 && G7->currentIndex().row() != kc.G7Row - 1)
        G7->setCurrentIndex(model_->index(kc.G7Row - 1, 0));

    for (int i = 0; i < 30; ++i) {
        Option13[i]->setVisible(kc.optionShown(i));
        Option13[i]->setEnabled(kc.optionShown(i));
        // An exclusive button keeps its mark against setChecked(false): with none in force
        // (after a going back) the marks go only while the buttons are not exclusive.
        Option13[i]->setAutoExclusive(false);
        Option13[i]->setChecked(kc.optionShown(i) && selector_.FeatureNumber == i + 1);
        Option13[i]->setAutoExclusive(true);
    }
    Notice->setText(kc.Notice);
    Notice->setVisible(!kc.Notice.isEmpty());
    Label18->setText(kc.Label18);
    Label21->setText(selector_.ini.Label21);
    Label14->setText(kc.Label14);
    HUDLab->setText(selector_.ini.HUDLab);
    DispLab->setText(selector_.ini.DispLab);
    Check4->setChecked(selector_.Check4);
    if (Image3->path() != selector_.NewpicPath || !Image3->hasPicture())
        Image3->load(selector_.NewpicPath);
}
