#include "ui/answer_dialog.h"

#include <utility>
#include <vector>

#include <QApplication>
#include <QDialog>
#include <QFont>
#include <QFontMetrics>
#include <QFrame>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QStyle>

#include "ui/answer_geometry.h"
#include "ui/error_report.h"

namespace jubilora {

namespace {

constexpr const char* DialogFontFamily = "Tahoma";
constexpr int DialogFontPoints = 8;
constexpr int RefTopInterval = 100;
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

QString MessageLines(QString message) {
  message.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  message.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return message;
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

QRect ToQRect(const GeometryRect& r) { return {r.left, r.top, r.width, r.height}; }

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
    QFont font(QString::fromLatin1(DialogFontFamily));
    font.setPointSize(DialogFontPoints);
    setFont(font);

    const QString lines = MessageLines(message);
    const AnswerGeometry g = ComputeAnswerGeometry(Measure(lines, buttons, icon != IconKind::None));

    // Created first, so that it lies beneath the icon and the message.
    auto* frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("bvlFrame"));
    frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    frame->setLineWidth(1);
    frame->setGeometry(ToQRect(g.frame));

    if (g.icon) {
      auto* image = new QLabel(this);
      image->setObjectName(QStringLiteral("imgIcon"));
      image->setAlignment(Qt::AlignCenter);
      const QIcon systemIcon = style()->standardIcon(PixmapOf(icon), nullptr, this);
      image->setPixmap(systemIcon.pixmap(QSize(g.icon->width, g.icon->height), devicePixelRatio()));
      image->setGeometry(ToQRect(*g.icon));
    }

    auto* label = new QLabel(this);
    label->setObjectName(QStringLiteral("labMessage"));
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(false);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    label->setText(lines);
    label->setGeometry(ToQRect(g.label));

    for (qsizetype i = 0; i < buttons.size(); ++i) {
      auto* button = new TbtnAnswer(buttons[i], canCancel, this);
      button->setObjectName(QStringLiteral("btnAnswer%1").arg(i + 1));
      button->setGeometry(ToQRect(g.buttons[static_cast<std::size_t>(i)]));
      const int number = static_cast<int>(i) + 1;
      if (number == helpIndex) {
        connect(button, &QPushButton::clicked, this, [this] { RunHelp(this, helpPath_); });
      } else {
        connect(button, &QPushButton::clicked, this, [this, number] { done(number); });
      }
      buttons_.push_back(button);
    }
    setFixedSize(g.client.width, g.client.height);
    buttons_.front()->setFocus();
  }

  // Escape and the close box end here; without canCancel the dialog is answered by a button.
  void reject() override {
    if (canCancel_) QDialog::reject();
  }

 private:
  AnswerTextSizes Measure(const QString& lines, const QStringList& buttons, bool hasIcon) const {
    const QFontMetrics metrics = fontMetrics();
    AnswerTextSizes sizes;
    const QSize text = metrics.size(0, lines);
    sizes.message = {text.width(), text.height()};
    for (const QString& caption : buttons) {
      // The access-key mark is not drawn, so it takes no room.
      const QSize shown = metrics.size(Qt::TextShowMnemonic, caption);
      sizes.captions.push_back({shown.width(), shown.height()});
    }
    sizes.hasIcon = hasIcon;
    return sizes;
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

TbtnAnswer::TbtnAnswer(const QString& caption, bool canCancel, QWidget* parent)
    : QPushButton(caption, parent), canCancel_(canCancel) {
  setAutoDefault(true);
}

void TbtnAnswer::keyPressEvent(QKeyEvent* event) {
  if (event->key() != Qt::Key_Escape) {
    QPushButton::keyPressEvent(event);
    return;
  }
  event->accept();
  if (!canCancel_) return;
  if (auto* dialog = qobject_cast<QDialog*>(window())) dialog->reject();
}

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

  // Being the owner's child, the dialog is centred over the owner's window (and kept on its
  // screen) by QDialog itself when it is shown.
  QPointer<AnswerWindow> dialog =
      new AnswerWindow(owner, caption, message, buttons, icon, canCancel, helpIndex, helpPath);
  auto* refTop = new TRefTop(dialog);
  refTop->start();
  // exec() yields 0 (rejected) for every way of closing other than a button.
  const int answer = dialog->exec();
  delete dialog.data();
  return answer;
}

}  // namespace jubilora
