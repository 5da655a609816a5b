#include "ui/error_report.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>
#include <utility>
#include <vector>

#include "support/qt_app.h"

namespace jubilora {
namespace {

QApplication& App() { return test::TestApplication(); }

TEST(WithFinalPeriod, AddsOneOnlyAfterCharactersSortingAfterThePeriod) {
  const std::pair<QString, QString> cases[] = {
      {"Access denied", "Access denied."}, {"Disk full/", "Disk full/."}, {"Error 5", "Error 5."},
      {"Fichier ferm\u00E9", "Fichier ferm\u00E9."},
      // "." itself and everything below it in the code table keep the text as it is.
      {"Done.", "Done."}, {"Stop!", "Stop!"}, {"(code 2)", "(code 2)"}, {"in use,", "in use,"},
      {"line\n", "line\n"}, {"", ""},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(WithFinalPeriod(text), expected) << text.toStdString();
}

class ErrorReportTest : public ::testing::Test {
 protected:
  void SetUp() override { App(); }
  void TearDown() override { SetErrorReportPresenter({}); }
};

TEST_F(ErrorReportTest, ShowsTheStandardErrorBoxWithOneOk) {
  QWidget owner;
  owner.show();
  bool closedByOk = false;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) return;
    EXPECT_EQ(box->windowTitle(), QStringLiteral("Jubilora"));
    // Plain text, so that a file name with angle brackets shows as it is.
    EXPECT_EQ(box->text(), QStringLiteral("Cannot open <backup> file."));
    EXPECT_EQ(box->textFormat(), Qt::PlainText);
    EXPECT_EQ(box->icon(), QMessageBox::Critical);
    EXPECT_EQ(box->buttons().size(), 1);
    EXPECT_EQ(box->parentWidget(), &owner);
    if (QAbstractButton* ok = box->button(QMessageBox::Ok)) {
      ok->click();
      closedByOk = true;
    }
  });
  QTimer::singleShot(5000, [] {
    if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
  });
  ShowErrorReport(&owner, QStringLiteral("Cannot open <backup> file"));
  EXPECT_TRUE(closedByOk);
}

TEST_F(ErrorReportTest, PresenterReceivesTheShownTextInsteadOfTheBox) {
  std::vector<std::pair<QWidget*, QString>> seen;
  SetErrorReportPresenter([&](QWidget* owner, const QString& text) { seen.emplace_back(owner, text); });
  QWidget owner;
  ShowErrorReport(&owner, QStringLiteral("The file is in use"));
  EXPECT_EQ(seen, (std::vector<std::pair<QWidget*, QString>>{{&owner, QStringLiteral("The file is in use.")}}));
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

}  // namespace
}  // namespace jubilora
