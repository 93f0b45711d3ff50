// SPDX-License-Identifier: GPL-3.0-or-later
#include "PlanesSkinsPage.h"

#include "FlexGrid.h"
#include "PictureBox.h"
#include "Planes.h"
#include "Selector.h"
#include "SkinGridModel.h"
#include "Skins.h"
#include "SlotGridModel.h"
#include "Twips.h"

#include <QCheckBox>
#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QVBoxLayout>

PlanesSkinsPage::PlanesSkinsPage(Selector &selector, QWidget *parent)
    : QWidget(parent), selector_(selector) {
    setObjectName(QStringLiteral("Planes and Skins"));

    List1 = new QListWidget(this);
    List1->setAccessibleName(QStringLiteral("Aircraft slots"));
    List1->setObjectName(QStringLiteral("List1"));
    List1->setMaximumWidth(160);

    skinModel_ = new SkinGridModel(selector.SK1, this);
    SK1 = new FlexGrid(QStringLiteral("SK1"), this);
    SK1->setAccessibleName(QStringLiteral("Skins"));
    SK1->setModel(skinModel_);
    SK1->setKeyColumn(0);
    // A click shows a skin; a double-click, Enter or Space loads or unloads it.
    SK1->setClickChooses(false);
    SK1->setMouseTracking(true);
    SK1->viewport()->installEventFilter(this);
    SK1->setMaximumWidth(260);
    Check5 = new QCheckBox(Skins::Check5Caption, this);
    Check5->setObjectName(QStringLiteral("Check5"));
    Check5->setToolTip(Skins::Check5ToolTip);
    auto *skins = new QVBoxLayout;
    skins->addWidget(SK1, 1);
    skins->addWidget(Check5);

    Frame6 = new QGroupBox(QStringLiteral("Alternative Planes:"), this);
    Frame6->setObjectName(QStringLiteral("Frame6"));
    model_ = new SlotGridModel(selector.G1, this);
    G1 = new FlexGrid(QStringLiteral("G1"), Frame6);
    G1->setAccessibleName(QStringLiteral("Alternative Planes"));
    G1->setModel(model_);
    G1->setMouseTracking(true);
    G1->viewport()->installEventFilter(this);
    G1->horizontalHeader()->setMouseTracking(true);
    G1->horizontalHeader()->installEventFilter(this);
    auto *frameLayout = new QVBoxLayout(Frame6);
    frameLayout->addWidget(G1);

    Label4 = new QLabel(this);
    Label4->setObjectName(QStringLiteral("Label4"));
    Label4->setWordWrap(true);
    Label4->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Image2 = new PictureBox(this);
    Image2->setObjectName(QStringLiteral("Image2"));
    auto *side = new QVBoxLayout;
    side->addWidget(Image2, 1);
    side->addWidget(Label4, 1);

    // The slot list, then what it filters: the alternatives of that slot, then the skins; the
    // frame and the description share the room. The Tab key goes the same way, so a player
    // who picks a slot reaches its aircraft next, not a skin.
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(List1);
    layout->addWidget(Frame6, 2);
    layout->addLayout(skins);
    layout->addLayout(side, 1);
    setTabOrder(List1, G1);
    setTabOrder(G1, SK1);
    setTabOrder(SK1, Check5);

    // The slot filter follows the highlighted slot, whether clicked or reached by the keys.
    connect(List1, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row < 0)
            return;
        selector_.planes().filter(row);
        Q_EMIT changed();
    });
    connect(G1, &FlexGrid::chosen, this, [this](const QModelIndex &index) {
        selector_.planes().click(index.row() + 1);
        showDescription(selector_.planes().Label4, QString());
        Q_EMIT changed();
    });
    // A click on a skin, or a move of the current row by the keys, shows that skin.
    const auto show = [this](const QModelIndex &index) {
        if (!index.isValid())
            return;
        selector_.skins().click(index.row() + 1);
        showDescription(selector_.skins().Label4, selector_.skins().Image2);
    };
    connect(SK1->selectionModel(), &QItemSelectionModel::currentChanged, this, show);
    connect(SK1, &QTableView::clicked, this, show);
    const auto activate = [this](const QModelIndex &index) {
        selector_.skins().activate(index.row() + 1);
        Q_EMIT changed();
    };
    connect(SK1, &FlexGrid::chosen, this, activate);
    connect(SK1, &QTableView::doubleClicked, this, activate);
    connect(Check5, &QCheckBox::clicked, this,
            [this](bool on) { selector_.skins().includeFlt(on); });
}

bool PlanesSkinsPage::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() != QEvent::MouseMove)
        return QWidget::eventFilter(watched, event);
    const int y = static_cast<QMouseEvent *>(event)->position().toPoint().y();
    if (watched == SK1->viewport()) {
        const int modelRow = SK1->rowAt(y);
        if (modelRow >= 0) {
            selector_.skins().hover(modelRow + 1);
            showDescription(selector_.skins().Label4, selector_.skins().Image2);
        }
    } else if (watched == G1->viewport() || watched == G1->horizontalHeader()) {
        const int modelRow = watched == G1->viewport() ? G1->rowAt(y) : -1;
        if (watched == G1->horizontalHeader() || modelRow >= 0) {
            selector_.planes().hover(modelRow + 1);
            showDescription(selector_.planes().Label4, QString());
        }
    }
    return QWidget::eventFilter(watched, event);
}

void PlanesSkinsPage::showDescription(const QString &text, const QString &picture) {
    QString shown = text;
    Label4->setText(shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    if (Image2->path() != picture)
        Image2->load(picture);
}

void PlanesSkinsPage::refresh(Changes what) {
    if (!(what & (Change::Slots | Change::Skins)))
        return;
    // Showing the engine's state is no choice of the player's.
    const QSignalBlocker blockList(List1);
    if (List1->count() != selector_.List1.size()) {
        List1->clear();
        List1->addItems(selector_.List1);
    }
    List1->setCurrentRow(selector_.List1Index);
    Check5->setChecked(selector_.Check5);
    const int rowHeight = twipsToPixels(this, 240) + 4;
    const auto showAllRows = [](FlexGrid *grid) {
        for (int r = 0; r < grid->model()->rowCount(); ++r)
            grid->setRowHidden(r, false);
    };
    const auto layOutRows = [rowHeight](FlexGrid *grid, const auto &rows) {
        for (int r = 0; r < rows.size(); ++r) {
            const int height = rows.at(r).height;
            grid->setRowHidden(r, height == 0);
            if (height > 0)
                grid->setRowHeight(r, rowHeight);
        }
    };
    if (what.testFlag(Change::Skins))
        SK1->refill([&] {
            skinModel_->refresh();
            // The widths are measured on all rows, hidden by a filter or not: a filter then
            // never leaves a column too narrow for the rows shown after it, and a column keeps
            // its width (and the player's place) whichever rows are shown.
            showAllRows(SK1);
            fitColumn(SK1, 0, 2400);
            fitColumn(SK1, 1, 360);
            layOutRows(SK1, selector_.SK1.rows);
        });
    if (!what.testFlag(Change::Slots))
        return;
    Frame6->setVisible(selector_.Frame6);
    G1->refill([&] {
        model_->refresh();
        G1->setColumnHidden(0, true);
        G1->setColumnHidden(1, true);
        G1->setColumnHidden(2, true);
        showAllRows(G1);
        fitColumn(G1, 3, 2000);
        fitColumn(G1, 4, 360);
        layOutRows(G1, selector_.G1.rows);
    });
}
