#include "ui/color_box.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QImage>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTest>
#include <set>
#include <string>

#include "support/records.h"
#include "ui/presets.h"
#include "support/qt_app.h"

namespace jubilora {
namespace {

QColor FromPlain(std::uint32_t bgr) {
  return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                static_cast<int>((bgr >> 16) & 0xFF));
}

class ColorBoxTest : public testing::Test {
 protected:
  void SetUp() override {
    box.resize(180, 22);
    box.SetColorPicker([this](QWidget*, const QColor& initial) {
      ++pickerCalls;
      pickerInitial = initial;
      return pickerAnswer;
    });
  }

  // Chooses a row from the open list, as the user would.
  void ChooseFromList(int row) {
    box.showPopup();
    box.view()->setCurrentIndex(box.model()->index(row, 0));
    QTest::keyClick(box.view(), Qt::Key_Return);
  }

  QApplication& app = test::TestApplication();  // before any widget
  test::FixedSystemColors system;
  ColorBox box{system};
  int pickerCalls = 0;
  QColor pickerInitial;
  std::optional<QColor> pickerAnswer;
};

TEST(ColorNames, StandardExtendedAndSystemColoursHaveReadableNamesEachOnce) {
  EXPECT_EQ(ColorName(0x000000FF), "Red");
  EXPECT_EQ(ColorName(0x00808000), "Teal");
  EXPECT_EQ(ColorName(0x00C0DCC0), "Money Green");
  EXPECT_EQ(ColorName(SystemColorRef(8)), "Window Text");
  EXPECT_EQ(ColorName(SystemColorRef(17)), "Grey Text");
  EXPECT_EQ(ColorName(SystemColorRef(15)), "Button Face");
  EXPECT_FALSE(ColorName(0x00563412).has_value());
  // A repeated colour would leave one of its names unreachable.
  std::set<StoredColor> colors;
  std::set<std::string> names;
  for (const NamedColor& named : NamedColors()) {
    EXPECT_TRUE(colors.insert(named.color).second) << named.name;
    EXPECT_TRUE(names.insert(std::string(named.name)).second) << named.name;
  }
}

// Whatever is set comes back unchanged; only one custom entry exists at a time.
TEST_F(ColorBoxTest, SetColourShowsItsNameAndGivesItBack) {
  const struct {
    StoredColor color;
    QString text;
  } cases[] = {
      {0x000000FF, "Red"},
      {SystemColorRef(8), "Window Text"},
      {0x00563412, "Custom (#123456)"},
      {static_cast<StoredColor>(0x80000005u), "Custom ("},  // a system colour in another spelling
      {0x00FFFFFF, "White"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text.toStdString());
    box.SetColor(c.color);
    EXPECT_TRUE(box.currentText().startsWith(c.text));
    EXPECT_EQ(box.Color(), c.color);
    EXPECT_EQ(box.findText("Custom (#123456)"), c.color == 0x00563412 ? box.currentIndex() : -1);
  }
}

// "Custom..." opens the colour dialog at the colour shown; a choice that has a name shows the
// name, a cancelled dialog keeps the colour.
TEST_F(ColorBoxTest, CustomFromTheListAsksTheColourDialog) {
  const struct {
    StoredColor start;
    std::optional<QColor> answer;
    QColor initial;
    StoredColor result;
    QString text;
  } cases[] = {
      {0x0000FFFF, QColor(0x12, 0x34, 0x56), QColor(255, 255, 0), 0x00563412, "Custom (#123456)"},
      {0x00000000, QColor(255, 0, 0), QColor(0, 0, 0), 0x000000FF, "Red"},
      {0x00808000, std::nullopt, QColor(0, 128, 128), 0x00808000, "Teal"},
      {SystemColorRef(2), std::nullopt, FromPlain(system.ColorOf(2)), SystemColorRef(2), "Active Caption"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text.toStdString());
    box.SetColor(c.start);
    pickerAnswer = c.answer;
    pickerCalls = 0;
    ChooseFromList(ColorBox::CustomActionRow);
    EXPECT_EQ(pickerCalls, 1);
    EXPECT_EQ(pickerInitial, c.initial);
    EXPECT_EQ(box.Color(), c.result);
    EXPECT_EQ(box.currentText(), c.text);
  }
}

TEST_F(ColorBoxTest, NamedRowsAreChosenFromTheListAndArrowKeysPassOverTheCustomAction) {
  box.SetColor(0x00000000);
  ChooseFromList(box.findText("Aqua"));
  EXPECT_EQ(box.Color(), 0x00FFFF00);

  box.SetColor(0x00000000);  // Black, the first named row
  QTest::keyClick(&box, Qt::Key_Up);
  EXPECT_EQ(box.currentText(), "Black");
  QTest::keyClick(&box, Qt::Key_Down);
  EXPECT_EQ(box.currentText(), "Maroon");
  EXPECT_EQ(pickerCalls, 0);
}

// The field behind the swatch and name: window colour, button face when disabled; the
// swatch keeps its colour either way. System colour swatches follow the system's table.
TEST_F(ColorBoxTest, SwatchesAndTheDisabledLook) {
  box.SetColor(0x000000FF);
  QStyleOptionComboBox option;
  option.initFrom(&box);
  const QRect field = box.style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, &box);
  const QPoint swatch(field.left() + 8, box.height() / 2);
  const QPoint behindText(box.width() - 40, 4);  // right of the text, left of the arrow
  for (const bool enabled : {true, false}) {
    box.setEnabled(enabled);
    const QImage image = box.grab().toImage();
    EXPECT_EQ(image.pixelColor(behindText), FromPlain(system.ColorOf(enabled ? 5 : 15))) << enabled;
    EXPECT_EQ(image.pixelColor(swatch), QColor(255, 0, 0)) << enabled;
  }
  const QImage windowText = box.itemIcon(box.findText("Window Text")).pixmap(box.iconSize()).toImage();
  EXPECT_EQ(windowText.pixelColor(windowText.width() / 2, windowText.height() / 2), FromPlain(system.ColorOf(8)));
}

}  // namespace
}  // namespace jubilora
