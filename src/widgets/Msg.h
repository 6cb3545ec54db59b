#pragma once

#include <QString>

class QWidget;

// The program's message boxes: exact text and title, OK or Sim/Não with Sim as
// the default, an optional icon, always modal.
namespace corvane::msg {

enum class Icon { None, Question, Information, Warning, Critical };

const QString& appTitle();

void ok(QWidget* parent, const QString& text, const QString& title = appTitle(),
        Icon icon = Icon::None);

// True when the user answers Sim.
bool yesNo(QWidget* parent, const QString& text, const QString& title = appTitle(),
           Icon icon = Icon::None);
// The same with Não as the default, for the question where a hasty Enter would
// throw text away.
bool yesNoDefaultNo(QWidget* parent, const QString& text, const QString& title = appTitle(),
                    Icon icon = Icon::None);

}  // namespace corvane::msg
