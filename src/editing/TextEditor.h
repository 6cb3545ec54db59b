#pragma once

#include "library/Library.h"

#include <QObject>

class QWidget;

namespace corvane {

class TextViewer;

// Saving the viewer's text into a script, and copying it.
class TextEditor : public QObject {
    Q_OBJECT
public:
    TextEditor(const Library& library, QWidget* window, TextViewer& viewer);

    // Replaces the script's file with the viewer's text, after asking. A script
    // with no name is no choice at all.
    void save(const ScriptRef& script);
    // The selection, or the whole text without one.
    void copy();

signals:
    // The save failed, so the lists may no longer match the disk.
    void saveFailed();

private:
    const Library& library_;
    QWidget* window_;
    TextViewer& viewer_;
};

}  // namespace corvane
