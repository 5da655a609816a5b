#include "support/qt_app.h"

#include <QApplication>
#include <cstdlib>

namespace jubilora::test {

QApplication& TestApplication() {
  if (auto* existing = qobject_cast<QApplication*>(QCoreApplication::instance())) return *existing;
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  static int argc = 1;
  static char name[] = "jubilora-test";
  static char* argv[] = {name, nullptr};
  // Never destroyed: tearing Qt down after the tests have run only invites crashes at exit.
  static auto* app = new QApplication(argc, argv);
  return *app;
}

}  // namespace jubilora::test
