#include "support/qt_modal.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QTimer>

namespace jubilora::test {

std::unique_ptr<QObject> InNextModal(std::function<void(QWidget*)> script, std::chrono::milliseconds timeout) {
  auto scope = std::make_unique<QObject>();
  QTimer::singleShot(0, scope.get(), [script = std::move(script)] { script(QApplication::activeModalWidget()); });
  QTimer::singleShot(timeout, scope.get(), [] {
    ADD_FAILURE() << "a modal window was left open";
    // A window that refuses to close (no way to cancel) must not keep this loop going.
    for (int tries = 0; tries < 8; ++tries) {
      QWidget* modal = QApplication::activeModalWidget();
      if (modal == nullptr) break;
      if (auto* dialog = qobject_cast<QDialog*>(modal)) {
        dialog->done(-99);
      } else {
        modal->close();
      }
    }
  });
  return scope;
}

}  // namespace jubilora::test
