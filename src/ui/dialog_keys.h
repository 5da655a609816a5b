#pragma once
// Enter accepts and Escape cancels, from anywhere in a dialog: the focus moves to the
// button first, so that a field being edited hands in its value.

#include <functional>

class QPushButton;

namespace jubilora {

// Returns whether the key was one of the two.
bool AcceptOrCancelOnKey(int key, QPushButton* okButton, const std::function<void()>& accept,
                         QPushButton* cancelButton, const std::function<void()>& cancel);

}  // namespace jubilora
