#include "ui/error_report.h"

#include <utility>

#include <QMessageBox>
#include <QWidget>

#include "core/product.h"

namespace jubilora {

namespace {

constexpr const char* ReportTitle = ProductName;

ErrorReportPresenter& Presenter() {
  static ErrorReportPresenter presenter;
  return presenter;
}

void ShowMessageBox(QWidget* owner, const QString& shownText) {
  QMessageBox box(QMessageBox::Critical, QString::fromLatin1(ReportTitle), shownText, QMessageBox::Ok,
                  owner);
  // File names and system texts may hold "<"; they are never markup.
  box.setTextFormat(Qt::PlainText);
  // An owner that keeps itself on top (the answer dialog) would otherwise cover its own report.
  if (owner != nullptr && owner->window()->windowFlags().testFlag(Qt::WindowStaysOnTopHint)) {
    box.setWindowFlag(Qt::WindowStaysOnTopHint, true);
  }
  box.exec();
}

}  // namespace

QString WithFinalPeriod(const QString& text) {
  if (!text.isEmpty() && text.back() > QLatin1Char('.')) return text + QLatin1Char('.');
  return text;
}

void ShowErrorReport(QWidget* owner, const QString& text) {
  const QString shown = WithFinalPeriod(text);
  if (Presenter()) {
    Presenter()(owner, shown);
  } else {
    ShowMessageBox(owner, shown);
  }
}

ErrorReportPresenter SetErrorReportPresenter(ErrorReportPresenter presenter) {
  return std::exchange(Presenter(), std::move(presenter));
}

}  // namespace jubilora
