#pragma once

#include "library/Fs.h"

#include <QObject>
#include <QString>

class QListWidget;

namespace corvane {

class MainWindow;

// Saving the viewer's text into its script, and copying it. btnEditText saves
// into the script selected in the browsing lists, btnEditText2 into the search
// result selected in lstFile02.
class TextOps : public QObject {
    Q_OBJECT
public:
    explicit TextOps(MainWindow& window);

private:
    struct Target {
        QString name;
        QString category;
        QByteArray categoryKey;
        fs::Path path;
    };
    Target browsingTarget() const;
    Target resultTarget() const;
    void save(const QListWidget* list, const Target& target, bool fromBrowsing);
    void copy();

    MainWindow& window_;
};

}  // namespace corvane
