#include "backup/BackupWindow.h"

#include "widgets/Busy.h"
#include "widgets/Msg.h"
#include "widgets/NameBox.h"
#include "widgets/Picture.h"
#include "widgets/Twips.h"
#include "widgets/Controls.h"
#include "widgets/Texts.h"
#include "backupcore/BackupCore.h"
#include "backup/DirList.h"
#include "backupcore/Drives.h"
#include "widgets/ClickLabel.h"

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

#include <algorithm>
#include <cerrno>

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

// Whether a failure is the destination's file system refusing a name, as FAT
// and exFAT refuse names in bytes they cannot store (fusefat: any beyond ASCII).
bool nameRefused(int error, const QString& name)
{
    const bool ascii = std::all_of(name.begin(), name.end(), [](QChar c) { return c.unicode() < 0x80; });
    return error == EILSEQ || error == EINVAL || error == ENAMETOOLONG || (error == EPERM && !ascii);
}

// A failed backup: where it stopped, why when the name was refused, and where
// the copied part is.
QString failure(const Outcome& outcome)
{
    QString where = outcome.names.value(0);
    if (nameRefused(outcome.error, where.section(u'/', -1)))
        where += QStringLiteral("\r\nO disco de destino não aceita esse nome.");
    switch (outcome.code) {
    case Outcome::Code::TargetFailed:
        return QStringLiteral("Não foi possível criar a pasta destino:\r\n%1\r\n\r\nNada foi copiado.").arg(where);
    case Outcome::Code::FolderFailed:
        return QStringLiteral("Não foi possível criar a pasta:\r\n%1\r\n\r\n"
                              "O backup foi interrompido. O que já foi copiado continua em:\r\n%2")
            .arg(where, outcome.names.value(1));
    default:
        return QStringLiteral("Não foi possível copiar o arquivo:\r\n%1\r\n\r\n"
                              "O backup foi interrompido. O que já foi copiado continua em:\r\n%2")
            .arg(where, outcome.names.value(1));
    }
}

}  // namespace

BackupWindow::BackupWindow(const QString& scriptsDir, QWidget* parent, BackupSystem system)
    : FixedDialog(parent, "frmBackup", QStringLiteral("Corvane - Backup"), 4470, 4665, Keys::NoEscapeNoEnter)
    , scriptsDir_(scriptsDir)
    , system_(std::move(system))
{
    build();

    name_->setText(backup::defaultName());
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
    label(this, "lblDrive", QStringLiteral("Escolher Drive"), twips(120, 0, 1935, 255));
    drive_ = place(new QComboBox(this), "Drive1", twips(120, 240, 2175, 315));
    faceBackground(drive_);
    label(this, "lblDestino", QStringLiteral("Escolher diretório"), twips(120, 720, 2055, 255));
    dir_ = new DirList(QStringLiteral("Dir1"), this);
    dir_->setAccessibleName(QStringLiteral("Escolher diretório"));
    dir_->setGeometry(twips(120, 960, 2175, 2340));
    faceBackground(dir_);

    label(this, "lblOrigem", QStringLiteral("Pastas a salvar"), twips(2400, 0, 1935, 255));
    sources_ = place(new QListWidget(this), "List1", twips(2400, 240, 1935, 2370));
    sources_->setAccessibleName(QStringLiteral("Pastas a salvar"));
    sources_->setSelectionMode(QAbstractItemView::SingleSelection);
    faceBackground(sources_);

    label(this, "lblData", QStringLiteral("Colocar Data pasta destino"), twips(2400, 2860, 1980, 255));
    yes_ = place(new QRadioButton(QStringLiteral("Sim"), this), "optSim", twips(3000, 3100, 615, 255));
    no_ = place(new QRadioButton(QStringLiteral("Nao"), this), "optNao", twips(3720, 3100, 735, 255));
    auto* group = new QButtonGroup(this);
    group->addButton(yes_);
    group->addButton(no_);

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

    label(this, "lblPasta", QStringLiteral("Nome da pasta destino"), twips(120, 3960, 1935, 255));
    auto* miniHelp = new ClickLabel(QStringLiteral("lblMiniHelp"), QStringLiteral("Mini-Help"), this);
    miniHelp->setGeometry(twips(2480, 3920, 735, 255));
    controls::picture(this, "imgHelp", "help.svg", twips(3195, 3900, 165, 225));

    name_ = new NameBox(QStringLiteral("txtfile"), 0, this);
    name_->setGeometry(twips(120, 4200, 2175, 285));
    name_->setAccessibleName(QStringLiteral("Nome da pasta destino"));
    auto* backUp = button(this, "cmd2", QStringLiteral("Backup"), twips(2400, 4200, 975, 285));
    auto* cancel = button(this, "cmdCancel", QStringLiteral("Cancelar"), twips(3480, 4200, 855, 285));

    const QList<QWidget*> order{sources_, backUp, drive_, dir_, name_, yes_, no_, cancel};
    for (int i = 0; i + 1 < order.size(); ++i)
        QWidget::setTabOrder(order[i], order[i + 1]);

    connect(yes_, &QRadioButton::clicked, this,
            [this] { name_->setText(backup::datedName(system_.today())); });
    connect(no_, &QRadioButton::clicked, this, [this] { name_->setText(backup::defaultName()); });
    connect(miniHelp, &ClickLabel::clicked, this, &BackupWindow::openMiniHelp);
    connect(backUp, &QPushButton::clicked, this, &BackupWindow::backUp);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
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
        msg::ok(this, QStringLiteral("Drive não acessível"));
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
        msg::ok(this, QStringLiteral("Digite o nome da pasta destino. Nada foi copiado."));
        return;
    }
    if (const QString unsafe = texts::unsafeName(name); !unsafe.isEmpty()) {
        msg::ok(this, unsafe + QStringLiteral(" Nada foi copiado."));
        return;
    }
    const QString target = dir_->path();
    if (backup::entryExists(target, name)) {
        msg::ok(this, QStringLiteral("A pasta ") + name + QStringLiteral(" já existe"));
        return;
    }
    QList<QByteArray> entries;
    for (int i = 0; i < sources_->count(); ++i)
        entries.append(sources_->item(i)->data(Qt::UserRole).toByteArray());

    Outcome outcome;
    runBusy([&] { outcome = backup::copyLibrary(scriptsDir_, entries, target, name); });
    if (outcome.done())
        msg::ok(this, QStringLiteral("Backup realizado com sucesso!"));
    else
        msg::ok(this, failure(outcome), msg::appTitle(), msg::Icon::Critical);
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
    : FixedDialog(parent, "frmBackHelp", QStringLiteral("Corvane - Backup Help"), 4470, 4665, Keys::NoEscapeNoEnter)
{
    QLabel* title = label(this, "lblBk1", QStringLiteral("Mini Help Backup"), twips(240, 120, 3975, 255));
    controls::setBold(title, 13);
    setTextColour(title, palette().color(QPalette::Shadow));

    const struct {
        const char* name;
        QString text;
        QRect geometry;
    } paragraphs[] = {
        {"lblBk2",
         QStringLiteral("O backup dos scripts neste programa é feito mediante o salvamento das pastas e dos "
                        "arquivos TXT, no diretório escolhido pelo usuário."),
         twips(240, 600, 3975, 615)},
        {"lblBk3",
         QStringLiteral("Toda a estrutura de Categorias (pastas) e Scripts (arquivos TXT) é mantida dentro da "
                        "pasta principal, de nome SCRIPTS."),
         twips(240, 1320, 3975, 615)},
        {"lblBk4",
         QStringLiteral("Caso tenha feito vários backups com nomes de pasta diferentes, ex: SCRIPTS, "
                        "SCRIPTS-01-02-07, SCRIPTS BACK1, as subpastas podem ser recuperadas para a pasta "
                        "Scripts, através da qual o Programa roda, simplesmente copiando-se e colando-se as "
                        "pastas. Da mesma forma, pode ser feito com os Scripts - textos (arquivos TXT)."),
         twips(240, 2040, 3975, 1575)},
    };
    for (const auto& p : paragraphs) {
        QLabel* text = label(this, p.name, p.text, p.geometry);
        text->setWordWrap(true);
        text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
    auto* close = button(this, "cmdBackHelp", QStringLiteral("Fechar"), twips(1320, 3960, 1695, 375));
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace corvane
