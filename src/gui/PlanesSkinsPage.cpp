#include "PlanesSkinsPage.h"

#include "FlexGrid.h"
#include "PictureBox.h"
#include "Planes.h"
#include "Selector.h"
#include "SlotGridModel.h"
#include "Twips.h"

#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QTableView>
#include <QVBoxLayout>

PlanesSkinsPage::PlanesSkinsPage(Selector &selector, QWidget *parent)
    : QWidget(parent), selector_(selector) {
    setObjectName(QStringLiteral("Planes and Skins"));

    List1 = new QListWidget(this);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setMaximumWidth(160);

    Frame6 = new QGroupBox(QStringLiteral("Alternative Planes:"), this);
    Frame6->setObjectName(QStringLiteral("Frame6"));
    model_ = new SlotGridModel(selector.G1, this);
    G1 = new FlexGrid(QStringLiteral("G1"), Frame6);
    G1->setModel(model_);
    G1->setMouseTracking(true);
    G1->viewport()->installEventFilter(this);
    G1->horizontalHeader()->setMouseTracking(true);
    G1->horizontalHeader()->installEventFilter(this);
    Label4 = new QLabel(Frame6);
    Label4->setObjectName(QStringLiteral("Label4"));
    Label4->setWordWrap(true);
    Label4->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Image2 = new PictureBox(Frame6);
    Image2->setObjectName(QStringLiteral("Image2"));
    auto *frameLayout = new QVBoxLayout(Frame6);
    frameLayout->addWidget(G1, 3);
    frameLayout->addWidget(Label4, 1);
    frameLayout->addWidget(Image2, 1);

    auto *layout = new QHBoxLayout(this);
    layout->addWidget(List1);
    layout->addWidget(Frame6, 1);
    // Takes the room of a hidden frame, so the slot list keeps to the left of the page.
    layout->addStretch(0);

    connect(List1, &QListWidget::itemClicked, this, [this](QListWidgetItem *item) {
        selector_.planes().filter(List1->row(item));
        Q_EMIT changed();
    });
    connect(G1, &FlexGrid::chosen, this, [this](const QModelIndex &index) {
        selector_.planes().click(index.row() + 1);
        Q_EMIT changed();
    });
}

bool PlanesSkinsPage::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::MouseMove) {
        int row = -1;
        if (watched == G1->viewport()) {
            const int modelRow =
                G1->rowAt(static_cast<QMouseEvent *>(event)->position().toPoint().y());
            if (modelRow >= 0)
                row = modelRow + 1;
        } else if (watched == G1->horizontalHeader()) {
            row = 0;
        }
        if (row >= 0) {
            selector_.planes().hover(row);
            QString text = selector_.planes().Label4;
            Label4->setText(text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
        }
    }
    return QWidget::eventFilter(watched, event);
}

void PlanesSkinsPage::refresh() {
    if (List1->count() != selector_.List1.size()) {
        List1->clear();
        List1->addItems(selector_.List1);
    }
    List1->setCurrentRow(selector_.List1Index);
    Frame6->setVisible(selector_.Frame6);
    G1->refill([this] {
        model_->refresh();
        G1->setColumnHidden(0, true);
        G1->setColumnHidden(1, true);
        G1->setColumnHidden(2, true);
        fitColumn(G1, 3, 2000);
        fitColumn(G1, 4, 360);
        const int rowHeight = twipsToPixels(this, 240) + 4;
        for (int r = 0; r < selector_.G1.rows.size(); ++r) {
            const int height = selector_.G1.rows.at(r).height;
            G1->setRowHidden(r, height == 0);
            if (height > 0)
                G1->setRowHeight(r, rowHeight);
        }
    });
    QString text = selector_.planes().Label4;
    Label4->setText(text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    Image2->load(QString());
}
