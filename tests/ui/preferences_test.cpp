#include "ui/preferences.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <QAbstractItemView>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
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
    if (!dialog_) {
      dialog_ = std::make_unique<TfrmCfg>(nullptr, cfg, fonts, system, ui);
      dialog_->SetFontChooser([this](QWidget*, const ReportFont& current) {
        chooserSaw.push_back(current);
        return chooserAnswer;
      });
    }
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
  std::optional<ReportFont> chooserAnswer;
  std::vector<ReportFont> chooserSaw;
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
              {"Escape", false, [&] { QTest::keyClick(Find("cseAfter"), Qt::Key_Escape); }},
              {"close box", false, [&] { Dialog().close(); }}};
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

// The copy is a path behind a check box: unticked or blank, there is none. Browse offers the
// save-file choice where the copy is (or where exports go), and its answer replaces the path.
TEST_F(Preferences, ICalendarCopyIsAPathBehindACheckBox) {
  const struct {
    bool ticked;
    const char* typed;
    std::optional<std::filesystem::path> browsed;
    std::string stored, folder, name;
  } cases[] = {{false, "/a/b.ics", std::nullopt, "", "", ""},
               {true, "/a/b.ics", std::nullopt, "/a/b.ics", "/a", "b.ics"},
               {true, "/a/b.ics", "/c/d.ics", "/c/d.ics", "/a", "b.ics"}};
  for (const auto& c : cases) {
    cfg = HandEdited;
    ui = test::FakeUi{};
    ui.files = {c.browsed};
    EXPECT_TRUE(Run([&] {
      Find<QCheckBox>("cbICalendarCopy")->setChecked(c.ticked);
      EXPECT_EQ(Find("edICalendarCopy")->isEnabled(), c.ticked);
      EXPECT_EQ(Find("btnICalendarBrowse")->isEnabled(), c.ticked);
      Find<QLineEdit>("edICalendarCopy")->setText(c.typed);
      Click("btnICalendarBrowse");
      Click("btnOK");
    }));
    EXPECT_EQ(cfg.ICalendarCopy, c.stored) << c.typed;
    ASSERT_EQ(ui.saveDialogs.size(), c.ticked ? 1u : 0u);
    if (c.ticked) {
      EXPECT_EQ(ui.saveDialogs[0].initialFolder, c.folder);
      EXPECT_EQ(ui.saveDialogs[0].initialName, c.name);
    }
  }
}

// A preset greys the boxes and the font button and shows its own colours and font, even over
// hand-edited stored ones; "Custom..." after it keeps them, now editable. The character set
// stays the settings' own.
TEST_F(Preferences, PresetRule) {
  const struct {
    int stored;
    std::vector<int> picks;
    bool editable;
  } cases[] = {{0, {2}, false}, {0, {2, 0}, true}, {2, {}, false}};
  for (const auto& c : cases) {
    cfg = HandEdited;
    cfg.Preset = static_cast<std::uint8_t>(c.stored);
    TCfg expected = HandEdited;
    ApplyPreset(2, expected);
    expected.Preset = c.editable ? 0 : 2;
    EXPECT_TRUE(Run([&] {
      for (int position : c.picks) PickFromList("cbPreset", position);
      for (const char* name : {"cbMost", "cbSemi", "cbLeast", "cbPassed", "cbPlain", "cbBack", "btnFont"})
        EXPECT_EQ(Find(name)->isEnabled(), c.editable) << name;
      EXPECT_EQ(Find<QPushButton>("btnFont")->text().toStdString(), FontCaption(FontOf(expected)));
      Click("btnOK");
    }));
    EXPECT_EQ(cfg, expected) << c.stored << " " << c.picks.size();
  }
}

// The caption is checked on showing and after the font dialog, cancelled or not: a face that
// is not installed shows and is stored as "Tahoma". The dialog's choice is stored whole.
TEST_F(Preferences, FontButtonShowsAndStoresTheFontChosen) {
  const ReportFont tahoma{"Tahoma", 9, false, true, 238};
  cfg.FontName = "No Such Face";
  for (const auto& answer : {std::optional<ReportFont>(), std::optional(ReportFont{"Serif", 12, true, true, 204})}) {
    chooserAnswer = answer;
    EXPECT_TRUE(Run([&] {
      Click("btnFont");
      EXPECT_EQ(Find<QPushButton>("btnFont")->text().toStdString(), FontCaption(answer.value_or(tahoma)));
      Click("btnOK");
    }));
    EXPECT_EQ(FontOf(cfg), answer.value_or(tahoma));
  }
  EXPECT_EQ(chooserSaw, (std::vector<ReportFont>{tahoma, tahoma}));
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

constexpr StoredColor Unused = 0x00010203;  // in no preset

// Every field away from its default; the colours and the font away from every preset too.
const TCfg Scrambled{.DaysBefore = 12, .DaysAfter = 3, .Preset = 6, .MostUrgent = Unused, .SemiUrgent = Unused,
                     .LeastUrgent = Unused, .Passed = Unused, .PlainText = Unused, .Background = Unused,
                     .FontName = "Courier", .FontSize = 21, .FontBold = true, .FontItalic = true, .FontCharset = 238,
                     .DateFormat = 5, .ShowIcons = false, .ShowZodiacSign = false, .ForceSmoothing = true,
                     .LastPath = "/b", .ExportPath = "/e"};
constexpr StoredColor TCfg::*Colors[] = {&TCfg::MostUrgent, &TCfg::SemiUrgent, &TCfg::LeastUrgent,
                                         &TCfg::Passed,     &TCfg::PlainText,  &TCfg::Background};

// `base` with the six colours and the font's face, size and style of `look`.
TCfg WithLookOf(TCfg base, const TCfg& look) {
  for (auto field : Colors) base.*field = look.*field;
  StoreFont({look.FontName, look.FontSize, look.FontBold, look.FontItalic, base.FontCharset}, base);
  return base;
}

// A named preset sets all six colours and the font and nothing else, the character set
// included; "Custom..." and positions outside the list change nothing; "Default" is the
// settings' defaults.
TEST(PresetRule, NamedPresetsSetTheLookAndNothingElse) {
  for (int position = -1; position <= PresetCount; ++position) {
    TCfg cfg = Scrambled;
    ApplyPreset(position, cfg);
    EXPECT_EQ(WithLookOf(cfg, Scrambled), Scrambled) << position;
    const bool named = position > CustomPreset && position < PresetCount;
    for (auto field : Colors) EXPECT_EQ(cfg.*field != Unused, named) << position;
    EXPECT_EQ(cfg.FontSize != Scrambled.FontSize, named) << position;
    EXPECT_EQ(PresetPosition(position), named || position == CustomPreset ? position : CustomPreset);
  }
  TCfg defaults = Scrambled;
  ApplyPreset(1, defaults);
  EXPECT_EQ(defaults, WithLookOf(Scrambled, TCfg()));
}

}  // namespace
}  // namespace jubilora
