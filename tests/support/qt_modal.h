#pragma once
// Scripts for the modal windows a test opens: a script that leaves its window open fails the
// test instead of hanging it.

#include <chrono>
#include <functional>
#include <memory>

class QObject;
class QWidget;

namespace jubilora::test {

// Runs `script` on the modal window that is active once the next event loop runs. After
// `timeout` every modal window still open is closed (a dialog with -99) and the test fails.
// Both are dropped with the returned guard.
[[nodiscard]] std::unique_ptr<QObject> InNextModal(std::function<void(QWidget*)> script,
                                                   std::chrono::milliseconds timeout = std::chrono::seconds(5));

// `open()` with `script` run in the modal window it shows; gives what `open` returns.
template <typename Open>
auto WhileModal(std::function<void(QWidget*)> script, Open open) {
  const auto guard = InNextModal(std::move(script));
  return open();
}

}  // namespace jubilora::test
