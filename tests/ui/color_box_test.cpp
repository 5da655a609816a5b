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

#include "core/naming.h"
#include "support/records.h"
#include "ui/presets.h"
#include "support/qt_app.h"

namespace jubilora {
namespace {

QColor FromPlain(std::uint32_t bgr) {
  return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF), static_cast<int>((bgr >> 16) & 0xFF));
}

QApplication& App() { return test::TestApplication(); }

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
    QAbstractItemView* list = box.view();
    list->setCurrentIndex(box.model()->index(row, 0));
    QTest::keyClick(list, Qt::Key_Return);
  }

  QApplication& app = App();  // before any widget
  test::FixedSystemColors system;
  ColorBox box{system};
  int pickerCalls = 0;
  QColor pickerInitial;
  std::optional<QColor> pickerAnswer;
};

TEST(ColorNames, OfferStandardExtendedAndSystemColoursByReadableNames) {
  EXPECT_EQ(ColorName(0x000000FF), "Red");
  EXPECT_EQ(ColorName(0x00808000), "Teal");
  EXPECT_EQ(ColorName(0x00C0C0C0), "Silver");
  EXPECT_EQ(ColorName(0x00C0DCC0), "Money Green");
  EXPECT_EQ(ColorName(SystemColorRef(8)), "Window Text");
  EXPECT_EQ(ColorName(SystemColorRef(17)), "Grey Text");
  EXPECT_EQ(ColorName(SystemColorRef(2)), "Active Caption");
  EXPECT_EQ(ColorName(SystemColorRef(15)), "Button Face");
  EXPECT_FALSE(ColorName(0x00563412).has_value());
}

TEST(ColorNames, EveryColourAndNameAppearsOnce) {
  // A repeated colour would leave one of its names unreachable.
  std::set<StoredColor> colors;
  std::set<std::string> names;
  for (const NamedColor& named : NamedColors()) {
    EXPECT_TRUE(colors.insert(named.color).second) << named.name;
    EXPECT_TRUE(names.insert(std::string(named.name)).second) << named.name;
  }
  int standard = 0;
  for (const NamedColor& named : NamedColors()) standard += named.color >= 0 ? 1 : 0;
  EXPECT_GE(standard, 16);
}

TEST_F(ColorBoxTest, NamedColoursShowTheirNames) {
  box.SetColor(0x000000FF);
  EXPECT_EQ(box.currentText(), "Red");
  EXPECT_EQ(box.Color(), 0x000000FF);
  box.SetColor(SystemColorRef(8));
  EXPECT_EQ(box.currentText(), "Window Text");
  EXPECT_EQ(box.Color(), SystemColorRef(8));
}

TEST_F(ColorBoxTest, ColourInNoListShowsAsCustomEntryAndComesBackUnchanged) {
  box.SetColor(0x00563412);
  EXPECT_EQ(box.currentText(), "Custom (#123456)");
  EXPECT_EQ(box.Color(), 0x00563412);
  // A system colour written in another form keeps its exact value too.
  const auto odd = static_cast<StoredColor>(0x80000005u);
  box.SetColor(odd);
  EXPECT_EQ(box.Color(), odd);
  EXPECT_TRUE(box.currentText().startsWith("Custom ("));
  EXPECT_EQ(box.findText("Custom (#123456)"), -1) << "only one custom entry at a time";
}

TEST_F(ColorBoxTest, NamedColourAfterCustomDropsTheCustomEntry) {
  const int rows = box.count();
  box.SetColor(0x00563412);
  EXPECT_EQ(box.count(), rows + 1);
  box.SetColor(0x00FFFFFF);
  EXPECT_EQ(box.count(), rows);
  EXPECT_EQ(box.currentText(), "White");
}

TEST_F(ColorBoxTest, CustomFromTheListOpensTheColourDialogWithTheCurrentColour) {
  box.SetColor(0x0000FFFF);
  pickerAnswer = QColor(0x12, 0x34, 0x56);
  ChooseFromList(ColorBox::CustomActionRow);
  EXPECT_EQ(pickerCalls, 1);
  EXPECT_EQ(pickerInitial, QColor(255, 255, 0));
  EXPECT_EQ(box.Color(), 0x00563412);
  EXPECT_EQ(box.currentText(), "Custom (#123456)");
}

TEST_F(ColorBoxTest, CustomChoiceOfANamedColourSelectsItsName) {
  box.SetColor(0x00000000);
  pickerAnswer = QColor(255, 0, 0);
  ChooseFromList(ColorBox::CustomActionRow);
  EXPECT_EQ(box.currentText(), "Red");
  EXPECT_EQ(box.Color(), 0x000000FF);
}

TEST_F(ColorBoxTest, CancelledColourDialogKeepsTheColour) {
  box.SetColor(0x00808000);
  pickerAnswer.reset();
  ChooseFromList(ColorBox::CustomActionRow);
  EXPECT_EQ(pickerCalls, 1);
  EXPECT_EQ(box.Color(), 0x00808000);
  EXPECT_EQ(box.currentText(), "Teal");
}

TEST_F(ColorBoxTest, SystemColourSwatchStartsTheDialogFromItsCurrentValue) {
  box.SetColor(SystemColorRef(2));
  ChooseFromList(ColorBox::CustomActionRow);
  EXPECT_EQ(pickerInitial, FromPlain(system.ColorOf(2)));
  EXPECT_EQ(box.Color(), SystemColorRef(2));
}

TEST_F(ColorBoxTest, ChoosingANamedRowFromTheListChangesTheColour) {
  box.SetColor(0x00000000);
  ChooseFromList(box.findText("Aqua"));
  EXPECT_EQ(pickerCalls, 0);
  EXPECT_EQ(box.Color(), 0x00FFFF00);
}

TEST_F(ColorBoxTest, ArrowKeysPassOverTheCustomAction) {
  box.SetColor(0x00000000);  // Black, the first named row
  QTest::keyClick(&box, Qt::Key_Up);
  EXPECT_EQ(pickerCalls, 0);
  EXPECT_EQ(box.Color(), 0x00000000);
  EXPECT_EQ(box.currentText(), "Black");
  QTest::keyClick(&box, Qt::Key_Down);
  EXPECT_EQ(box.currentText(), "Maroon");
}

// The field behind the swatch and name: window colour, button face when disabled; the
// swatch keeps its colour either way.
TEST_F(ColorBoxTest, DisabledBoxLooksDisabledButKeepsItsSwatch) {
  box.SetColor(0x000000FF);
  QStyleOptionComboBox option;
  option.initFrom(&box);
  const QRect field = box.style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, &box);
  const QPoint swatch(field.left() + 8, box.height() / 2);
  auto fieldPixel = [&] {
    const QImage image = box.grab().toImage();
    // Right of the text, left of the arrow.
    return image.pixelColor(box.width() - 40, 4);
  };
  auto swatchPixel = [&] { return box.grab().toImage().pixelColor(swatch); };

  EXPECT_EQ(fieldPixel(), FromPlain(system.ColorOf(5)));
  EXPECT_EQ(swatchPixel(), QColor(255, 0, 0));
  box.setEnabled(false);
  EXPECT_EQ(fieldPixel(), FromPlain(system.ColorOf(15)));
  EXPECT_EQ(swatchPixel(), QColor(255, 0, 0));
}

TEST_F(ColorBoxTest, SystemColourSwatchesFollowTheSystemTable) {
  const int row = box.findText("Window Text");
  ASSERT_GE(row, 0);
  const QImage swatch = box.itemIcon(row).pixmap(box.iconSize()).toImage();
  EXPECT_EQ(swatch.pixelColor(swatch.width() / 2, swatch.height() / 2), FromPlain(system.ColorOf(8)));
}

}  // namespace
}  // namespace jubilora
