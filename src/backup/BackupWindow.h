#pragma once

#include "backupcore/Drives.h"
#include "widgets/FixedDialog.h"

#include <QDate>

#include <functional>

class QComboBox;
class QLineEdit;
class QListWidget;
class QRadioButton;

namespace corvane {

class DirList;
class NameBox;

// What the backup window takes from the system: today's date for a dated name
// and the volumes to choose from.
struct BackupSystem {
    std::function<QDate()> today = &QDate::currentDate;
    std::function<QList<drives::Volume>()> volumes = &drives::systemVolumes;
};

// frmBackup: copies the library into a new folder of a chosen directory.
class BackupWindow : public FixedDialog {
    Q_OBJECT
public:
    explicit BackupWindow(const QString& scriptsDir, QWidget* parent = nullptr, BackupSystem system = {});

protected:
    void firstShown() override;

private:
    void build();
    void buildPickers();
    void buildDestination();
    void fillDrives();
    void driveChosen(int index);
    void backUp();
    void openMiniHelp();

    QString scriptsDir_;
    BackupSystem system_;
    QComboBox* drive_ = nullptr;
    DirList* dir_ = nullptr;
    QListWidget* sources_ = nullptr;
    QRadioButton* yes_ = nullptr;
    QRadioButton* no_ = nullptr;
    QLineEdit* path_ = nullptr;
    NameBox* name_ = nullptr;
};

// frmBackHelp: how a backup is laid out and restored.
class BackHelpWindow : public FixedDialog {
    Q_OBJECT
public:
    explicit BackHelpWindow(QWidget* parent = nullptr);
};

}  // namespace corvane
