#include "ui/answer_dialog.h"

#include <utility>
#include <vector>

#include <QApplication>
#include <QBoxLayout>
#include <QDialog>
#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QPointer>
#include <QStyle>

#include "report/render/report_painter.h"
#include "ui/error_report.h"
#include "ui/qt_text.h"
#include "ui/window_placement.h"

namespace jubilora {

namespace {

constexpr int RefTopInterval = 100;
// Room around the frame and between the buttons, and the text's distance from the frame.
constexpr int Gap = 8;
constexpr int Inset = 16;
// No button is smaller than this, whatever its caption.
constexpr int MinButtonWidth = 65;
constexpr int MinButtonHeight = 25;
constexpr const char* NoHelpViewer = "No help viewer is set up";
// Used only when a caller gives no button at all: a dialog without buttons and without
// Escape could never be closed.
constexpr const char* FallbackButton = "OK";

// Private to this unit: a call arriving while a dialog is open (from a timer, say) must not nest.
bool busy = false;

AnswerHelpHandler& HelpHandler() {
  static AnswerHelpHandler handler;
  return handler;
}

void RunHelp(QWidget* dialog, const QString& helpPath) {
  if (HelpHandler()) {
    HelpHandler()(dialog, helpPath);
  } else {
    ShowErrorReport(dialog, QString::fromLatin1(NoHelpViewer));
  }
}

QStyle::StandardPixmap PixmapOf(IconKind icon) {
  switch (icon) {
    case IconKind::Information:
      return QStyle::SP_MessageBoxInformation;
    case IconKind::Question:
      return QStyle::SP_MessageBoxQuestion;
    case IconKind::Warning:
      return QStyle::SP_MessageBoxWarning;
    case IconKind::Error:
    case IconKind::None:
      break;
  }
  return QStyle::SP_MessageBoxCritical;
}

const char* OwnPictureOf(IconKind icon) {
  switch (icon) {
    case IconKind::Information:
      return ":/icons/dialog_information.svg";
    case IconKind::Question:
      return ":/icons/dialog_question.svg";
    case IconKind::Warning:
      return ":/icons/dialog_warning.svg";
    case IconKind::Error:
    case IconKind::None:
      break;
  }
  return ":/icons/dialog_error.svg";
}

// The desktop's icon where it comes large enough for the screen's pixels; otherwise our own
// drawing, since a small picture blown up on a HiDPI screen looks pixelated.
QPixmap IconPixmap(const QWidget& dialog, IconKind icon, int size) {
  const qreal ratio = dialog.devicePixelRatioF();
  const QSize pixels = QSize(size, size) * ratio;
  QIcon picture = dialog.style()->standardIcon(PixmapOf(icon), nullptr, &dialog);
  if (picture.actualSize(pixels).width() < pixels.width()) {
    InitResources();
    picture = QIcon(QString::fromLatin1(OwnPictureOf(icon)));
  }
  return picture.pixmap(QSize(size, size), ratio);
}

Qt::WindowFlags DialogFlags(bool canCancel) {
  Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowStaysOnTopHint;
  if (canCancel) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
  return flags;
}

class AnswerWindow : public QDialog {
 public:
  AnswerWindow(QWidget* owner, const QString& caption, const QString& message, QStringList buttons,
               IconKind icon, bool canCancel, int helpIndex, QString helpPath)
      : QDialog(owner, DialogFlags(canCancel)), canCancel_(canCancel), helpPath_(std::move(helpPath)) {
    if (buttons.isEmpty()) buttons.append(QString::fromLatin1(FallbackButton));
    setWindowTitle(QLatin1Char(' ') + caption);
    const QString lines = WithLineFeeds(message);
    setAccessibleDescription(lines);

    auto* outer = new QHBoxLayout(this);
    outer->setContentsMargins(Gap, Gap, Gap, Gap);
    outer->setSpacing(Gap);
    // The window is exactly as large as its contents need, and not resizable.
    outer->setSizeConstraint(QLayout::SetFixedSize);
    outer->addWidget(MessageFrame(lines, icon));
    outer->addLayout(ButtonColumn(buttons, helpIndex));
    buttons_.front()->setFocus();
  }

  // Escape and the close box end here; without canCancel the dialog is answered by a button.
  void reject() override {
    if (canCancel_) QDialog::reject();
  }

 private:
  QFrame* MessageFrame(const QString& lines, IconKind icon) {
    auto* frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("bvlFrame"));
    frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    auto* inside = new QHBoxLayout(frame);
    const int margin = Inset - frame->frameWidth();
    inside->setContentsMargins(margin, margin, margin, margin);
    inside->setSpacing(Inset);
    const int iconSize = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    if (icon != IconKind::None) {
      auto* image = new QLabel(frame);
      image->setObjectName(QStringLiteral("imgIcon"));
      image->setPixmap(IconPixmap(*this, icon, iconSize));
      inside->addWidget(image, 0, Qt::AlignTop);
    }
    auto* label = new QLabel(lines, frame);
    label->setObjectName(QStringLiteral("labMessage"));
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // As tall as an icon at least, so that a one-line message sits in the same frame either way.
    label->setMinimumHeight(iconSize);
    inside->addWidget(label);
    return frame;
  }

  QVBoxLayout* ButtonColumn(const QStringList& captions, int helpIndex) {
    auto* column = new QVBoxLayout;
    column->setSpacing(Gap);
    // A message taller than the column keeps the last button level with the frame's bottom.
    column->addStretch();
    for (qsizetype i = 0; i < captions.size(); ++i) {
      auto* button = new TbtnAnswer(captions[i], this);
      const int number = static_cast<int>(i) + 1;
      button->setObjectName(QStringLiteral("btnAnswer%1").arg(number));
      if (number == helpIndex) {
        connect(button, &QPushButton::clicked, this, [this] { RunHelp(this, helpPath_); });
      } else {
        connect(button, &QPushButton::clicked, this, [this, number] { done(number); });
      }
      column->addWidget(button);
      buttons_.push_back(button);
    }
    // Every button as large as the largest caption needs.
    QSize size(MinButtonWidth, MinButtonHeight);
    for (const TbtnAnswer* button : buttons_) size = size.expandedTo(button->sizeHint());
    for (TbtnAnswer* button : buttons_) button->setMinimumSize(size);
    return column;
  }

  bool canCancel_;
  QString helpPath_;
  std::vector<TbtnAnswer*> buttons_;
};

class BusyGuard {
 public:
  BusyGuard() { busy = true; }
  ~BusyGuard() { busy = false; }
  BusyGuard(const BusyGuard&) = delete;
  BusyGuard& operator=(const BusyGuard&) = delete;
};

}  // namespace

// A push button in a dialog is auto-default already: Enter presses the focused one.
TbtnAnswer::TbtnAnswer(const QString& caption, QWidget* parent) : QPushButton(caption, parent) {}

TRefTop::TRefTop(QWidget* window) : QTimer(window), window_(window) {
  setInterval(RefTopInterval);
  connect(this, &QTimer::timeout, this, [this] { RefTopTimer(); });
}

void TRefTop::RefTopTimer() {
  // A report opened from the dialog (its help button) sits above it; leave that one on top.
  if (window_->isVisible() && QApplication::activeModalWidget() == window_) window_->raise();
}

AnswerHelpHandler SetAnswerHelpHandler(AnswerHelpHandler handler) {
  return std::exchange(HelpHandler(), std::move(handler));
}

int AnswerDialog(QWidget* owner, const QString& caption, const QString& message,
                 const QStringList& buttons, IconKind icon, bool canCancel, int helpIndex,
                 const QString& helpPath) {
  if (busy) return -1;
  const BusyGuard guard;

  QPointer<AnswerWindow> dialog =
      new AnswerWindow(owner, caption, message, buttons, icon, canCancel, helpIndex, helpPath);
  dialog->adjustSize();
  PlaceCentred(dialog, owner);
  auto* refTop = new TRefTop(dialog);
  refTop->start();
  // exec() yields 0 (rejected) for every way of closing other than a button.
  const int answer = dialog->exec();
  delete dialog.data();
  return answer;
}

}  // namespace jubilora
