#pragma once
// Whether a laid-out window shows its texts whole.

#include <string>
#include <vector>

class QWidget;

namespace jubilora::test {

// The visible labels, buttons, check boxes and group titles of the window whose text is wider
// than the room its widget gives it, as "objectName: text". Run it after the layout has run
// (the window shown, or its layout activated).
std::vector<std::string> TextsThatDoNotFit(const QWidget& window);

// The visible inputs (line edits, spin boxes, drop-down lists) of the window that have neither an
// accessible name nor a label whose buddy they are, as object names: a screen reader could not
// name them, nor an access key reach them.
std::vector<std::string> InputsWithoutName(const QWidget& window);

}  // namespace jubilora::test
