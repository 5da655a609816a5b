#include "ui/window_placement.h"

#include <algorithm>

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace jubilora {

namespace {

QMargins OwnFrame(const QWidget* window) {
  // The window system's answer is fresh; the widget's own learns of a frame only when the window
  // next moves or resizes.
  if (const QWindow* handle = window->windowHandle(); handle != nullptr && window->isVisible())
    return handle->frameMargins();
  const QRect outer = window->frameGeometry();
  const QRect inner = window->geometry();
  return {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
          outer.bottom() - inner.bottom()};
}

const QWidget* VisibleOwner(const QWidget* owner) {
  if (owner == nullptr) return nullptr;
  const QWidget* window = owner->window();
  return window->isVisible() ? window : nullptr;
}

// The available geometry (the screen less its panels) of the screen the widget is on, or of
// the primary screen.
QRect WorkArea(const QWidget* widget) {
  QScreen* screen = widget != nullptr ? widget->screen() : nullptr;
  if (screen == nullptr) screen = QGuiApplication::primaryScreen();
  return screen != nullptr ? screen->availableGeometry() : QRect();
}

}  // namespace

QMargins FrameMargins(const QWidget* window, const QWidget* owner) {
  const QMargins own = OwnFrame(window);
  if (!own.isNull()) return own;
  const QWidget* shown = VisibleOwner(owner);
  return shown != nullptr && shown != window ? OwnFrame(shown) : own;
}

QSize LargestClientSize(const QWidget* window, const QWidget* owner) {
  const QWidget* shown = VisibleOwner(owner);
  const QRect area = WorkArea(shown != nullptr ? shown : window);
  return area.size().shrunkBy(FrameMargins(window, owner)).expandedTo(QSize(0, 0));
}

void PlaceCentred(QWidget* window, const QWidget* owner) {
  const QWidget* shown = VisibleOwner(owner);
  if (shown == window) shown = nullptr;
  const QRect area = WorkArea(shown != nullptr ? shown : window);
  const QRect over = shown != nullptr ? shown->frameGeometry() : area;
  const QMargins frame = FrameMargins(window, shown);
  const QSize outer = window->size().grownBy(frame);
  QPoint topLeft(over.x() + (over.width() - outer.width()) / 2, over.y() + (over.height() - outer.height()) / 2);
  if (area.isValid()) {
    // A window hanging over the edge could not be moved back by its title bar.
    const QPoint last(std::max(area.left(), area.right() + 1 - outer.width()),
                      std::max(area.top(), area.bottom() + 1 - outer.height()));
    topLeft = {std::clamp(topLeft.x(), area.left(), last.x()), std::clamp(topLeft.y(), area.top(), last.y())};
  }
  // The client goes inside the frame as this helper sees it: a window's own idea of its frame
  // lags behind when a window manager frames it late.
  window->setGeometry(QRect(topLeft + QPoint(frame.left(), frame.top()), window->size()));
}

}  // namespace jubilora
