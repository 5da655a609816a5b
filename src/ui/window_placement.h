#pragma once
// Where a top-level window goes: centred on its owner or on the work area, and never past the
// work area's edges, frame included. Every window of the program is placed here.

#include <QMargins>
#include <QSize>

class QWidget;

namespace jubilora {

// The window manager's frame around a window. Before its first showing a window has no frame
// yet; it will get one like its owner's, so the owner's is taken then.
QMargins FrameMargins(const QWidget* window, const QWidget* owner = nullptr);

// The largest client size whose frame still fits the work area.
QSize LargestClientSize(const QWidget* window, const QWidget* owner = nullptr);

// Centres the window, frame included, on the owner's window when that is visible, otherwise on
// the work area; a window larger than the work area keeps its top-left corner on it.
void PlaceCentred(QWidget* window, const QWidget* owner = nullptr);

}  // namespace jubilora
