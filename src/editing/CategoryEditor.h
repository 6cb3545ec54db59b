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
    const Library& library_;
    QWidget* window_;
    KeyedList& categories_;
    NameBox& name_;
};

}  // namespace corvane
