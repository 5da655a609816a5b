#include "ui/dialog_keys.h"

#include <QPushButton>

namespace jubilora {

bool AcceptOrCancelOnKey(int key, QPushButton* okButton, const std::function<void()>& accept,
                         QPushButton* cancelButton, const std::function<void()>& cancel) {
  switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      okButton->setFocus();
      accept();
      return true;
    case Qt::Key_Escape:
      cancelButton->setFocus();
      cancel();
      return true;
    default:
      return false;
  }
}

}  // namespace jubilora
