#pragma once
// The help: HTML pages shown in the user's web browser.

#include <filesystem>

#include "online/links.h"

class QWidget;

namespace jubilora {

// Opens `page` (the start page, or a page beside it) as a file:// address with `open`. A page
// that is not there, or no browser to show it, ends in the generic error report over `owner`.
// Returns whether the page was handed to a browser.
bool RunHelp(QWidget* owner, const std::filesystem::path& page, const UrlOpener& open = QDesktopServices::openUrl);

// Makes the answer dialog's help button open its help path (a page's full path) with RunHelp.
void InstallAnswerDialogHelp(UrlOpener open = QDesktopServices::openUrl);

}  // namespace jubilora
