#pragma once
// The web pages and mail boxes the Help menu opens.

#include <functional>
#include <string>

#include "core/addresses.h"

class QUrl;

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

// Hands a web or mailto: address to the desktop; whether a browser or mail program came up
// is not examined.
void OpenUrl(const std::string& address);

// Replaces the desktop's opener, e.g. for a test that must not start a browser. An empty
// function restores it. Returns the previous opener.
using UrlOpener = std::function<bool(const QUrl& url)>;
UrlOpener SetUrlOpener(UrlOpener opener);

}  // namespace jubilora
