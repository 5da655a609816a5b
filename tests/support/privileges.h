#pragma once
// Running a scenario as an unprivileged user. Root ignores permission bits, and the
// tests often run as root, so scenarios about refused access drop to "nobody" first.

#include <filesystem>
#include <functional>

namespace jubilora::test {

bool RunningAsRoot();

// As root: runs `body` in a forked child as nobody and returns its exit status (0..255),
// 126 when the child could not drop its privileges, -1 when it died. Otherwise runs `body`
// in this process and returns its result. `body` reports failures by its result, since
// assertions in a child do not reach the test.
int RunAsNobody(const std::function<int()>& body);

// As root: hands `path` (not recursively) to nobody, so that a scenario run by
// RunAsNobody can use it. Otherwise nothing to do: the user already owns it.
void GiveToNobody(const std::filesystem::path& path);

}  // namespace jubilora::test
