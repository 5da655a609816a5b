#include "app/report_view.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QSizeGrip>
#include <QTimer>
#include <QWheelEvent>
#include <cmath>
#include <utility>

namespace jubilora {

namespace {

constexpr const char* AccessibleName = "Reminders";
constexpr int ArrowStep = 20;

// The device pixels that a rectangle of the viewport covers, whole pixels included.
QRect DeviceRect(const QRect& rect, double ratio) {
  const int left = static_cast<int>(std::floor(rect.left() * ratio));
  const int top = static_cast<int>(std::floor(rect.top() * ratio));
  const int right = static_cast<int>(std::ceil((rect.right() + 1) * ratio));
  const int bottom = static_cast<int>(std::ceil((rect.bottom() + 1) * ratio));
  return QRect(left, top, right - left, bottom - top);
}

}  // namespace

ReportView::ReportView(QWidget* parent) : QAbstractScrollArea(parent) {
  setObjectName("ivReport");
  setAccessibleName(AccessibleName);
  setFrameShape(QFrame::NoFrame);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setCornerWidget(new QSizeGrip(this));
  setFocusPolicy(Qt::StrongFocus);
  // The arrow keys move the picture as far as they always did.
  horizontalScrollBar()->setSingleStep(ArrowStep);
  verticalScrollBar()->setSingleStep(ArrowStep);
  // Every pixel is ours: no background fill before painting.
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
}

ReportView::~ReportView() = default;

void ReportView::SetReport(ReportLayout layout, const TCfg& cfg, QColor viewColor, const QString& text) {
  painter_ = std::make_unique<ReportPainter>(std::move(layout), cfg);
  viewColor_ = viewColor;
  setAccessibleDescription(text);
  UpdateScrollBars();
  updateGeometry();
  viewport()->update();
}

QSize ReportView::PictureSize() const { return painter_ ? painter_->Size() : QSize(0, 0); }

QSize ReportView::sizeHint() const {
  return PictureSize() + QSize(verticalScrollBar()->sizeHint().width(), horizontalScrollBar()->sizeHint().height());
}

void ReportView::ScrollTo(int offset) {
  const auto apply = [this, offset] {
    horizontalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(offset);
  };
  apply();
  // A hidden view learns its size, and so its scroll range, only when shown; try again then.
  QTimer::singleShot(0, this, apply);
}

void ReportView::UpdateScrollBars() {
  const QSize picture = PictureSize();
  const QSize view = viewport()->size();
  horizontalScrollBar()->setRange(0, std::max(0, picture.width() - view.width()));
  horizontalScrollBar()->setPageStep(view.width());
  verticalScrollBar()->setRange(0, std::max(0, picture.height() - view.height()));
  verticalScrollBar()->setPageStep(view.height());
}

void ReportView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  UpdateScrollBars();
}

void ReportView::scrollContentsBy(int dx, int dy) { viewport()->scroll(dx, dy); }

const KindIcons& ReportView::IconsAt(double ratio) {
  if (!icons_ || icons_->Ratio() != ratio) icons_ = std::make_unique<KindIcons>(ratio);
  return *icons_;
}

void ReportView::paintEvent(QPaintEvent* event) {
  QPainter painter(viewport());
  const double ratio = viewport()->devicePixelRatioF();
  const KindIcons& icons = IconsAt(ratio);
  // Drawn in device pixels, so that each picture pixel lands on whole pixels at any ratio.
  painter.setWorldTransform(QTransform::fromScale(1 / ratio, 1 / ratio));
  // The picture's device pixel at the viewport's top-left.
  const QPoint scrolled(static_cast<int>(std::floor(horizontalScrollBar()->value() * ratio)),
                        static_cast<int>(std::floor(verticalScrollBar()->value() * ratio)));
  lastPaintOperations_ = 0;
  for (const QRect& exposed : event->region()) {
    const QRect device = DeviceRect(exposed, ratio);
    QImage tile(device.size(), QImage::Format_ARGB32);
    tile.fill(viewColor_);
    if (painter_) lastPaintOperations_ += painter_->Paint(tile, device.topLeft() + scrolled, icons);
    painter.drawImage(device.topLeft(), tile);
  }
  if (painter_) Q_EMIT Painted();
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
