#include "online/links.h"

#include <gtest/gtest.h>

#include <vector>

#include <QUrl>

namespace jubilora {
namespace {

TEST(MailLinks, SubjectsNameTheProductWithoutVersionAndTheBodyIsEmpty) {
  EXPECT_EQ(QuestionMailUrl(), "mailto:support@example.com?Subject=Question about Jubilora&Body=");
  EXPECT_EQ(CommentMailUrl(), "mailto:authors@example.com?Subject=Comments on Jubilora&Body=");
  EXPECT_EQ(BugMailUrl(), "mailto:bugs@example.com?Subject=Bug in Jubilora&Body=");
}

TEST(WebLinks, EachIsTheRootPageOfTheHostItsMenuEntryNames) {
  EXPECT_EQ(VendorSiteUrl(), std::string("https://") + VendorSiteHost + "/");
  EXPECT_EQ(VendorMirrorUrl(), std::string("https://") + VendorMirrorHost + "/");
  EXPECT_EQ(MakerSiteUrl(), std::string("https://") + MakerSiteHost + "/");
}

class OpenUrlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetUrlOpener([this](const QUrl& url) {
      opened.push_back(url);
      return true;
    });
  }
  void TearDown() override { SetUrlOpener({}); }
  std::vector<QUrl> opened;
};

TEST_F(OpenUrlTest, AMailLinkReachesTheMailProgramWithItsSubjectIntact) {
  OpenUrl(QuestionMailUrl());
  ASSERT_EQ(opened.size(), 1u);
  // The blanks travel encoded; nothing else is added.
  EXPECT_EQ(opened[0].toEncoded(), "mailto:support@example.com?Subject=Question%20about%20Jubilora&Body=");
}

}  // namespace
}  // namespace jubilora
