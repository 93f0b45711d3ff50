// SPDX-License-Identifier: GPL-3.0-or-later
#include "GeneralPage.h"

#include "ClickableLabel.h"
#include "CompleteReset.h"
#include "Contrast.h"
#include "FeaturesBox.h"
#include "IniOptions.h"
#include "MusicBox.h"
#include "Niteform.h"
#include "Options.h"
#include "PictureBox.h"
#include "Questions.h"
#include "Selector.h"
#include "WindowCommands.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {
QPushButton *button(QWidget *parent, const char *name, const QString &caption, QColor colour) {
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    QPalette p = b->palette();
    p.setColor(QPalette::Button, colour);
    b->setPalette(p);
    // A border of its own makes the style draw the colour itself, flat, instead of a paler
    // gradient over it; the text is black or white, whichever reads on that colour.
    b->setStyleSheet(
        QStringLiteral("QPushButton { background-color: %1; color: %2; "
                       "border: 1px solid %3; border-radius: 3px; padding: 2px 8px; }"
                       "QPushButton:pressed { background-color: %3; }"
                       "QPushButton:focus { border: 2px solid palette(highlight); }")
            .arg(colour.name(), Contrast::textOn(colour).name(), colour.darker(140).name()));
    b->setMinimumHeight(32);
    return b;
}

template <int N>
QButtonGroup *optionArray(QWidget *parent, QRadioButton *(&buttons)[N], const char *name,
                          const QStringList &captions, QLayout *layout) {
    auto *group = new QButtonGroup(parent);
    for (int i = 0; i < N; ++i) {
        buttons[i] = new QRadioButton(captions.at(i), parent);
        buttons[i]->setObjectName(QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(i));
        group->addButton(buttons[i], i);
        layout->addWidget(buttons[i]);
    }
    return group;
}

void setExclusiveChoice(QButtonGroup *group, int index) {
    // An option array may show no choice at all; Qt's exclusive group would refuse that.
    group->setExclusive(false);
    for (QAbstractButton *b : group->buttons())
        b->setChecked(group->id(b) == index);
    group->setExclusive(true);
}

} // namespace

GeneralPage::GeneralPage(Selector &selector, QWidget *parent)
    : QWidget(parent), selector_(selector) {
    setObjectName(QStringLiteral("General"));

    auto *resolutionFrame = new QGroupBox(QStringLiteral("Screen resolution:"), this);
    auto *resolutionLayout = new QVBoxLayout(resolutionFrame);
    QButtonGroup *resolution = optionArray(resolutionFrame, Option2, "Option2",
                                           IniOptions::ResolutionCaptions, resolutionLayout);

    auto *squadsFrame = new QGroupBox(QStringLiteral("Extra Squads"), this);
    auto *squadsLayout = new QHBoxLayout(squadsFrame);
    QButtonGroup *squads =
        optionArray(squadsFrame, Option4, "Option4", {"0", "1", "2", "3", "4", "5"}, squadsLayout);

    auto *onlineFrame = new QGroupBox(QStringLiteral("Online"), this);
    auto *onlineLayout = new QVBoxLayout(onlineFrame);
    Check1 = new QCheckBox(QStringLiteral("Start on ground"), onlineFrame);
    Check2 = new QCheckBox(QStringLiteral("No AIs"), onlineFrame);
    Check3 = new QCheckBox(QStringLiteral("Allow Respawn"), onlineFrame);
    const QList<QCheckBox *> checks = {Check1, Check2, Check3};
    for (int i = 0; i < 3; ++i) {
        checks[i]->setObjectName(QStringLiteral("Check%1").arg(i + 1));
        onlineLayout->addWidget(checks[i]);
        connect(checks[i], &QCheckBox::clicked, this, [this, i](bool on) {
            selector_.options().clickOnline(i + 1, on);
            Q_EMIT changed();
        });
    }
    QButtonGroup *sync =
        optionArray(onlineFrame, Option8, "Option8",
                    {"Eaw.ini Sync Rate", "56K Modem Sync", "Cable ISDN Sync"}, onlineLayout);
    Command2 = new QPushButton(QStringLiteral("Restore my original eaw.ini"), onlineFrame);
    Command2->setObjectName(QStringLiteral("Command2"));
    Command2->setToolTip(QStringLiteral(
        "Clicking this button with replace the eaw.ini file with a copy of your original."));
    onlineLayout->addWidget(Command2);

    Command5 = button(this, "Command5", QStringLiteral("Launch EAW"), QColor(128, 128, 255));
    Command8 = button(this, "Command8", QStringLiteral("Minimise"), QColor(224, 224, 224));
    Command3 = button(this, "Command3", QStringLiteral("Exit"), QColor(255, 192, 192));
    Command9 = button(this, "Command9", QStringLiteral("New VEK Directory"), QColor(192, 192, 255));
    Command1 = new QPushButton(CompleteReset::Caption, this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setToolTip(CompleteReset::ToolTip);
    connect(Command1, &QPushButton::clicked, this, [this] {
        if (!Questions::reset(selector_.prompt()))
            return;
        selector_.completeReset().run();
        Q_EMIT changed();
    });
    Command13 = new QPushButton(QStringLiteral("Edit Planes.dat"), this);
    Command13->setObjectName(QStringLiteral("Command13"));
    auto *commands = new QVBoxLayout;
    for (QPushButton *b : {Command5, Command8, Command9, Command3, Command1, Command13})
        commands->addWidget(b);

    Image1 = new PictureBox(this);
    Image1->setObjectName(QStringLiteral("Image1(0)"));
    Label3 = new ClickableLabel(this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setAlignment(Qt::AlignCenter);
    Label3->setCursor(Qt::PointingHandCursor);
    Label3->setWordWrap(true);

    Command14 =
        button(this, "Command14", QStringLiteral("Show the nightswitch"), QColor(128, 128, 128));
    commands->addWidget(Command14);

    Frame13 = new FeaturesBox(selector, this);
    Frame12 = new MusicBox(selector, this);
    connect(Frame13, &FeaturesBox::changed, this, &GeneralPage::changed);
    connect(Frame12, &MusicBox::changed, this, &GeneralPage::changed);

    // Three columns: the eaw.ini options, the keyboard-control features (the largest piece),
    // then the program commands with the music tools and the background picture.
    auto *options = new QVBoxLayout;
    options->addWidget(resolutionFrame);
    options->addWidget(squadsFrame);
    options->addWidget(onlineFrame);
    options->addStretch(1);
    auto *right = new QVBoxLayout;
    right->addLayout(commands);
    right->addWidget(Frame12);
    right->addWidget(Image1, 1);

    auto *grid = new QGridLayout(this);
    grid->addLayout(options, 0, 0);
    grid->addWidget(Frame13, 0, 1);
    grid->addLayout(right, 0, 2);
    grid->addWidget(Label3, 1, 0, 1, 3);
    grid->setRowStretch(0, 1);
    grid->setColumnStretch(1, 2);
    grid->setColumnStretch(2, 1);

    connect(resolution, &QButtonGroup::idClicked, this, [this](int i) {
        selector_.options().clickResolution(i);
        Q_EMIT changed();
    });
    connect(squads, &QButtonGroup::idClicked, this, [this](int i) {
        selector_.options().clickSquads(i);
        Q_EMIT changed();
    });
    connect(sync, &QButtonGroup::idClicked, this, [this](int i) {
        selector_.options().clickSync(i);
        Q_EMIT changed();
    });
    connect(Command2, &QPushButton::clicked, this, [this] {
        selector_.options().restoreOriginal();
        Q_EMIT changed();
    });
    connect(Command5, &QPushButton::clicked, this, [this] { selector_.commands().LaunchEAW(); });
    connect(Command8, &QPushButton::clicked, this, [this] { selector_.commands().Minimise(); });
    connect(Command3, &QPushButton::clicked, this, &GeneralPage::exitRequested);
    connect(Command9, &QPushButton::clicked, this, &GeneralPage::newVekDirectoryRequested);
    connect(Label3, &ClickableLabel::clicked, this, &GeneralPage::linksRequested);
    connect(Command13, &QPushButton::clicked, this, &GeneralPage::editPlanesRequested);
    connect(Command14, &QPushButton::clicked, this, &GeneralPage::showNightswitch);
}

void GeneralPage::showNightswitch() {
    if (!niteform) {
        niteform = new Niteform(selector_, this);
        niteform->place();
    }
    // The game program may have changed since (another start puts the original back).
    niteform->refresh();
    niteform->show();
    niteform->raise();
}

void GeneralPage::refresh() {
    const IniState &ini = selector_.ini;
    setExclusiveChoice(Option2[0]->group(), ini.resolution);
    setExclusiveChoice(Option4[0]->group(), ini.squads);
    setExclusiveChoice(Option8[0]->group(), ini.sync);
    Check1->setChecked(ini.startOnGround);
    Check2->setChecked(ini.noAI);
    Check3->setChecked(ini.allowRespawn);
    Frame13->refresh();
    Frame12->refresh();
    QString credits = Selector::credits();
    Label3->setText(credits.replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    if (Image1->path() != selector_.BackgroundPath || !Image1->hasPicture())
        Image1->load(selector_.BackgroundPath);
}
