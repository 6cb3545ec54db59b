#pragma once

#include <QDialog>

class QComboBox;
class QLineEdit;
class QListWidget;
class QRadioButton;

namespace corvane {

class DirList;
class NameBox;

// frmBackup: copies the library into a new folder of a chosen directory.
class BackupWindow : public QDialog {
    Q_OBJECT
public:
    BackupWindow(const QString& scriptsDir, QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void build();
    void fillDrives();
    void driveChosen(int index);
    void backUp();
    void openMiniHelp();

    QString scriptsDir_;
    QComboBox* drive_ = nullptr;
    DirList* dir_ = nullptr;
    QListWidget* sources_ = nullptr;
    QRadioButton* yes_ = nullptr;
    QRadioButton* no_ = nullptr;
    QLineEdit* path_ = nullptr;
    NameBox* name_ = nullptr;
    bool centred_ = false;
};

// frmBackHelp: how a backup is laid out and restored.
class BackHelpWindow : public QDialog {
    Q_OBJECT
public:
    explicit BackHelpWindow(QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace corvane
