#include "ui/error_report.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include "support/qt_app.h"

namespace jubilora {
namespace {

// One final period, only after a character that sorts after it; file names with angle
// brackets show as they are, in an error box with one OK.
TEST(ErrorReport, ShowsThePlainTextWithOneFinalPeriodInAnErrorBox) {
  for (const char* ended : {"Done.", "Stop!", "(code 2)", "in use,", ""}) EXPECT_EQ(WithFinalPeriod(ended), ended);
  EXPECT_EQ(WithFinalPeriod(QString::fromUtf8("Fichier ferm\u00E9")), QString::fromUtf8("Fichier ferm\u00E9."));
  test::TestApplication();
  QString shown;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    if (box->icon() == QMessageBox::Critical && box->buttons().size() == 1 && box->textFormat() == Qt::PlainText)
      shown = box->text();
    box->button(QMessageBox::Ok)->click();
  });
  ShowErrorReport(nullptr, QStringLiteral("Cannot open <backup> file/"));
  EXPECT_EQ(shown, QStringLiteral("Cannot open <backup> file/."));
}

}  // namespace
}  // namespace jubilora
