#include "backup/BackupWindow.h"

#include "backup/BackupTexts.h"
#include "backup/DirList.h"
#include "backupcore/BackupCore.h"
#include "backupcore/Drives.h"
#include "widgets/Busy.h"
#include "widgets/ClickLabel.h"
#include "widgets/Controls.h"
#include "widgets/Msg.h"
#include "widgets/NameBox.h"
#include "widgets/Picture.h"
#include "widgets/Twips.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDir>
#include <QFrame>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>


namespace corvane {
namespace {

using controls::button;
using controls::label;
using controls::place;

// The 3D-face background of the pickers and the path box.
void faceBackground(QWidget* w)
{
    QPalette p = w->palette();
    p.setColor(QPalette::Base, p.color(QPalette::Button));
    w->setPalette(p);
}

}  // namespace

BackupWindow::BackupWindow(const QString& scriptsDir, QWidget* parent, BackupSystem system)
    : FixedDialog(parent, "frmBackup", backupTexts::title(), 4470, 4665, Keys::NoEscapeNoEnter)
    , scriptsDir_(scriptsDir)
    , system_(std::move(system))
{
    build();

    name_->setTextAsIs(backup::defaultName());
    // Each line keeps its entry's bytes on disk, as the browsing lists do.
    for (const Item& source : backup::sources(scriptsDir_))
        (new QListWidgetItem(QStringLiteral("» ") + source.shown, sources_))->setData(Qt::UserRole, source.key);
    fillDrives();
    // The path box stays empty until the list moves away from where it starts.
    dir_->setPath(QDir::currentPath());
    connect(dir_, &DirList::pathChanged, this,
            [this](const QString& path) { path_->setText(QDir::toNativeSeparators(path)); });
}

void BackupWindow::build()
{
    buildPickers();
    buildDestination();
    auto* backUp = button(this, "cmd2", QStringLiteral("Backup"), twips(2400, 4200, 975, 285));
    auto* cancel = button(this, "cmdCancel", QStringLiteral("Cancelar"), twips(3480, 4200, 855, 285));

    const QList<QWidget*> order{sources_, backUp, drive_, dir_, name_, yes_, no_, cancel};
    for (int i = 0; i + 1 < order.size(); ++i)
        QWidget::setTabOrder(order[i], order[i + 1]);

    connect(yes_, &QRadioButton::clicked, this,
            [this] { name_->setTextAsIs(backup::datedName(system_.today())); });
    connect(no_, &QRadioButton::clicked, this, [this] { name_->setTextAsIs(backup::defaultName()); });
    connect(backUp, &QPushButton::clicked, this, &BackupWindow::backUp);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void BackupWindow::buildPickers()
{
    QLabel* driveLabel = label(this, "lblDrive", QStringLiteral("Escolher Drive"), twips(120, 0, 1935, 255));
    drive_ = place(new QComboBox(this), "Drive1", twips(120, 240, 2175, 315), driveLabel->text());
    driveLabel->setBuddy(drive_);  // on Linux a combo box is named by its label, its own name is its value
    faceBackground(drive_);
    QLabel* dirLabel = label(this, "lblDestino", QStringLiteral("Escolher diretório"), twips(120, 720, 2055, 255));
    dir_ = new DirList(QStringLiteral("Dir1"), this);
    dir_->setAccessibleName(dirLabel->text());
    dir_->setGeometry(twips(120, 960, 2175, 2340));
    faceBackground(dir_);

    QLabel* sourcesLabel = label(this, "lblOrigem", QStringLiteral("Pastas a salvar"), twips(2400, 0, 1935, 255));
    sources_ = place(new QListWidget(this), "List1", twips(2400, 240, 1935, 2370));
    sources_->setAccessibleName(sourcesLabel->text());
    sources_->setSelectionMode(QAbstractItemView::SingleSelection);
    faceBackground(sources_);

    label(this, "lblData", QStringLiteral("Colocar Data pasta destino"), twips(2400, 2860, 1980, 255));
    yes_ = place(new QRadioButton(QStringLiteral("Sim"), this), "optSim", twips(3000, 3100, 615, 255));
    no_ = place(new QRadioButton(QStringLiteral("Nao"), this), "optNao", twips(3720, 3100, 735, 255));
    auto* group = new QButtonGroup(this);
    group->addButton(yes_);
    group->addButton(no_);
}

void BackupWindow::buildDestination()
{
    path_ = place(new QLineEdit(this), "txtCaminho", twips(120, 3600, 4215, 215));
    path_->setAccessibleName(QStringLiteral("Caminho escolhido"));
    path_->setFocusPolicy(Qt::ClickFocus);
    path_->setTextMargins(0, -2, 0, -2);
    faceBackground(path_);
    QPalette ink = path_->palette();
    ink.setColor(QPalette::Text, ink.color(QPalette::Shadow));
    path_->setPalette(ink);

    auto* line = place(new QFrame(this), "Line1", QRect(px(120), px(3825), px(4320) - px(120), 2));
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);

    QLabel* nameLabel = label(this, "lblPasta", QStringLiteral("Nome da pasta destino"), twips(120, 3960, 1935, 255));
    auto* miniHelp = new ClickLabel(QStringLiteral("lblMiniHelp"), QStringLiteral("Mini-Help"), this);
    miniHelp->setAccessibleName(QStringLiteral("Ajuda do backup"));
    miniHelp->setGeometry(twips(2480, 3920, 735, 255));
    controls::picture(this, "imgHelp", "help.svg", twips(3195, 3900, 165, 225));
    connect(miniHelp, &ClickLabel::clicked, this, &BackupWindow::openMiniHelp);

    name_ = new NameBox(QStringLiteral("txtfile"), 0, this);
    name_->setGeometry(twips(120, 4200, 2175, 285));
    name_->setAccessibleName(nameLabel->text());
}

void BackupWindow::fillDrives()
{
    const QList<drives::Volume> volumes = system_.volumes();
    const QString current = drives::rootOf(QDir::currentPath(), volumes);
    int currentIndex = -1;
    for (const drives::Volume& volume : volumes) {
        if (volume.root == current)
            currentIndex = drive_->count();
        drive_->addItem(drives::caption(volume), volume.root);
    }
    if (currentIndex < 0) {
        currentIndex = drive_->count();
        drive_->addItem(drives::caption({current, QString()}), current);
    }
    drive_->setCurrentIndex(currentIndex);
    connect(drive_, &QComboBox::currentIndexChanged, this, &BackupWindow::driveChosen);
}

void BackupWindow::driveChosen(int index)
{
    const QString root = drive_->itemData(index).toString();
    if (!drives::readable(root)) {
        msg::ok(this, backupTexts::driveUnreadable());
        return;
    }
    dir_->setPath(root);  // any other failure leaves the folder as it was
}

void BackupWindow::backUp()
{
    const QString name = name_->text();
    // An empty name, separators or only full stops would point at the chosen
    // folder itself or outside it.
    if (name.isEmpty()) {
        msg::ok(this, backupTexts::nameNeeded());
        return;
    }
    if (const QString unsafe = backupTexts::unsafeName(name); !unsafe.isEmpty()) {
        msg::ok(this, unsafe);
        return;
    }
    const QString target = dir_->path();
    if (backup::entryExists(target, name)) {
        msg::ok(this, backupTexts::folderExists(name));
        return;
    }
    QList<QByteArray> entries;
    for (int i = 0; i < sources_->count(); ++i)
        entries.append(sources_->item(i)->data(Qt::UserRole).toByteArray());

    backup::Result result;
    runBusy([&] { result = backup::copyLibrary(scriptsDir_, entries, target, name); });
    if (result.done())
        msg::ok(this, backupTexts::done());
    else
        msg::ok(this, backupTexts::failure(result), msg::appTitle(), msg::Icon::Critical);
}

void BackupWindow::openMiniHelp()
{
    BackHelpWindow help(this);
    help.exec();
}

void BackupWindow::firstShown()
{
    sources_->setFocus(Qt::OtherFocusReason);
}

BackHelpWindow::BackHelpWindow(QWidget* parent)
    : FixedDialog(parent, "frmBackHelp", backupTexts::helpTitle(), 4470, 4665, Keys::NoEscapeNoEnter)
{
    QLabel* title = label(this, "lblBk1", backupTexts::helpHeading(), twips(240, 120, 3975, 255));
    controls::setBold(title, 13);
    setTextColour(title, palette().color(QPalette::Shadow));

    const QStringList paragraphs = backupTexts::helpParagraphs();
    const struct {
        const char* name;
        QRect geometry;
    } places[] = {
        {"lblBk2", twips(240, 600, 3975, 615)},
        {"lblBk3", twips(240, 1320, 3975, 615)},
        {"lblBk4", twips(240, 2040, 3975, 1575)},
    };
    for (size_t i = 0; i < std::size(places); ++i) {
        QLabel* text = label(this, places[i].name, paragraphs.value(qsizetype(i)), places[i].geometry);
        text->setWordWrap(true);
        text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
    auto* close = button(this, "cmdBackHelp", QStringLiteral("Fechar"), twips(1320, 3960, 1695, 375));
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace corvane
