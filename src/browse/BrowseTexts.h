#pragma once

#include <QString>

// What the browsing face says above the lists and over the viewer.
namespace corvane::browseTexts {

// "name: 12 scripts"
QString categoryLine(const QString& name, qint64 scriptCount);
// The size of a category's scripts; "0 bytes" for none.
QString categorySize(qint64 totalBytes);
// The header's line while nothing is chosen after the search closes.
QString chooseCategory();
// The viewer's heading, in its column or widened over the lists.
QString viewerHeading(bool enlarged);

}  // namespace corvane::browseTexts
