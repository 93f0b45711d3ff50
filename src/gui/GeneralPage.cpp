#include "GeneralPage.h"

#include "ClickableLabel.h"
#include "PictureBox.h"
#include "Selector.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QVBoxLayout>

GeneralPage::GeneralPage(Selector &selector, QWidget *parent)
    : QWidget(parent), selector_(selector) {
    setObjectName(QStringLiteral("General"));

    Image1 = new PictureBox(this);
    Image1->setObjectName(QStringLiteral("Image1(0)"));

    Label3 = new ClickableLabel(this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setAlignment(Qt::AlignCenter);
    Label3->setCursor(Qt::PointingHandCursor);
    Label3->setWordWrap(true);

    Frame13 = new QGroupBox(QStringLiteral("Disable Keyboard Control"), this);
    Frame13->setObjectName(QStringLiteral("Frame13"));
    Image3 = new PictureBox(Frame13);
    Image3->setObjectName(QStringLiteral("Image3"));
    auto *frameLayout = new QVBoxLayout(Frame13);
    frameLayout->addWidget(Image3);

    auto *grid = new QGridLayout(this);
    grid->addWidget(Image1, 0, 0);
    grid->addWidget(Frame13, 0, 1);
    grid->addWidget(Label3, 1, 0, 1, 2);
    grid->setColumnStretch(0, 3);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(0, 1);
}

void GeneralPage::refresh() {
    QString credits = Selector::credits();
    Label3->setText(credits.replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    Image1->load(selector_.BackgroundPath);
    Image3->load(selector_.NewpicPath);
}
