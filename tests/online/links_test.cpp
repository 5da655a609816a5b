#include "online/links.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <QUrl>
#include <QUrlQuery>

namespace jubilora {
namespace {

// Each support entry opens a new mail to its own address whose subject names the product
// (without its version) and whose body is empty; the blanks reach the mail program encoded.
TEST(MailLinks, OpenANewMailWithTheSubjectOfTheirEntry) {
  std::vector<QUrl> opened;
  SetUrlOpener([&opened](const QUrl& url) {
    opened.push_back(url);
    return true;
  });
  const std::pair<std::string (*)(), const char*> entries[] = {{QuestionMailUrl, "Question about Jubilora"},
                                                              {CommentMailUrl, "Comments on Jubilora"},
                                                              {BugMailUrl, "Bug in Jubilora"}};
  QStringList addresses;
  for (const auto& [mail, subject] : entries) {
    OpenUrl(mail());
    ASSERT_FALSE(opened.empty());
    const QUrl& url = opened.back();
    EXPECT_EQ(url.scheme(), "mailto");
    EXPECT_FALSE(url.toEncoded().contains(' '));
    const QUrlQuery query(url);
    EXPECT_EQ(query.queryItemValue("Subject", QUrl::FullyDecoded), subject);
    EXPECT_TRUE(query.hasQueryItem("Body") && query.queryItemValue("Body").isEmpty());
    addresses << url.path();
  }
  addresses.removeDuplicates();
  EXPECT_EQ(addresses.size(), 3);
  SetUrlOpener({});
}

}  // namespace
}  // namespace jubilora
