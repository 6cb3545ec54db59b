#pragma once

namespace corvane {

// How the program reads on the accessibility bus (a screen reader's view):
// picture buttons and clickable labels are push buttons with a "press" action;
// decorations (pictures without a spoken name, lines, colour samples) are left
// out of the tree; the main window is a frame. Call once the QApplication exists.
void installAccessibleReadings();

}  // namespace corvane
