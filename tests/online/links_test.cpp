#include "online/links.h"

#include <gtest/gtest.h>

#include <QUrl>
#include <QUrlQuery>

namespace jubilora {
namespace {

// The mail program gets the address, the whole subject and an empty body, its blanks encoded.
TEST(MailLinks, ReachTheMailProgramWithTheirSubjectIntact) {
  QList<QUrl> opened;
  OpenUrl(BugMailUrl(), [&opened](const QUrl& url) { return opened.append(url), true; });
  ASSERT_EQ(opened.size(), 1);
  EXPECT_EQ(opened[0].scheme() + ':' + opened[0].path(), QStringLiteral("mailto:") + BugAddress);
  EXPECT_FALSE(opened[0].toEncoded().contains(' '));
  EXPECT_EQ(QUrlQuery(opened[0]).queryItemValue("Subject", QUrl::FullyDecoded), "Bug in Jubilora");
  EXPECT_TRUE(QUrlQuery(opened[0]).hasQueryItem("Body"));
}

}  // namespace
}  // namespace jubilora
