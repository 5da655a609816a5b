// The system colour table and the font list, on the offscreen platform.

#include <gtest/gtest.h>

#include <QColor>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QPalette>

#include "platform/default_colors.h"
#include "support/qt_app.h"
#include "ui/font_catalog.h"
#include "ui/system_colors.h"

namespace jubilora {
namespace {

// Every role of every group gets a colour of its own, so that a wrong mapping shows; red comes
// back in the low byte.
TEST(DesktopAdapters, SystemColoursComeFromThePaletteRoleOfTheSamePurpose) {
  test::TestApplication();
  const QPalette original = QGuiApplication::palette();
  QPalette palette;
  int next = 1;
  for (int role = 0; role < QPalette::NColorRoles; ++role) {
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
      if (role != QPalette::NoRole) palette.setColor(group, QPalette::ColorRole(role), QColor(next, next / 2, 255 - next));
      ++next;
    }
  }
  palette.setColor(QPalette::Active, QPalette::Base, QColor(0x12, 0x34, 0x56));
  QGuiApplication::setPalette(palette);
  const QtSystemColors colors;
  EXPECT_EQ(colors.ColorOf(5), 0x00563412u);
  const auto stored = [](const QColor& c) { return static_cast<std::uint32_t>(c.red() | c.green() << 8 | c.blue() << 16); };
  for (const auto& [index, group, role] : {std::tuple{8, QPalette::Active, QPalette::WindowText},
                                           {17, QPalette::Disabled, QPalette::Text},
                                           {2, QPalette::Active, QPalette::Highlight},
                                           {15, QPalette::Active, QPalette::Button},
                                           {200, QPalette::Active, QPalette::WindowText}})
    EXPECT_EQ(colors.ColorOf(index), stored(palette.color(group, role))) << "index " << index;
  QGuiApplication::setPalette(original);
}

// The text modes have no palette to ask: their table is what the window gets here, so that
// --print=tsv prints the colours it always printed.
TEST(DesktopAdapters, TheTextModesColourTableIsTheOffscreenPalette) {
  test::TestApplication();
  ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("offscreen"));
  const QtSystemColors palette;
  const DefaultSystemColors table;
  for (int index = -1; index <= 40; ++index) EXPECT_EQ(table.ColorOf(index), palette.ColorOf(index)) << index;
}

TEST(DesktopAdapters, InstalledFontsMatchInAnyLetterCase) {
  test::TestApplication();
  const QStringList families = QFontDatabase::families();
  if (families.isEmpty()) GTEST_SKIP() << "no fonts on this machine";
  const QString family = FamilyName(families.front());
  const QtFontCatalog catalog;
  EXPECT_TRUE(catalog.IsInstalled(family.toUpper().toStdString()));
  EXPECT_TRUE(catalog.IsInstalled(family.toLower().toStdString()));
  EXPECT_FALSE(catalog.IsInstalled("No Such Font Family 7f3a"));
  EXPECT_FALSE(catalog.IsInstalled(""));
}

}  // namespace
}  // namespace jubilora
