#pragma once
// The web pages and mail boxes the Help menu opens.

#include <functional>
#include <string>

#include <QDesktopServices>

#include "core/addresses.h"

namespace jubilora {

// The root page of each site.
std::string VendorSiteUrl();
std::string VendorMirrorUrl();
std::string MakerSiteUrl();

// A new mail with the subject "Question about Jubilora", "Comments on Jubilora" or
// "Bug in Jubilora" and an empty body. The text is built as it stands; spaces are encoded
// only on the way to the mail program.
std::string QuestionMailUrl();
std::string CommentMailUrl();
std::string BugMailUrl();

// What hands an address to the desktop (QDesktopServices::openUrl); true when it was taken.
using UrlOpener = std::function<bool(const QUrl& url)>;

// Hands a web or mailto: address to `open`; whether a browser or mail program came up is not
// examined.
void OpenUrl(const std::string& address, const UrlOpener& open = QDesktopServices::openUrl);

}  // namespace jubilora
