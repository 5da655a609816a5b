#include "ui/color_box.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QColor>
#include <QGuiApplication>
#include <QPalette>
#include <QTest>

#include "core/naming.h"
#include "support/qt_app.h"
#include "support/records.h"
#include "ui/presets.h"
#include "ui/system_colors.h"

namespace jubilora {
namespace {

class ColorBoxTest : public testing::Test {
 protected:
  void SetUp() override { box.resize(box.sizeHint()); }
  QColor Shown(StoredColor color) const { return QColor::fromRgb(ToColor32(color, system)); }

  QApplication& app = test::TestApplication();  // before any widget
  test::FixedSystemColors system;
  std::vector<QColor> pickerAsked;
  std::optional<QColor> pickerAnswer;
  ColorBox box{system, nullptr, [this](QWidget*, const QColor& initial) {
                 pickerAsked.push_back(initial);
                 return pickerAnswer;
               }};
};

// Whatever is set comes back unchanged, under its name or as the one custom entry. "Custom..."
// from the open list asks the colour dialog, starting at the colour shown: a choice that has a
// name shows the name, a cancelled dialog keeps the colour.
TEST_F(ColorBoxTest, ShowsAndGivesBackSetOrChosenColours) {
  const struct {
    StoredColor start;
    QString text;
    std::optional<QColor> answer;
    StoredColor chosen;
    QString chosenText;
  } cases[] = {
      {0x000000FF, "Red", QColor(0x12, 0x34, 0x56), 0x00563412, "Custom (#123456)"},
      {SystemColorRef(8), "Window Text", std::nullopt, SystemColorRef(8), "Window Text"},
      {0x00563412, "Custom (#123456)", QColor(255, 0, 0), 0x000000FF, "Red"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text.toStdString());
    box.SetColor(c.start);
    EXPECT_TRUE(box.currentText().startsWith(c.text));
    EXPECT_EQ(box.Color(), c.start);
    pickerAnswer = c.answer;
    pickerAsked.clear();
    box.showPopup();
    box.view()->setCurrentIndex(box.model()->index(ColorBox::CustomActionRow, 0));
    QTest::keyClick(box.view(), Qt::Key_Return);
    EXPECT_EQ(pickerAsked, std::vector<QColor>{Shown(c.start)});
    EXPECT_EQ(box.Color(), c.chosen);
    EXPECT_TRUE(box.currentText().startsWith(c.chosenText));
    EXPECT_EQ(box.findText("Custom (", Qt::MatchStartsWith) < 0, !c.chosenText.startsWith("Custom"));
  }
}

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

}  // namespace
}  // namespace jubilora
