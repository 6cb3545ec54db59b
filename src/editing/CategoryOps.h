#pragma once

#include <QObject>

namespace corvane {

class MainWindow;

// Adding, renaming and deleting categories: the buttons under the category list
// acting on the name typed in cxRnmCat and the selected entry of lstDir01.
class CategoryOps : public QObject {
    Q_OBJECT
public:
    explicit CategoryOps(MainWindow& window);

private:
    void add();
    void rename();
    void remove();
    // Why the folder cannot be deleted as a whole, or empty when it can.
    QString deleteBlocker(const QByteArray& category) const;
    // Deletes the category's files, then its folder; false when any is left.
    bool removeFolder(const QByteArray& category) const;

    MainWindow& window_;
};

}  // namespace corvane
