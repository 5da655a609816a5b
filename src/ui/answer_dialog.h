#pragma once
// The answer dialog: every question, notice and handled failure of the program is asked
// through it. It is built anew for each call and destroyed before the call returns.

#include <functional>

#include <QPushButton>
#include <QString>
#include <QStringList>
#include <QTimer>

#include "core/ports.h"

namespace jubilora {

// The result is the 1-based number of the button pressed (1 = the topmost); 0 when the dialog
// was closed otherwise (Escape or the close box, offered only when canCancel, or any other way);
// -1 at once, without showing anything, while another answer dialog is open.
// The message's lines are separated by CR LF and never wrapped; "&" in a caption marks its
// access key. helpIndex names the 1-based button that opens help with helpPath instead of
// answering; the dialog stays open then.
int AnswerDialog(QWidget* owner, const QString& caption, const QString& message,
                 const QStringList& buttons, IconKind icon, bool canCancel = true, int helpIndex = 0,
                 const QString& helpPath = {});

// What the help button does; it is called with the open dialog and the call's help path, and
// the dialog stays open. An empty function restores the default, which reports that no help
// viewer is available. Returns the previous handler.
using AnswerHelpHandler = std::function<void(QWidget* dialog, const QString& helpPath)>;
AnswerHelpHandler SetAnswerHelpHandler(AnswerHelpHandler handler);

// A button of the answer dialog's column. Enter and Space press the focused one; Escape is
// the dialog's.
class TbtnAnswer : public QPushButton {
  Q_OBJECT

 public:
  TbtnAnswer(const QString& caption, QWidget* parent);
};

// Keeps the dialog above other always-on-top windows: every 100 ms while it is showing it is
// raised, without being activated.
class TRefTop : public QTimer {
  Q_OBJECT

 public:
  explicit TRefTop(QWidget* window);

 private:
  void RefTopTimer();

  QWidget* window_;
};

}  // namespace jubilora
