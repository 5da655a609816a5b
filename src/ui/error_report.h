#pragma once
// The generic error report: failures a command does not handle itself end in the system's
// standard message box with the program's name as title, an error icon and one OK.

#include <functional>

#include <QString>

class QWidget;

namespace jubilora {

// The text as shown: a final "." is added when the last character sorts after "."
// (so "!", ")" and "." keep their ending); an empty text stays empty.
QString WithFinalPeriod(const QString& text);

// Shows the report modally over the owner's window and returns when it is closed.
void ShowErrorReport(QWidget* owner, const QString& text);

// Replaces the message box, e.g. for a test that must not block. It receives the text as it
// would be shown. An empty function restores the message box. Returns the previous one.
using ErrorReportPresenter = std::function<void(QWidget* owner, const QString& shownText)>;
ErrorReportPresenter SetErrorReportPresenter(ErrorReportPresenter presenter);

}  // namespace jubilora
