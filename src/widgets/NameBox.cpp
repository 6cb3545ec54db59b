#include "widgets/NameBox.h"

#include "library/Names.h"

#include <QKeyEvent>
#include <QValidator>

namespace corvane {

// The one filter of a name box. QLineEdit hands every change to validate() and
// adopts the text it returns; the inserted part is found by comparing with the
// text accepted before, so only that part is filtered and cut.
class NameValidator : public QValidator {
public:
    NameValidator(int limit, QObject* parent)
        : QValidator(parent)
        , limit_(limit)
    {
    }

    // Takes text as accepted as it is.
    void adopt(const QString& text) { accepted_ = text; }

    State validate(QString& input, int& pos) const override
    {
        const QString& before = accepted_;
        const qsizetype n = input.size(), m = before.size(), common = qMin(n, m);
        qsizetype prefix = 0, suffix = 0;
        while (prefix < common && input[prefix] == before[prefix])
            ++prefix;
        while (suffix < common && input[n - 1 - suffix] == before[m - 1 - suffix])
            ++suffix;
        if (prefix + suffix > common) {
            // Repeated characters let the change sit in several places: it ends
            // at the cursor where it can.
            prefix = qBound(common - suffix, common - (n - qBound(0, pos, int(n))), prefix);
            suffix = common - prefix;
        }
        const QStringView inserted = QStringView(input).sliced(prefix, n - prefix - suffix);
        QString kept = names::filtered(inserted);
        if (limit_ > 0)
            kept.truncate(qMax(qsizetype(0), limit_ - (prefix + suffix)));
        if (kept.size() != inserted.size()) {
            input = input.left(prefix) + kept + input.right(suffix);
            pos = int(prefix + kept.size());
        }
        // Every change passes here and the box takes what is returned, so this
        // is the text the next change is compared with.
        accepted_ = input;
        return Acceptable;
    }

private:
    int limit_;
    mutable QString accepted_;
};

NameBox::NameBox(const QString& name, int typingLimit, QWidget* parent)
    : QLineEdit(parent)
    , limit_(typingLimit)
    , validator_(new NameValidator(typingLimit, this))
{
    setObjectName(name);
    setValidator(validator_);
}

void NameBox::setTextAsIs(const QString& text)
{
    validator_->adopt(text);
    QLineEdit::setText(text);
}

void NameBox::keyPressEvent(QKeyEvent* event)
{
    const Qt::KeyboardModifiers mods = event->modifiers();
    const bool ctrlLetter = (mods & (Qt::ControlModifier | Qt::MetaModifier))
        && !(mods & Qt::AltModifier) && event->key() >= Qt::Key_A && event->key() <= Qt::Key_Z;
    // Ctrl+letters (copy, paste, cut, select all...) and Enter type control
    // characters, which the key filter refuses.
    if (ctrlLetter || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    // A refused key, or one past the limit, changes nothing: not even the
    // selection it would have replaced.
    const QString text = event->text();
    bool printable = !text.isEmpty();
    bool refused = false;
    for (QChar c : text) {
        printable = printable && c.unicode() >= 0x20 && c.unicode() != 0x7F;
        refused = refused || names::SoNumeros(c.unicode()) == QStringLiteral("0");
    }
    const qsizetype room = limit_ - (this->text().size() - selectedText().size());
    if (printable && (refused || (limit_ > 0 && text.size() > room))) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

}  // namespace corvane
