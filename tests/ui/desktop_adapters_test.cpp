// The system colour table and the font list, on the offscreen platform.

#include <gtest/gtest.h>

#include <QColor>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QPalette>

#include "platform/default_colors.h"
#include "ui/font_catalog.h"
#include "ui/system_colors.h"

namespace jubilora {
namespace {

class DesktopAdapters : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (QGuiApplication::instance()) return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "desktop_adapters_test";
    static char* argv[] = {name, nullptr};
    // Lives until the process ends: Qt objects must not outlive their application.
    new QGuiApplication(argc, argv);
  }
  void TearDown() override { QGuiApplication::setPalette(QPalette()); }
};

TEST_F(DesktopAdapters, SystemColoursComeFromThePaletteRoleOfTheSamePurposeRedInTheLowByte) {
  // Every role gets a colour of its own so that a wrong mapping shows.
  QPalette palette;
  int next = 1;
  for (int role = 0; role < QPalette::NColorRoles; ++role) {
    if (role == QPalette::NoRole) continue;
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
      palette.setColor(group, static_cast<QPalette::ColorRole>(role), QColor(next, 2 * next % 256, 3 * next % 256));
      ++next;
    }
  }
  palette.setColor(QPalette::Active, QPalette::Base, QColor(0x12, 0x34, 0x56));
  QGuiApplication::setPalette(palette);
  const QtSystemColors colors;
  EXPECT_EQ(colors.ColorOf(5), 0x00563412u);
  const struct {
    int index;
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
  } cases[] = {
      {8, QPalette::Active, QPalette::WindowText},       {17, QPalette::Disabled, QPalette::Text},
      {2, QPalette::Active, QPalette::Highlight},        {15, QPalette::Active, QPalette::Button},
      {14, QPalette::Active, QPalette::HighlightedText}, {18, QPalette::Active, QPalette::ButtonText},
      {24, QPalette::Active, QPalette::ToolTipBase},     {23, QPalette::Active, QPalette::ToolTipText},
      {16, QPalette::Active, QPalette::Dark},            {20, QPalette::Active, QPalette::Light},
      {200, QPalette::Active, QPalette::WindowText},
  };
  for (const auto& c : cases) {
    const QColor expected = palette.color(c.group, c.role);
    EXPECT_EQ(colors.ColorOf(c.index), static_cast<std::uint32_t>(expected.red() | expected.green() << 8 |
                                                                  expected.blue() << 16))
        << "index " << c.index;
  }
}

// The text modes have no palette to ask: their table is what the window gets here, so that
// --print=tsv prints the colours it always printed.
TEST_F(DesktopAdapters, TheTextModesColourTableIsTheOffscreenPalette) {
  ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("offscreen"));
  const QtSystemColors palette;
  const DefaultSystemColors table;
  for (int index = -1; index <= 40; ++index) EXPECT_EQ(table.ColorOf(index), palette.ColorOf(index)) << index;
}

TEST_F(DesktopAdapters, InstalledFontsMatchInAnyLetterCase) {
  const QStringList families = QFontDatabase::families();
  if (families.isEmpty()) GTEST_SKIP() << "no fonts on this machine";
  QString family = families.front();
  family = family.left(family.indexOf(QStringLiteral(" [")));  // without a foundry
  const QtFontCatalog catalog;
  EXPECT_TRUE(catalog.IsInstalled(family.toUpper().toStdString()));
  EXPECT_TRUE(catalog.IsInstalled(family.toLower().toStdString()));
  EXPECT_FALSE(catalog.IsInstalled("No Such Font Family 7f3a"));
  EXPECT_FALSE(catalog.IsInstalled(""));
}

}  // namespace
}  // namespace jubilora
