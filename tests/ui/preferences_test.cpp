#include "ui/preferences.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include <QAbstractItemView>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include "support/fake_ui.h"
#include "support/qt_app.h"
#include "support/qt_modal.h"
#include "support/records.h"
#include "ui/color_box.h"
#include "ui/font_choice.h"
#include "ui/presets.h"

namespace jubilora {
namespace {

using test::WhileModal;

// Away from the defaults and from every preset, as if edited by hand.
const TCfg HandEdited{.DaysBefore = 12, .DaysAfter = 3, .Preset = 0, .MostUrgent = 0x00010203,
                      .SemiUrgent = 0x00040506, .LeastUrgent = 0x00070809, .Passed = 0x000A0B0C,
                      .PlainText = 0x000D0E0F, .Background = 0x00101112, .FontName = "Verdana", .FontSize = 9,
                      .FontBold = false, .FontItalic = true, .FontCharset = 238, .DateFormat = 5,
                      .ShowIcons = false, .ShowZodiacSign = true, .ForceSmoothing = true,
                      .LeapDay = LeapDayChoice::March1, .ICalendarCopy = "/home/ann/Jubilora.ics"};

class Preferences : public testing::Test {
 protected:
  Preferences() { test::TestApplication(); }

  // Opens the window and runs `script` in it; true when the window was accepted.
  bool Run(const std::function<void()>& script) {
    return WhileModal([&](QWidget*) { script(); }, [&] { return Dialog().Execute(); });
  }
  TfrmCfg& Dialog() {
    if (!dialog_) dialog_ = std::make_unique<TfrmCfg>(nullptr, cfg, fonts, system, ui);
    return *dialog_;
  }
  template <typename T = QWidget>
  T* Find(const char* name) {
    T* widget = Dialog().findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }
  void Click(const char* button) { QTest::mouseClick(Find(button), Qt::LeftButton); }
  // The user picks a row of an open list with a key.
  void PickFromList(const char* list, int row, Qt::Key key = Qt::Key_Return) {
    auto* box = Find<QComboBox>(list);
    box->showPopup();
    box->view()->setCurrentIndex(box->model()->index(row, 0));
    QTest::keyClick(box->view(), key);
  }

  TCfg cfg = HandEdited;
  struct : FontCatalog {
    bool IsInstalled(const std::string& family) const override { return family != "No Such Face"; }
  } fonts;
  test::FixedSystemColors system;
  test::FakeUi ui;
  std::unique_ptr<TfrmCfg> dialog_;
};

// A control, the property that holds its value, its settings field and a value to change to.
struct FieldRow {
  const char* control;
  const char* property;
  std::function<int(const TCfg&)> get;
  std::function<void(TCfg&, int)> set;
  int changed;
};
template <typename T>
FieldRow Field(const char* control, const char* property, T TCfg::*field, int changed) {
  return {control, property, [field](const TCfg& c) { return static_cast<int>(c.*field); },
          [field](TCfg& c, int value) { c.*field = static_cast<T>(value); }, changed};
}

// Every showing loads each control from its field; O&K or Enter stores it, every other way out
// leaves the settings as they were.
TEST_F(Preferences, EachControlShowsItsFieldAndStoresItOnlyOnOK) {
  const FieldRow rows[] = {
      Field("cseBefore", "value", &TCfg::DaysBefore, 60),      Field("cseAfter", "value", &TCfg::DaysAfter, 45),
      Field("cbMost", "color", &TCfg::MostUrgent, 0x00563412), Field("cbSemi", "color", &TCfg::SemiUrgent, 0xFF),
      Field("cbLeast", "color", &TCfg::LeastUrgent, SystemColorRef(8)),
      Field("cbPassed", "color", &TCfg::Passed, 0x00563413),   Field("cbPlain", "color", &TCfg::PlainText, 0x00563414),
      Field("cbBack", "color", &TCfg::Background, 0x00563415),
      Field("cbDateFormat", "currentIndex", &TCfg::DateFormat, 2),
      Field("cbShowIcons", "checked", &TCfg::ShowIcons, 1),    Field("cbZodiac", "checked", &TCfg::ShowZodiacSign, 0),
      Field("cbSmooth", "checked", &TCfg::ForceSmoothing, 0),   Field("cbLeapDay", "currentIndex", &TCfg::LeapDay, 1)};
  const QString otherCopy = "/home/ann/Calendars/birthdays.ics";
  const struct {
    const char* way;
    bool stores;
    std::function<void()> leave;
  } ways[] = {{"O&K", true, [&] { Click("btnOK"); }},
              {"Enter", true, [&] { QTest::keyClick(Find("cseAfter"), Qt::Key_Return); }},
              {"Cancel", false, [&] { Click("btnCancel"); }},
              {"Escape", false, [&] { QTest::keyClick(Find("cseAfter"), Qt::Key_Escape); }}};
  for (const auto& [way, stores, leave] : ways) {
    SCOPED_TRACE(way);
    cfg = HandEdited;
    const bool accepted = Run([&] {
      for (const FieldRow& row : rows) {
        EXPECT_EQ(Find(row.control)->property(row.property).toInt(), row.get(cfg)) << row.control;
        Find(row.control)->setProperty(row.property, row.changed);
      }
      auto* copy = Find<QLineEdit>("edICalendarCopy");
      EXPECT_EQ(copy->text().toStdString(), cfg.ICalendarCopy);
      EXPECT_TRUE(Find<QCheckBox>("cbICalendarCopy")->isChecked());
      copy->setText(otherCopy);
      leave();
    });
    TCfg expected = HandEdited;
    for (const FieldRow& row : rows) row.set(expected, accepted ? row.changed : row.get(HandEdited));
    if (accepted) expected.ICalendarCopy = otherCopy.toStdString();
    EXPECT_EQ(accepted, stores);
    EXPECT_EQ(cfg, expected);
  }
}

// Inside an open list Enter only picks; the colour dialog that "Custom..." opens goes back to
// the open window, its choice in the box.
TEST_F(Preferences, ListsAndTheColourDialogKeepTheWindowOpen) {
  EXPECT_TRUE(Run([&] {
    PickFromList("cbMost", 3, Qt::Key_Enter);  // black
    const auto guard = test::InNextModal([](QWidget* dialog) {
      auto* colors = qobject_cast<QColorDialog*>(dialog);
      colors->setCurrentColor(QColor(0x12, 0x34, 0x56));
      QTest::keyClick(colors->focusWidget(), Qt::Key_Return);
    });
    PickFromList("cbSemi", ColorBox::CustomActionRow);
    EXPECT_TRUE(Dialog().isVisible());
    Click("btnOK");
  }));
  EXPECT_EQ(cfg.MostUrgent, 0u);
  EXPECT_EQ(cfg.SemiUrgent, 0x00563412u);
}

// A named preset sets all six colours and the font and nothing else (the character set stays);
// "Custom..." and positions outside the list change nothing.
TEST(PresetRule, NamedPresetsSetTheLookAndNothingElse) {
  constexpr StoredColor TCfg::*Colors[] = {&TCfg::MostUrgent, &TCfg::SemiUrgent, &TCfg::LeastUrgent,
                                           &TCfg::Passed,     &TCfg::PlainText,  &TCfg::Background};
  for (int position = -1; position <= PresetCount; ++position) {
    TCfg cfg = HandEdited;
    ApplyPreset(position, cfg);
    const bool named = position > CustomPreset && position < PresetCount;
    EXPECT_EQ(FontOf(cfg) != FontOf(HandEdited), named) << position;
    TCfg lookPutBack = cfg;
    for (auto field : Colors) {
      EXPECT_EQ(cfg.*field != HandEdited.*field, named) << position;
      lookPutBack.*field = HandEdited.*field;
    }
    StoreFont({HandEdited.FontName, HandEdited.FontSize, HandEdited.FontBold, HandEdited.FontItalic, cfg.FontCharset},
              lookPutBack);
    EXPECT_EQ(lookPutBack, HandEdited) << position;
  }
}

}  // namespace
}  // namespace jubilora
