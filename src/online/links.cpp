#include "online/links.h"

#include <QUrl>

#include "core/product.h"

namespace jubilora {

namespace {

std::string RootPage(const char* host) { return std::string("https://") + host + "/"; }

std::string MailUrl(const char* address, const char* subjectPart) {
  return std::string("mailto:") + address + subjectPart + ProductName + "&Body=";
}

}  // namespace

std::string VendorSiteUrl() { return RootPage(VendorSiteHost); }
std::string VendorMirrorUrl() { return RootPage(VendorMirrorHost); }
std::string MakerSiteUrl() { return RootPage(MakerSiteHost); }

std::string QuestionMailUrl() { return MailUrl(SupportAddress, "?Subject=Question about "); }
std::string CommentMailUrl() { return MailUrl(AuthorsAddress, "?Subject=Comments on "); }
std::string BugMailUrl() { return MailUrl(BugAddress, "?Subject=Bug in "); }

void OpenUrl(const std::string& address, const UrlOpener& open) {
  // Tolerant parsing encodes the spaces of the subject for the mail program.
  open(QUrl(QString::fromStdString(address), QUrl::TolerantMode));
}

}  // namespace jubilora
