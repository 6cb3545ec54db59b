#pragma once

#include "library/Library.h"

#include <QObject>

class QWidget;

namespace corvane {

class KeyedList;
class NameBox;

// Adding, renaming and deleting categories: the name typed in the category name
// box and the selected entry of the category list.
class CategoryEditor : public QObject {
    Q_OBJECT
public:
    CategoryEditor(const Library& library, QWidget* window, KeyedList& categories, NameBox& name);

    void add();
    void rename();
    void remove();

signals:
    // The lists no longer match the disk: reread them, keeping the choices.
    void listsStale();
    // Reread the categories and choose the first.
    void categoriesStale();
    void firstCategoryWanted();

private:
    // Why the folder cannot be deleted as a whole, or empty when it can.
    QString deleteBlocker(const QByteArray& category) const;
    // Moves the category to the trash or, without one, deletes its files, then its
    // folder; false when any is left.
    bool removeFolder(const QByteArray& category) const;

    const Library& library_;
    QWidget* window_;
    KeyedList& categories_;
    NameBox& name_;
};

}  // namespace corvane
