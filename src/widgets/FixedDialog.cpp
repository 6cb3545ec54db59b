#include "widgets/FixedDialog.h"

#include "widgets/Controls.h"

#include <QIcon>
#include <QKeyEvent>

namespace corvane {

FixedDialog::FixedDialog(QWidget* parent, const char* name, const QString& title, int widthTwips,
                         int heightTwips, Keys keys)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , keys_(keys)
{
    setObjectName(QLatin1String(name));
    setWindowTitle(title);
    setWindowIcon(QIcon(controls::pictureFile("icon.svg")));
    controls::fixClientSize(this, widthTwips, heightTwips);
}

void FixedDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (firstShow_.centre(this))
        firstShown();
}

void FixedDialog::keyPressEvent(QKeyEvent* event)
{
    const bool escape = event->key() == Qt::Key_Escape;
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if ((escape && keys_ != Keys::Usual) || (enter && keys_ == Keys::NoEscapeNoEnter)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace corvane
