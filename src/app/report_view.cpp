#include "app/report_view.h"

#include <QPainter>
#include <QPaintEvent>
#include <QScrollBar>
#include <QSizeGrip>
#include <QTimer>
#include <QWheelEvent>
#include <utility>

namespace jubilora {

class ReportCanvas : public QWidget {
 public:
  explicit ReportCanvas(QWidget* parent) : QWidget(parent) { setAttribute(Qt::WA_OpaquePaintEvent); }

  void SetPicture(QImage picture) {
    picture_ = std::move(picture);
    resize(picture_.size());
    update();
  }
  const QImage& Picture() const { return picture_; }
  std::function<void()> firstPaint;

 protected:
  void paintEvent(QPaintEvent* event) override {
    // Only the exposed part: a long report is a tall picture.
    QPainter painter(this);
    painter.drawImage(event->rect(), picture_, event->rect());
    if (firstPaint && !picture_.isNull()) std::exchange(firstPaint, nullptr)();
  }

 private:
  QImage picture_;
};

ReportView::ReportView(QWidget* parent) : QScrollArea(parent), canvas_(new ReportCanvas(this)) {
  setObjectName("ivReport");
  setFrameShape(QFrame::NoFrame);
  setAlignment(Qt::AlignLeft | Qt::AlignTop);
  setWidgetResizable(false);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setCornerWidget(new QSizeGrip(this));
  setFocusPolicy(Qt::StrongFocus);
  setWidget(canvas_);
  viewport()->setAutoFillBackground(true);
}

void ReportView::SetPicture(QImage picture, QColor viewColor) {
  QPalette palette = viewport()->palette();
  palette.setColor(QPalette::Window, viewColor);
  viewport()->setPalette(palette);
  canvas_->SetPicture(std::move(picture));
}

void ReportView::OnFirstPaint(std::function<void()> callback) { canvas_->firstPaint = std::move(callback); }

const QImage& ReportView::Picture() const { return canvas_->Picture(); }

void ReportView::ScrollTo(int offset) {
  const auto apply = [this, offset] {
    horizontalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(offset);
  };
  apply();
  // A hidden view learns its new scroll range only when shown; try again then.
  QTimer::singleShot(0, this, apply);
}

QSize ReportView::SizeFor(QSize picture) const {
  return picture + QSize(verticalScrollBar()->sizeHint().width(), horizontalScrollBar()->sizeHint().height());
}

void ReportView::wheelEvent(QWheelEvent* event) {
  // One notch (120 units) moves the picture by ten pixels, whatever the desktop's setting.
  wheelRemainder_ += event->angleDelta().y();
  const int notches = wheelRemainder_ / 120;
  wheelRemainder_ -= notches * 120;
  verticalScrollBar()->setValue(verticalScrollBar()->value() - notches * WheelStep);
  event->accept();
}

}  // namespace jubilora
