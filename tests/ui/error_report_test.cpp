#include "ui/error_report.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>
#include "support/qt_app.h"

namespace jubilora {
namespace {

QApplication& App() { return test::TestApplication(); }

TEST(WithFinalPeriod, AddsOneOnlyAfterCharactersSortingAfterThePeriod) {
  EXPECT_EQ(WithFinalPeriod(QStringLiteral("Access denied")), QStringLiteral("Access denied."));
  EXPECT_EQ(WithFinalPeriod(QStringLiteral("a")), QStringLiteral("a."));
  EXPECT_EQ(WithFinalPeriod(QStringLiteral("Disk full/")), QStringLiteral("Disk full/."));
  EXPECT_EQ(WithFinalPeriod(QStringLiteral("Error 5")), QStringLiteral("Error 5."));
  EXPECT_EQ(WithFinalPeriod(QStringLiteral("Fichier fermé")), QStringLiteral("Fichier fermé."));
  // "." itself and everything below it in the code table keep the text as it is.
  EXPECT_EQ(WithFinalPeriod(QStringLiteral("Done.")), QStringLiteral("Done."));
  EXPECT_EQ(WithFinalPeriod(QStringLiteral(".")), QStringLiteral("."));
  EXPECT_EQ(WithFinalPeriod(QStringLiteral("Stop!")), QStringLiteral("Stop!"));
  EXPECT_EQ(WithFinalPeriod(QStringLiteral("(code 2)")), QStringLiteral("(code 2)"));
  EXPECT_EQ(WithFinalPeriod(QStringLiteral("in use,")), QStringLiteral("in use,"));
  EXPECT_EQ(WithFinalPeriod(QStringLiteral("line\n")), QStringLiteral("line\n"));
  EXPECT_EQ(WithFinalPeriod(QString()), QString());
}

class ErrorReportTest : public ::testing::Test {
 protected:
  void SetUp() override { App(); }
  void TearDown() override { SetErrorReportPresenter({}); }
};

TEST_F(ErrorReportTest, ShowsTheStandardErrorBoxWithOneOk) {
  QWidget owner;
  owner.show();
  QString title;
  QString text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  int buttonCount = 0;
  Qt::TextFormat format = Qt::AutoText;
  QWidget* parent = nullptr;
  bool closedByOk = false;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) return;
    title = box->windowTitle();
    text = box->text();
    icon = box->icon();
    buttonCount = static_cast<int>(box->buttons().size());
    format = box->textFormat();
    parent = box->parentWidget();
    if (QAbstractButton* ok = box->button(QMessageBox::Ok)) {
      ok->click();
      closedByOk = true;
    }
  });
  QTimer::singleShot(5000, [] {
    if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
  });
  ShowErrorReport(&owner, QStringLiteral("Cannot open <backup> file"));
  EXPECT_EQ(title, QStringLiteral("Jubilora"));
  EXPECT_EQ(text, QStringLiteral("Cannot open <backup> file."));
  EXPECT_EQ(icon, QMessageBox::Critical);
  EXPECT_EQ(buttonCount, 1);
  EXPECT_EQ(format, Qt::PlainText);
  EXPECT_EQ(parent, &owner);
  EXPECT_TRUE(closedByOk);
}

TEST_F(ErrorReportTest, PresenterReceivesTheShownTextInsteadOfTheBox) {
  QWidget* seenOwner = nullptr;
  QString seenText;
  int calls = 0;
  SetErrorReportPresenter([&](QWidget* owner, const QString& text) {
    seenOwner = owner;
    seenText = text;
    ++calls;
  });
  QWidget owner;
  ShowErrorReport(&owner, QStringLiteral("The file is in use"));
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(seenOwner, &owner);
  EXPECT_EQ(seenText, QStringLiteral("The file is in use."));
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

}  // namespace
}  // namespace jubilora
