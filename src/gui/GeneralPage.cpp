#include "GeneralPage.h"

#include "ClickableLabel.h"
#include "CompleteReset.h"
#include "Contrast.h"
#include "IniOptions.h"
#include "KeyboardFeatures.h"
#include "MusicButtons.h"
#include "Niteform.h"
#include "Options.h"
#include "PictureBox.h"
#include "Questions.h"
#include "Selector.h"
#include "Twips.h"
#include "WindowCommands.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
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

QLabel *valueLabel(QWidget *parent, const char *name) {
    auto *l = new QLabel(parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setFrameShape(QFrame::Panel);
    l->setFrameShadow(QFrame::Sunken);
    l->setMinimumWidth(40);
    return l;
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

    QGroupBox *features = featuresBox();
    QGroupBox *music = musicBox();

    // Three columns: the eaw.ini options, the keyboard-control features (the largest piece),
    // then the program commands with the music tools and the background picture.
    auto *options = new QVBoxLayout;
    options->addWidget(resolutionFrame);
    options->addWidget(squadsFrame);
    options->addWidget(onlineFrame);
    options->addStretch(1);
    auto *right = new QVBoxLayout;
    right->addLayout(commands);
    right->addWidget(music);
    right->addWidget(Image1, 1);

    auto *grid = new QGridLayout(this);
    grid->addLayout(options, 0, 0);
    grid->addWidget(features, 0, 1);
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
        selector_.options().Restore();
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

QGroupBox *GeneralPage::featuresBox() {
    Frame13 = new QGroupBox(QStringLiteral("Disable Keyboard Control"), this);
    Frame13->setObjectName(QStringLiteral("Frame13"));
    Frame13->setMouseTracking(true);
    Frame13->installEventFilter(this);

    G7 = new QTableWidget(Frame13);
    G7->setObjectName(QStringLiteral("G7"));
    G7->setEditTriggers(QAbstractItemView::NoEditTriggers);
    G7->setSelectionBehavior(QAbstractItemView::SelectRows);
    G7->setSelectionMode(QAbstractItemView::SingleSelection);
    G7->verticalHeader()->hide();
    G7->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    G7->setWordWrap(false);
    G7->viewport()->installEventFilter(this);
    G7->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft);
    G7->setMinimumHeight(120);

    auto *describe = new QLabel(
        QStringLiteral("The description of the feature which can be disabled:"), Frame13);
    Label18 = valueLabel(Frame13, "Label18");
    Label18->setWordWrap(true);
    Label18->setMinimumHeight(36);
    Label18->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    auto *buttons = new QGridLayout;
    buttons->setSpacing(2);
    for (int i = 0; i < 30; ++i) {
        Option13[i] = new QRadioButton(KeyboardFeatures::optionCaption(i), Frame13);
        Option13[i]->setObjectName(QStringLiteral("Option13(%1)").arg(i));
        Option13[i]->installEventFilter(this);
        buttons->addWidget(Option13[i], i / 6, i % 6);
        connect(Option13[i], &QRadioButton::clicked, this, [this, i] {
            selector_.features().clickOption13(i);
            Q_EMIT changed();
        });
    }
    Notice = new QLabel(Frame13);
    Notice->setObjectName(QStringLiteral("Notice"));
    Notice->setWordWrap(true);

    Label21 = valueLabel(Frame13, "Label21");
    Label14 = valueLabel(Frame13, "Label14");
    HUDLab = valueLabel(Frame13, "HUDLab");
    auto *values = new QGridLayout;
    values->addWidget(new QLabel(QStringLiteral("Current Selection"), Frame13), 0, 0);
    values->addWidget(Label21, 0, 1);
    values->addWidget(new QLabel(QStringLiteral("Selection Number"), Frame13), 0, 2);
    values->addWidget(Label14, 0, 3);
    values->addWidget(new QLabel(QStringLiteral("Fixed HUD colour value"), Frame13), 1, 0);
    values->addWidget(HUDLab, 1, 1);

    Command15 = new QPushButton(QStringLiteral("OK! Set this one"), Frame13);
    Command15->setObjectName(QStringLiteral("Command15"));
    values->addWidget(Command15, 1, 2, 1, 2);

    Check4 = new QCheckBox(QStringLiteral("Activate the cheatcheck"), Frame13);
    Check4->setObjectName(QStringLiteral("Check4"));
    Check4->setToolTip(QStringLiteral("If this box is checked then all players in an online "
                                      "game must have the same settings or the game will not "
                                      "launch."));
    // Enabled: it only reads the cheat byte of flt.cdf into the caption, which lets the
    // player see what the other players' game will check.
    Command12 = new QPushButton(QStringLiteral("V1cheksum"), Frame13);
    Command12->setObjectName(QStringLiteral("Command12"));
    Command12->setToolTip(QStringLiteral("Shows the cheat byte of flt.cdf in the window caption."));
    auto *cheat = new QHBoxLayout;
    cheat->addWidget(Check4);
    cheat->addStretch(1);
    cheat->addWidget(Command12);

    Frame1 = new QGroupBox(QStringLiteral("Display info"), Frame13);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);
    DispLab = valueLabel(Frame1, "DispLab");
    auto *displayLayout = new QHBoxLayout(Frame1);
    displayLayout->addWidget(new QLabel(QStringLiteral("DisplayInfoSetting="), Frame1));
    displayLayout->addWidget(DispLab, 1);

    Image3 = new PictureBox(Frame13);
    Image3->setObjectName(QStringLiteral("Image3"));
    Image3->setMinimumHeight(60);

    auto *layout = new QVBoxLayout(Frame13);
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

    connect(G7, &QTableWidget::cellClicked, this, [this](int row, int) {
        selector_.features().clickG7(row + 1);
        Q_EMIT changed();
    });
    connect(Command15, &QPushButton::clicked, this, [this] {
        selector_.features().Command15();
        Q_EMIT changed();
    });
    connect(Check4, &QCheckBox::clicked, this, [this](bool on) {
        selector_.options().setCheatCheck(on);
        Q_EMIT changed();
    });
    connect(Command12, &QPushButton::clicked, this, [this] { selector_.options().V1cheksum(); });
    return Frame13;
}

QGroupBox *GeneralPage::musicBox() {
    Frame12 = new QGroupBox(this);
    Frame12->setObjectName(QStringLiteral("Frame12"));
    Frame12->setMouseTracking(true);
    Frame12->installEventFilter(this);
    auto *layout = new QVBoxLayout(Frame12);
    for (int i = 0; i < 7; ++i) {
        Option12[i] = new QRadioButton(Frame12);
        Option12[i]->setObjectName(QStringLiteral("Option12(%1)").arg(i));
        // The buttons act as commands: each is left unselected after its switch.
        Option12[i]->setAutoExclusive(false);
        Option12[i]->installEventFilter(this);
        layout->addWidget(Option12[i]);
        connect(Option12[i], &QRadioButton::clicked, this, [this, i] {
            Option12[i]->setChecked(false);
            selector_.music().click(i);
            Q_EMIT changed();
        });
    }
    MusicPlaying = new QLabel(Frame12);
    MusicPlaying->setObjectName(QStringLiteral("MusicPlaying"));
    MusicPlaying->setWordWrap(true);
    layout->addWidget(MusicPlaying);
    delmsn = new QPushButton(QStringLiteral("Del MSN"), Frame12);
    delmsn->setObjectName(QStringLiteral("delmsn"));
    delmsn->setToolTip(QStringLiteral("Deletes \"DefaultXXX.msn\""));
    layout->addWidget(delmsn);
    connect(delmsn, &QPushButton::clicked, this, [this] { selector_.music().delmsn(); });
    return Frame12;
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

bool GeneralPage::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::Enter) {
        for (int i = 0; i < 30; ++i) {
            if (watched == Option13[i]) {
                selector_.features().hoverOption13(i);
                Label18->setText(selector_.features().Label18);
            }
        }
        for (int i = 0; i < 7; ++i) {
            if (watched == Option12[i]) {
                selector_.music().hover(i);
                setCaption(Frame12, selector_.music().Frame12);
            }
        }
    } else if (event->type() == QEvent::Resize && watched == G7->viewport()) {
        // Column 0 is as wide as the grid; the codes lie to its right.
        G7->setColumnWidth(0, G7->viewport()->width());
    } else if (event->type() == QEvent::MouseMove && (watched == Frame13 || watched == Frame12)) {
        // A move over one of the frame's buttons reaches the frame too (the buttons do not
        // track the pointer): only the frame's own surface clears the hint.
        const auto *frame = static_cast<QWidget *>(watched);
        if (!frame->childAt(static_cast<QMouseEvent *>(event)->position().toPoint())) {
            if (watched == Frame13) {
                selector_.features().hoverFrame();
                Label18->setText(selector_.features().Label18);
            } else {
                selector_.music().hoverFrame();
                setCaption(Frame12, selector_.music().Frame12);
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void GeneralPage::refreshFeatures() {
    const KeyboardFeatures &kc = selector_.features();
    const FeatureTable &table = kc.G7;
    const int rows = table.rowCount() - 1, columns = table.columnCount();
    bool same = G7->rowCount() == rows && G7->columnCount() == columns;
    for (int r = 0; same && r < rows; ++r)
        same = G7->item(r, 0) && G7->item(r, 0)->text() == table.cell(r + 1, 0);
    if (!same) {
        G7->clear();
        G7->setRowCount(rows);
        G7->setColumnCount(columns);
        QStringList header(columns, QString());
        header[0] = FeatureTable::Header;
        G7->setHorizontalHeaderLabels(header);
        for (int r = 0; r < rows; ++r)
            for (int col = 0; col < columns; ++col)
                G7->setItem(r, col, new QTableWidgetItem(table.cell(r + 1, col)));
        for (int col = 1; col < columns; ++col)
            G7->setColumnWidth(col, twipsToPixels(G7, 720));
    }
    G7->setColumnWidth(0, G7->viewport()->width());
    if (kc.G7Row >= 1 && G7->currentRow() != kc.G7Row - 1)
        G7->setCurrentCell(kc.G7Row - 1, 0);

    for (int i = 0; i < 30; ++i) {
        Option13[i]->setVisible(kc.optionShown(i));
        Option13[i]->setEnabled(kc.optionShown(i));
        Option13[i]->setChecked(kc.optionShown(i) && selector_.FeatureNumber == i + 1);
    }
    Notice->setText(kc.Notice);
    Notice->setVisible(!kc.Notice.isEmpty());
    Label18->setText(kc.Label18);
    Label21->setText(selector_.ini.Label21);
    Label14->setText(kc.Label14);
    HUDLab->setText(selector_.ini.HUDLab);
    DispLab->setText(selector_.ini.DispLab);
    Check4->setChecked(selector_.Check4);

    const MusicButtons &music = selector_.music();
    setCaption(Frame12, music.Frame12);
    MusicPlaying->setText(music.Playing);
    for (int i = 0; i < 7; ++i) {
        const bool shown = i < music.Option12.size();
        Option12[i]->setVisible(shown);
        if (shown)
            Option12[i]->setText(music.Option12.at(i));
    }
}

void GeneralPage::refresh() {
    const IniState &ini = selector_.ini;
    setExclusiveChoice(Option2[0]->group(), ini.resolution);
    setExclusiveChoice(Option4[0]->group(), ini.squads);
    setExclusiveChoice(Option8[0]->group(), ini.sync);
    Check1->setChecked(ini.startOnGround);
    Check2->setChecked(ini.noAI);
    Check3->setChecked(ini.allowRespawn);
    refreshFeatures();
    QString credits = Selector::credits();
    Label3->setText(credits.replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    if (Image1->path() != selector_.BackgroundPath || !Image1->hasPicture())
        Image1->load(selector_.BackgroundPath);
    if (Image3->path() != selector_.NewpicPath || !Image3->hasPicture())
        Image3->load(selector_.NewpicPath);
}
