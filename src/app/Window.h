#pragma once

class QWidget;

namespace corvane {

// Fixed-size windows: the client size in twips, no resizing.
void fixClientSize(QWidget* window, int widthTwips, int heightTwips);

// Centres a window on the primary screen by its outer size.
void centreOnScreen(QWidget* window);

}  // namespace corvane
