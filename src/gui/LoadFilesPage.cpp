// SPDX-License-Identifier: GPL-3.0-or-later
#include "LoadFilesPage.h"

#include "ContentImport.h"
#include "FlexGrid.h"
#include "ImportArchive.h"
#include "ImportNameDialog.h"
#include "LoadFiles.h"
#include "LoadGrid.h"
#include "LoadGridModel.h"
#include "LoadedFiles.h"
#include "PictureBox.h"
#include "Selector.h"
#include "Twips.h"

#include <QEvent>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableView>
#include <QVBoxLayout>

LoadFilesPage::LoadFilesPage(Selector &selector, QWidget *parent)
    : QWidget(parent), selector_(selector) {
    setObjectName(QStringLiteral("Load Files"));

    List3 = new QListWidget(this);
    List3->setAccessibleName(QStringLiteral("Groups"));
    List3->setObjectName(QStringLiteral("List3"));
    List3->setMaximumWidth(220);
    // The pointer moves over the list's viewport, not over the list itself.
    List3->viewport()->setMouseTracking(true);
    List3->viewport()->installEventFilter(this);

    LoadFrame = new QGroupBox(this);
    LoadFrame->setObjectName(QStringLiteral("LoadFrame"));
    LoadFrame->setMouseTracking(true);
    LoadFrame->installEventFilter(this);

    instruction = new QLabel(LoadGrid::Instruction, LoadFrame);
    model_ = new LoadGridModel(selector.Unigrid, this);
    Unigrid = new FlexGrid(QStringLiteral("Unigrid"), LoadFrame);
    Unigrid->setAccessibleName(QStringLiteral("Content folders"));
    Unigrid->setModel(model_);
    Unigrid->setKeyColumn(1);
    Unigrid->setMouseTracking(true);
    Unigrid->viewport()->installEventFilter(this);
    Unigrid->horizontalHeader()->setMouseTracking(true);
    Unigrid->horizontalHeader()->installEventFilter(this);

    MyLabel = new QLabel(this);
    MyLabel->setObjectName(QStringLiteral("MyLabel"));
    MyLabel->setWordWrap(true);
    MyLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    ClickPreview = new QLabel(this);
    ClickPreview->setObjectName(QStringLiteral("ClickPreview"));
    ClickPreview->setWordWrap(true);
    ClickPreview->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    ClickPreview->setFrameShape(QFrame::StyledPanel);
    ClickPreview->setMargin(4);
    ClickPreview->hide();
    MyImage = new PictureBox(this);
    MyImage->setObjectName(QStringLiteral("MyImage"));

    AddContent = new QPushButton(QStringLiteral("Add content..."), this);
    AddContent->setObjectName(QStringLiteral("AddContent"));
    AddContent->setToolTip(QStringLiteral("Puts the content folders of a downloaded archive "
                                          "or folder into the VEK folder. Archives and folders "
                                          "dropped on the window come in the same way."));
    askName = [this](const QString &archive, const QString &suggestion) {
        return ImportNameDialog::ask(selector_.groups, archive, suggestion, this);
    };
    // A download comes as an archive or, unpacked already, as a folder: no one dialog of the
    // system picks either, so the button offers both.
    auto *kinds = new QMenu(AddContent);
    kinds->addAction(QStringLiteral("An archive..."), this, [this] {
        const QString archive =
            QFileDialog::getOpenFileName(this, QStringLiteral("Add content"), QString(),
                                         QStringLiteral("Archives (%1);;All files (*)")
                                             .arg(ImportArchive::Patterns.join(QLatin1Char(' '))));
        if (!archive.isEmpty())
            addContent(archive);
    });
    kinds->addAction(QStringLiteral("A folder..."), this, [this] {
        const QString folder =
            QFileDialog::getExistingDirectory(this, QStringLiteral("Add content"), QString());
        if (!folder.isEmpty())
            addContent(folder);
    });
    AddContent->setMenu(kinds);

    // The grid is what the page is for: one Tab from the page's tab reaches it.
    setTabOrder(Unigrid, List3);

    auto *frameLayout = new QVBoxLayout(LoadFrame);
    frameLayout->addWidget(instruction);
    // The grid is as tall as its rows (26 at the most) and shrinks with a small window;
    // what it does not use stays empty below it.
    frameLayout->addWidget(Unigrid, 100);
    frameLayout->addStretch(1);

    auto *side = new QVBoxLayout;
    side->addWidget(MyImage, 1);
    side->addWidget(ClickPreview);
    side->addWidget(MyLabel, 1);

    auto *left = new QVBoxLayout;
    left->addWidget(List3, 1);
    left->addWidget(AddContent);

    auto *layout = new QHBoxLayout(this);
    layout->addLayout(left);
    layout->addWidget(LoadFrame, 2);
    layout->addLayout(side, 1);

    // The group filter follows the highlighted group, whether clicked or reached by the keys.
    connect(List3, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row < 0)
            return;
        selector_.loadFiles().filter(row);
        Q_EMIT changed();
    });
    connect(Unigrid, &FlexGrid::chosen, this, [this](const QModelIndex &index) {
        selector_.loadFiles().click(index.row() + 1);
        Q_EMIT changed();
    });
    // The description and picture follow the keys' current row as they follow the pointer.
    connect(Unigrid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) {
                if (!current.isValid() || !Unigrid->hasFocus())
                    return;
                selector_.loadFiles().hover(current.row() + 1);
                showDescription();
            });
}

bool LoadFilesPage::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::MouseMove) {
        if (watched == Unigrid->viewport()) {
            const auto *e = static_cast<QMouseEvent *>(event);
            const int modelRow = Unigrid->rowAt(e->position().toPoint().y());
            if (modelRow >= 0) {
                selector_.loadFiles().hover(modelRow + 1);
                showDescription();
            }
        } else if (watched == Unigrid->horizontalHeader()) {
            selector_.loadFiles().hover(0);
            showDescription();
        } else if (watched == List3->viewport() || watched == LoadFrame) {
            selector_.loadFiles().clearDescription();
            previewRow_ = selector_.loadFiles().LastHoverRow; // hidden with the description
            ClickPreview->hide();
            showDescription();
        }
    }
    return QWidget::eventFilter(watched, event);
}

void LoadFilesPage::showDescription(bool again) {
    const int row = selector_.loadFiles().LastHoverRow;
    if (again || row != previewRow_) {
        previewRow_ = row;
        const QString preview = row > 0 ? selector_.loadedFiles().clickPreview(row) : QString();
        ClickPreview->setText(preview);
        ClickPreview->setVisible(!preview.isEmpty());
    }
    QString text = selector_.loadFiles().MyLabel;
    MyLabel->setText(text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    if (MyImage->path() != selector_.loadFiles().MyImage)
        MyImage->load(selector_.loadFiles().MyImage);
}

void LoadFilesPage::layOutGrid() {
    const LoadGrid &grid = selector_.Unigrid;
    const int rowHeight = twipsToPixels(this, LoadGrid::ShownHeight);
    Unigrid->setColumnHidden(0, true);
    fitColumn(Unigrid, 1, LoadGrid::HeaderColumnWidth);
    // Every row shown is as tall as the others: one default height, not a height set row by
    // row, which costs the header a pass over all the rows each time (10,000 rows: 55 ms).
    Unigrid->verticalHeader()->setDefaultSectionSize(rowHeight);
    for (int r = 1; r < grid.rowCount(); ++r)
        Unigrid->setRowHidden(r - 1, grid.row(r).height == 0);
    Unigrid->horizontalHeader()->setFixedHeight(rowHeight + 4);
    // As tall as the header and the first 25 rows shown, plus the classic 72 twips, measured
    // on the rows as they are drawn: the desktop font may make them taller than 240 twips.
    int height = Unigrid->horizontalHeader()->height();
    for (int r = 1, shown = 1; r < grid.rowCount() && shown < 26; ++r)
        if (!Unigrid->isRowHidden(r - 1)) {
            height += Unigrid->rowHeight(r - 1);
            ++shown;
        }
    Unigrid->setMaximumHeight(height + twipsToPixels(this, 72) + 2 * Unigrid->frameWidth());
}

void LoadFilesPage::refresh(Changes what) {
    if (!what.testFlag(Change::LoadGrid)) {
        showDescription(true);
        return;
    }
    // Showing the engine's state is no choice of the player's.
    const QSignalBlocker blockList(List3);
    if (List3->count() != selector_.List3.size()) {
        List3->clear();
        List3->addItems(selector_.List3);
    }
    List3->setCurrentRow(selector_.List3Index);
    Unigrid->refill([this] {
        model_->refresh();
        layOutGrid();
    });
    showDescription(true);
}

bool LoadFilesPage::addContent(const QString &archive) {
    ImportArchive::Outcome outcome = selector_.contentImport().run(archive);
    if (outcome.result == ImportArchive::Result::NeedsName) {
        const QString name = askName(archive, outcome.suggestion);
        if (!name.isEmpty())
            outcome = selector_.contentImport().run(archive, name);
    }
    Q_EMIT changed();
    return outcome.result == ImportArchive::Result::Imported;
}
