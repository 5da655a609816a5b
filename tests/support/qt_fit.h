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

}  // namespace jubilora::test
