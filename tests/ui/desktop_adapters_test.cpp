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

// Red comes back in the low byte.
TEST(DesktopAdapters, SystemColoursComeBackRedInTheLowByte) {
  test::TestApplication();
  const QPalette original = QGuiApplication::palette();
  QPalette palette = original;
  palette.setColor(QPalette::Active, QPalette::Base, QColor(0x12, 0x34, 0x56));
  QGuiApplication::setPalette(palette);
  EXPECT_EQ(QtSystemColors().ColorOf(5), 0x00563412u);
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
