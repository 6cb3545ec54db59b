#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

class QListWidgetItem;

namespace corvane {

class MainWindow;

// The search panel: the main window's second face, where the lists and name boxes
// give way to a search box and one result list spanning every category.
class SearchPanel : public QObject {
    Q_OBJECT
public:
    explicit SearchPanel(MainWindow& window);

    bool isOpen() const { return open_; }

    // The script behind a result entry, as the search found it on disk: its file
    // name may have ".txt" in capitals, and the shown line may hold " --> " of
    // its own.
    struct Result {
        QString name;
        QByteArray category;
        QByteArray fileName;
    };
    static Result resultOf(const QListWidgetItem* item);

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
