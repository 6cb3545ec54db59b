#include "backup/BackupWindow.h"

#include "app/Busy.h"
#include "app/Msg.h"
#include "app/NameBox.h"
#include "app/Picture.h"
#include "app/Twips.h"
#include "app/Window.h"
#include "backup/BackupCore.h"
#include "backup/DirList.h"
#include "backup/Drives.h"
#include "help/ClickLabel.h"

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

QLabel* label(QWidget* parent, const char* name, const QString& text, const QRect& geometry)
{
    auto* l = place(new QLabel(text, parent), name, geometry);
    l->setTextFormat(Qt::PlainText);
    return l;
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption, const QRect& geometry)
{
    auto* b = place(new QPushButton(caption, parent), name, geometry);
    b->setAutoDefault(false);
    b->setDefault(false);
    return b;
}

// The 3D-face background of the pickers and the path box.
void faceBackground(QWidget* w)
{
    QPalette p = w->palette();
    p.setColor(QPalette::Base, p.color(QPalette::Button));
    w->setPalette(p);
}

// Enter and Esc mean nothing to these windows: no default or cancel button.
bool swallowEnterAndEsc(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept();
        return true;
    default:
        return false;
    }
}

}  // namespace

BackupWindow::BackupWindow(const QString& scriptsDir, QWidget* parent)
    : QDialog(parent, kDialogFlags)
    , scriptsDir_(scriptsDir)
{
    setObjectName(QStringLiteral("frmBackup"));
    setWindowTitle(QStringLiteral("Corvane - Backup"));
    setWindowIcon(QIcon(QStringLiteral(":/pictures/icon.svg")));
    fixClientSize(this, 4470, 4665);
    build();

    name_->setText(backup::defaultName());
    // Each line keeps its entry's bytes on disk, as the browsing lists do.
    for (const Item& source : backup::sourceLines(scriptsDir_))
        (new QListWidgetItem(source.shown, sources_))->setData(Qt::UserRole, source.key);
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
    auto* icon = new Picture(QStringLiteral("imgHelp"), QStringLiteral(":/pictures/help.svg"), this);
    icon->setGeometry(twips(3195, 3900, 165, 225));

    name_ = new NameBox(QStringLiteral("txtfile"), 0, this);
    name_->setGeometry(twips(120, 4200, 2175, 285));
    name_->setAccessibleName(QStringLiteral("Nome da pasta destino"));
    auto* backUp = button(this, "cmd2", QStringLiteral("Backup"), twips(2400, 4200, 975, 285));
    auto* cancel = button(this, "cmdCancel", QStringLiteral("Cancelar"), twips(3480, 4200, 855, 285));

    const QList<QWidget*> order{sources_, backUp, drive_, dir_, name_, yes_, no_, cancel};
    for (int i = 0; i + 1 < order.size(); ++i)
        QWidget::setTabOrder(order[i], order[i + 1]);

    connect(yes_, &QRadioButton::clicked, this,
            [this] { name_->setText(backup::datedName(backup::today())); });
    connect(no_, &QRadioButton::clicked, this, [this] { name_->setText(backup::defaultName()); });
    connect(miniHelp, &ClickLabel::clicked, this, &BackupWindow::openMiniHelp);
    connect(backUp, &QPushButton::clicked, this, &BackupWindow::backUp);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void BackupWindow::fillDrives()
{
    const QString current = drives::rootOf(QDir::currentPath());
    int currentIndex = -1;
    for (const drives::Volume& volume : drives::volumes()) {
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
    const QString refusal = backup::nameRefusal(name);
    if (!refusal.isEmpty()) {
        msg::ok(this, refusal);
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

    backup::Result result;
    runBusy([&] { result = backup::copyLibrary(scriptsDir_, entries, target, name); });
    if (result.ok)
        msg::ok(this, QStringLiteral("Backup realizado com sucesso!"));
    else
        msg::ok(this, result.message, msg::appTitle(), msg::Icon::Critical);
}

void BackupWindow::openMiniHelp()
{
    BackHelpWindow help(this);
    help.exec();
}

void BackupWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!centred_) {
        centred_ = true;
        centreOnScreen(this);
        sources_->setFocus(Qt::OtherFocusReason);
    }
}

void BackupWindow::keyPressEvent(QKeyEvent* event)
{
    if (!swallowEnterAndEsc(event))
        QDialog::keyPressEvent(event);
}

BackHelpWindow::BackHelpWindow(QWidget* parent)
    : QDialog(parent, kDialogFlags)
{
    setObjectName(QStringLiteral("frmBackHelp"));
    setWindowTitle(QStringLiteral("Corvane - Backup Help"));
    setWindowIcon(QIcon(QStringLiteral(":/pictures/icon.svg")));
    fixClientSize(this, 4470, 4665);

    QLabel* title = label(this, "lblBk1", QStringLiteral("Mini Help Backup"), twips(240, 120, 3975, 255));
    QFont bold = title->font();
    bold.setBold(true);
    bold.setPixelSize(13);
    title->setFont(bold);
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

void BackHelpWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    centreOnScreen(this);
}

void BackHelpWindow::keyPressEvent(QKeyEvent* event)
{
    if (!swallowEnterAndEsc(event))
        QDialog::keyPressEvent(event);
}

}  // namespace corvane
