#pragma once

#include <QObject>
#include <QString>

class QListWidgetItem;

namespace corvane {

class Library;
class MainWindow;

// The search panel: the main window's second face, where the lists and name boxes
// give way to a search box and one result list spanning every category.
class SearchPanel : public QObject {
    Q_OBJECT
public:
    explicit SearchPanel(MainWindow& window);

    bool isOpen() const { return open_; }

    // The script file behind a result line; the listing kept its real name, whose
    // ".txt" may be written in capitals.
    static constexpr int kFileNameRole = 0x0100 + 1;  // Qt::UserRole + 1
    // Path of the script behind a result entry (empty for none).
    static QString resultFile(const Library& library, const QListWidgetItem* item);

private:
    void open();
    void runSearch();
    void chooseResult();
    void enlarge();
    void restore();
    void setEnlarged(bool enlarged);
    void close();
    bool resultChosen();

    MainWindow& window_;
    bool open_ = false;
};

}  // namespace corvane
