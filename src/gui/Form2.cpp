// SPDX-License-Identifier: GPL-3.0-or-later
#include "Form2.h"

#include "Contrast.h"
#include "FolderListBox.h"
#include "GameFolderChoice.h"
#include "Locator.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QCompleter>
#include <QDir>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {
const QColor kLightRed(255, 192, 192);
const QColor kLightBlue(192, 192, 255);

void paint(QWidget *w, const QColor &colour) {
    QPalette p = w->palette();
    p.setColor(QPalette::Window, colour);
    w->setPalette(p);
    w->setAutoFillBackground(true);
    // Some styles paint option buttons without the window background; a style sheet holds.
    // The text colour too: a dark theme's light text does not read on these light colours.
    w->setStyleSheet(QStringLiteral("background-color: %1; color: %2;")
                         .arg(colour.name(), Contrast::textOn(colour).name()));
}
} // namespace

Form2::Form2(Locator &locator, QWidget *parent) : QWidget(parent), locator_(locator) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(Locator::Caption);

    Drive1 = new QComboBox(this);
    Drive1->setObjectName(QStringLiteral("Drive1"));
    Drive1->setAccessibleName(QStringLiteral("Drive"));
    for (const QFileInfo &drive : QDir::drives())
        Drive1->addItem(QDir::toNativeSeparators(drive.absolutePath()), drive.absolutePath());

    Dir1 = new FolderListBox(this);
    Dir1->setObjectName(QStringLiteral("Dir1"));
    Dir1->setAccessibleName(QStringLiteral("Folders"));

    Path = new QLineEdit(this);
    Path->setObjectName(QStringLiteral("Path"));
    Path->setAccessibleName(QStringLiteral("Folder path"));
    Path->setPlaceholderText(QStringLiteral("Type or paste a folder, then press Enter"));
    auto *folders = new QFileSystemModel(this);
    folders->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Hidden);
    folders->setRootPath(QString());
    auto *completer = new QCompleter(folders, this);
    completer->setCaseSensitivity(Qt::CaseInsensitive);
    Path->setCompleter(completer);

    Option1[0] = new QRadioButton(QStringLiteral("VEK Folder"), this);
    Option1[0]->setObjectName(QStringLiteral("Option1(0)"));
    paint(Option1[0], kLightRed);
    Option1[1] = new QRadioButton(QStringLiteral("EAW Folder"), this);
    Option1[1]->setObjectName(QStringLiteral("Option1(1)"));
    paint(Option1[1], kLightBlue);
    auto *group = new QButtonGroup(this);
    group->addButton(Option1[0], 0);
    group->addButton(Option1[1], 1);

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    paint(Label1, kLightRed);
    Label3 = new QLabel(this);
    Label3->setObjectName(QStringLiteral("Label3"));
    paint(Label3, kLightBlue);
    for (QLabel *l : {Label1, Label3}) {
        l->setMinimumWidth(360);
        l->setWordWrap(true);
        l->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
        l->setFrameShape(QFrame::Panel);
        l->setFrameShadow(QFrame::Sunken);
    }
    Label2 = new QLabel(QStringLiteral("Locate the EAW and VEK Folders that you want to use, then "
                                       "click the OK Launch the selector button."),
                        this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setWordWrap(true);

    Command1 = new QPushButton(QStringLiteral("OK Launch the selector!"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setEnabled(false);
    // Says why OK is not enabled: the player sees what to choose instead of a grey button.
    Reason = new QLabel(this);
    Reason->setObjectName(QStringLiteral("Reason"));
    Reason->setWordWrap(true);
    Reason->setTextInteractionFlags(Qt::TextSelectableByMouse);

    RecentGames = new QComboBox(this);
    RecentGames->setObjectName(QStringLiteral("RecentGames"));
    RecentGames->setAccessibleName(QStringLiteral("Recent game folders"));
    RecentGames->setPlaceholderText(QStringLiteral("Recent game folders"));
    RecentGames->setToolTip(QStringLiteral("The game folders you used last: choose one to make "
                                           "it the EAW folder"));
    RecentGames->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    RecentGames->setMinimumContentsLength(30);

    auto *grid = new QGridLayout(this);
    grid->addWidget(Label2, 0, 0, 1, 2);
    grid->addWidget(Drive1, 1, 0);
    grid->addWidget(Option1[0], 1, 1);
    grid->addWidget(Label1, 2, 1);
    grid->addWidget(Option1[1], 3, 1);
    grid->addWidget(Label3, 4, 1);
    grid->addWidget(RecentGames, 5, 1);
    grid->addWidget(Command1, 6, 1);
    grid->addWidget(Reason, 7, 1);
    grid->setRowStretch(8, 1);
    grid->addWidget(Path, 2, 0);
    grid->addWidget(Dir1, 3, 0, 6, 1);
    resize(720, 420);
    // The page's own order: where to look, the folder, which of the two it is, OK.
    setTabOrder(Drive1, Path);
    setTabOrder(Path, Dir1);
    setTabOrder(Dir1, Option1[0]);
    setTabOrder(Option1[0], Option1[1]);
    setTabOrder(Option1[1], RecentGames);
    setTabOrder(RecentGames, Command1);

    connect(Drive1, &QComboBox::activated, this,
            [this](int index) { Dir1->setPath(Drive1->itemData(index).toString()); });
    connect(Dir1, &FolderListBox::pathChanged, this, [this](const QString &path) {
        Path->setText(QDir::toNativeSeparators(path));
        locator_.folderChanged(path);
        refresh();
    });
    connect(Path, &QLineEdit::returnPressed, this, &Form2::goToTypedPath);
    // An option button takes the open folder when it is that kind of folder: the player who
    // has found the game folder and then picks "EAW Folder" has chosen it.
    connect(group, &QButtonGroup::idClicked, this, [this](int id) {
        locator_.selectOption(id);
        const QString open = Dir1->path();
        if (id == 0 ? Locator::isVekFolder(open) : Locator::isGameFolder(open))
            locator_.folderChanged(open);
        refresh();
    });
    connect(Command1, &QPushButton::clicked, this, &Form2::okClicked);
    // Arrow keys on the closed box choose as a click in its list does.
    connect(RecentGames, &QComboBox::activated, this, [this](int index) {
        locator_.gameChosen(RecentGames->itemData(index).toString());
        refresh();
    });

    fillRecentGames(); // shows the engine's state too
}

void Form2::fillRecentGames() {
    RecentGames->clear();
    for (const QString &folder : GameFolderChoice::recent()) {
        const QString shown = QDir::toNativeSeparators(folder);
        RecentGames->addItem(shown, folder);
        RecentGames->setItemData(RecentGames->count() - 1, shown, Qt::ToolTipRole);
    }
    RecentGames->setEnabled(RecentGames->count() > 0);
    refresh();
}

void Form2::showEvent(QShowEvent *event) {
    fillRecentGames();
    QWidget::showEvent(event);
}

void Form2::goToTypedPath() {
    const QString typed = QDir::fromNativeSeparators(Path->text().trimmed());
    const QFileInfo folder(QDir::cleanPath(QDir::home().absoluteFilePath(
        typed.startsWith(QLatin1String("~/")) ? typed.mid(2) : typed)));
    if (!folder.isDir()) {
        Reason->setText(QStringLiteral("There is no folder \"%1\".").arg(Path->text().trimmed()));
        Reason->setVisible(true);
        return;
    }
    Dir1->setPath(folder.absoluteFilePath());
    Path->setText(QDir::toNativeSeparators(Dir1->path()));
}

void Form2::keyPressEvent(QKeyEvent *event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && !(focusWidget() == Path || focusWidget() == Dir1 || focusWidget() == Drive1)) {
        if (Command1->isEnabled())
            Command1->click();
        return;
    }
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void Form2::refresh() {
    if (!Path->hasFocus())
        Path->setText(QDir::toNativeSeparators(Dir1->path()));
    Option1[locator_.option() == 1 ? 1 : 0]->setChecked(true);
    Label1->setText(QDir::toNativeSeparators(locator_.Label1));
    Label3->setText(QDir::toNativeSeparators(locator_.Label3));
    Command1->setEnabled(locator_.Command1);
    // The box shows the EAW folder when it is one of the recent ones.
    RecentGames->setCurrentIndex(RecentGames->findData(Folders::clean(locator_.Label3)));
    const QString why = locator_.whyNotOk();
    Reason->setText(why);
    Reason->setVisible(!why.isEmpty());
    Command1->setToolTip(why);
    Command1->setAccessibleDescription(why);
}
