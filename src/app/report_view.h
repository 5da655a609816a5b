#pragma once
// ivReport: the report picture at scale 1, anchored top-left, with both scroll bars and
// a size grip; the area beyond the picture shows the view's own colour.

#include <QImage>
#include <QScrollArea>
#include <functional>

namespace jubilora {

class ReportCanvas;

class ReportView : public QScrollArea {
  Q_OBJECT
 public:
  static constexpr int WheelStep = 10;

  explicit ReportView(QWidget* parent = nullptr);

  void SetPicture(QImage picture, QColor viewColor);
  const QImage& Picture() const;
  // Top-left, then down by `offset` (limited to the scroll range).
  void ScrollTo(int offset);
  // The view's size that shows the whole picture without scrolling.
  QSize SizeFor(QSize picture) const;
  // Called once, after the first picture reached the screen.
  void OnFirstPaint(std::function<void()> callback);

 protected:
  void wheelEvent(QWheelEvent* event) override;

 private:
  ReportCanvas* canvas_;
  int wheelRemainder_ = 0;
};

}  // namespace jubilora
