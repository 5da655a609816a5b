#pragma once
// ivReport: the report picture at scale 1 (sharp at any device pixel ratio), anchored
// top-left, with both scroll bars and a size grip; the area beyond the picture shows the
// view's own colour. Only the part that shows is ever painted.

#include <QAbstractScrollArea>
#include <QColor>
#include <QString>
#include <memory>

#include "report/render/report_painter.h"

namespace jubilora {

class ReportView : public QAbstractScrollArea {
  Q_OBJECT
 public:
  static constexpr int WheelStep = 10;

  explicit ReportView(QWidget* parent = nullptr);
  ~ReportView() override;

  // A rebuilt report; `text` is what a screen reader reads out for it.
  void SetReport(ReportLayout layout, const TCfg& cfg, QColor viewColor, const QString& text);
  QSize PictureSize() const;
  // Top-left, then down by `offset` (limited to the scroll range).
  void ScrollTo(int offset);
  // The whole picture without scrolling.
  QSize sizeHint() const override;
  // How many drawing operations the last paint drew.
  int LastPaintOperations() const { return lastPaintOperations_; }

 Q_SIGNALS:
  // A picture reached the screen.
  void Painted();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  void UpdateScrollBars();
  const KindIcons& IconsAt(double ratio);

  std::unique_ptr<ReportPainter> painter_;
  std::unique_ptr<KindIcons> icons_;
  QColor viewColor_;
  int lastPaintOperations_ = 0;
  int wheelRemainder_ = 0;
};

}  // namespace jubilora
