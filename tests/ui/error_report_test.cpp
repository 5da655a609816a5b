#include "ui/error_report.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <utility>

#include "support/qt_app.h"

namespace jubilora {
namespace {

TEST(WithFinalPeriod, AddsOneOnlyAfterCharactersSortingAfterThePeriod) {
  const std::pair<QString, QString> cases[] = {
      {"Access denied", "Access denied."}, {"Disk full/", "Disk full/."}, {"Fichier ferm\u00E9", "Fichier ferm\u00E9."},
      {"Done.", "Done."}, {"Stop!", "Stop!"}, {"(code 2)", "(code 2)"}, {"in use,", "in use,"}, {"", ""},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(WithFinalPeriod(text), expected) << text.toStdString();
}

// An error box with one OK, whose file names with angle brackets show as they are.
TEST(ErrorReport, ShowsThePlainTextInAnErrorBoxWithOneOk) {
  test::TestApplication();
  QString shown;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    if (box->icon() == QMessageBox::Critical && box->buttons().size() == 1 && box->textFormat() == Qt::PlainText)
      shown = box->text();
    box->button(QMessageBox::Ok)->click();
  });
  ShowErrorReport(nullptr, QStringLiteral("Cannot open <backup> file"));
  EXPECT_EQ(shown, QStringLiteral("Cannot open <backup> file."));
}

}  // namespace
}  // namespace jubilora
