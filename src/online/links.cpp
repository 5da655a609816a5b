#include "online/links.h"

#include <utility>

#include <QDesktopServices>
#include <QUrl>

#include "core/product.h"

namespace jubilora {

namespace {

std::string RootPage(const char* host) { return std::string("https://") + host + "/"; }

std::string MailUrl(const char* address, const char* subjectPart) {
  return std::string("mailto:") + address + subjectPart + ProductName + "&Body=";
}

UrlOpener& Opener() {
  static UrlOpener opener;
  return opener;
}

}  // namespace

std::string VendorSiteUrl() { return RootPage(VendorSiteHost); }
std::string VendorMirrorUrl() { return RootPage(VendorMirrorHost); }
std::string MakerSiteUrl() { return RootPage(MakerSiteHost); }

std::string QuestionMailUrl() { return MailUrl(SupportAddress, "?Subject=Question about "); }
std::string CommentMailUrl() { return MailUrl(AuthorsAddress, "?Subject=Comments on "); }
std::string BugMailUrl() { return MailUrl(BugAddress, "?Subject=Bug in "); }

void OpenUrl(const std::string& address) {
  // Tolerant parsing encodes the spaces of the subject for the mail program.
  const QUrl url(QString::fromStdString(address), QUrl::TolerantMode);
  if (Opener()) {
    Opener()(url);
  } else {
    QDesktopServices::openUrl(url);
  }
}

UrlOpener SetUrlOpener(UrlOpener opener) { return std::exchange(Opener(), std::move(opener)); }

}  // namespace jubilora
