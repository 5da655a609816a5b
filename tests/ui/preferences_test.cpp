#include "ui/preferences.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include "support/records.h"
#include "ui/color_box.h"
#include "ui/font_choice.h"
#include "support/qt_app.h"

namespace jubilora {
namespace {

class FakeFonts : public FontCatalog {
 public:
  std::set<std::string> installed{"Tahoma", "Verdana", "Trebuchet MS", "DejaVu Sans"};
  bool IsInstalled(const std::string& family) const override { return installed.count(family) > 0; }
};

// Red, yellow, lime, teal, silver on black.
const ReportColors TerminalColors{0x000000FF, 0x0000FFFF, 0x0000FF00, 0x00808000, 0x00C0C0C0, 0x00000000};

// Settings that differ from every preset, as if edited by hand.
TCfg HandEdited() {
  return {.DaysBefore = 12, .DaysAfter = 3, .Preset = 0,
          .MostUrgent = 0x00010203, .SemiUrgent = 0x00040506, .LeastUrgent = 0x00070809,
          .Passed = 0x000A0B0C, .PlainText = 0x000D0E0F, .Background = 0x00101112,
          .FontName = "Verdana", .FontSize = 9, .FontBold = false, .FontItalic = true, .FontCharset = 238,
          .DateFormat = 5, .ShowIcons = false, .ShowZodiacSign = true, .ForceSmoothing = true,
          .LastPath = "/backups", .ExportPath = "/exports"};
}

// Runs `open`, which shows a modal window, and `script` in that window once its loop runs. A
// script that leaves the window open fails the test instead of hanging it.
template <typename Open>
auto WhileModal(const std::function<void(QWidget*)>& script, Open open) {
  QObject scope;
  bool ran = false;
  QTimer::singleShot(0, &scope, [&] {
    ran = true;
    QWidget* modal = QApplication::activeModalWidget();
    ASSERT_NE(modal, nullptr);
    script(modal);
  });
  QTimer::singleShot(5000, &scope, [] {
    if (QWidget* open = QApplication::activeModalWidget()) {
      ADD_FAILURE() << "the window was left open";
      open->close();
    }
  });
  const auto result = open();
  EXPECT_TRUE(ran);
  return result;
}

class Preferences : public testing::Test {
 protected:
  Preferences() { test::TestApplication(); }

  // Shows the window modally and runs `script` in it, the window active.
  bool Run(const std::function<void()>& script) {
    return WhileModal([&](QWidget* modal) {
      ASSERT_EQ(modal, &Dialog());
      modal->activateWindow();
      EXPECT_TRUE(QTest::qWaitForWindowActive(modal));
      script();
    }, [&] { return Dialog().Execute(); });
  }

  TfrmCfg& Dialog() {
    if (!dialog_) {
      dialog_ = std::make_unique<TfrmCfg>(nullptr, cfg, fonts, system);
      dialog_->SetFontChooser([this](QWidget*, const ReportFont& current) {
        chooserSaw.push_back(current);
        return chooserAnswer;
      });
    }
    return *dialog_;
  }

  template <typename T>
  T* Find(const char* name) {
    T* widget = Dialog().findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }
  QString FontCaptionShown() { return Find<QPushButton>("btnFont")->text(); }

  // The user picks a preset from the list.
  void PickPreset(int position) {
    QComboBox* list = Find<QComboBox>("cbPreset");
    list->showPopup();
    list->view()->setCurrentIndex(list->model()->index(position, 0));
    QTest::keyClick(list->view(), Qt::Key_Return);
  }

  static constexpr const char* BoxNames[] = {"cbMost", "cbSemi", "cbLeast", "cbPassed", "cbPlain", "cbBack"};

  ReportColors ColorsShown() {
    StoredColor c[6];
    for (int i = 0; i < 6; ++i) c[i] = Find<ColorBox>(BoxNames[i])->Color();
    return {c[0], c[1], c[2], c[3], c[4], c[5]};
  }

  // The six boxes and the font button are enabled together or not at all.
  bool LookEditable() {
    const bool editable = Find<QPushButton>("btnFont")->isEnabled();
    for (const char* name : BoxNames) EXPECT_EQ(Find<ColorBox>(name)->isEnabled(), editable) << name;
    return editable;
  }

  void ClickOK() { QTest::mouseClick(Find<QPushButton>("btnOK"), Qt::LeftButton); }
  void ClickCancel() { QTest::mouseClick(Find<QPushButton>("btnCancel"), Qt::LeftButton); }

  TCfg cfg = HandEdited();
  FakeFonts fonts;
  test::FixedSystemColors system;
  std::optional<ReportFont> chooserAnswer;
  std::vector<ReportFont> chooserSaw;

 private:
  std::unique_ptr<TfrmCfg> dialog_;
};

TEST_F(Preferences, WindowIsAFixedCentredDialogWithItsCaptionAndTabOrder) {
  const QStringList tabOrder{"cbPreset", "cbMost", "cbSemi", "cbLeast", "cbPassed", "cbPlain", "cbBack",
                             "btnFont", "cseBefore", "cseAfter", "cbDateFormat", "cbShowIcons", "cbZodiac",
                             "cbSmooth", "btnOK", "btnCancel"};
  // The frame's size is known once the window has been shown, so the second showing is centred.
  for (int showing = 1; showing <= 2; ++showing) {
    Run([&] {
      TfrmCfg& d = Dialog();
      EXPECT_EQ(d.windowTitle(), " Jubilora Preferences");
      EXPECT_EQ(d.size(), QSize(TfrmCfg::ClientWidth, TfrmCfg::ClientHeight));
      EXPECT_EQ(d.minimumSize(), d.maximumSize());
      EXPECT_TRUE(d.windowFlags().testFlag(Qt::WindowCloseButtonHint));
      QStringList groups;
      for (QGroupBox* group : d.findChildren<QGroupBox*>()) groups << group->title();
      EXPECT_EQ(groups,
                QStringList({" Colors and font settings ", " Default reminder period ", " Other preferences "}));
      QStringList visited;
      QWidget* w = Find<QComboBox>("cbPreset");
      do {
        if (tabOrder.contains(w->objectName())) visited << w->objectName();
        w = w->nextInFocusChain();
      } while (w != Find<QComboBox>("cbPreset") && visited.size() < 40);
      EXPECT_EQ(visited, tabOrder);
      const QPoint offset = d.frameGeometry().center() - d.screen()->geometry().center();
      if (showing == 2) {
        EXPECT_LE(offset.manhattanLength(), 2);
      }
      ClickCancel();
    });
  }
}

TEST_F(Preferences, ShowingLoadsEveryControlFromTheSettings) {
  Run([&] {
    EXPECT_EQ(Find<QSpinBox>("cseBefore")->value(), 12);
    EXPECT_EQ(Find<QSpinBox>("cseAfter")->value(), 3);
    EXPECT_EQ(Find<QComboBox>("cbPreset")->currentText(), "Custom...");
    EXPECT_EQ(ColorsShown(), LookOf(cfg).Colors);
    EXPECT_TRUE(LookEditable());
    EXPECT_EQ(FontCaptionShown(), "Verdana (9 ,I)");
    QComboBox* formats = Find<QComboBox>("cbDateFormat");
    QStringList shown;
    for (int i = 0; i < formats->count(); ++i) shown << formats->itemText(i);
    EXPECT_EQ(shown, QStringList({"JAN-31", "January 31", "January 31st", "31-JAN", "31 January", "31st January",
                                  "31 of January", "31st of January"}));
    EXPECT_EQ(formats->currentIndex(), 5);
    EXPECT_FALSE(Find<QCheckBox>("cbShowIcons")->isChecked());
    EXPECT_TRUE(Find<QCheckBox>("cbZodiac")->isChecked());
    EXPECT_TRUE(Find<QCheckBox>("cbSmooth")->isChecked());
    EXPECT_EQ(QApplication::focusWidget(), Find<QComboBox>("cbPreset"));
    ClickCancel();
  });
}

// The preset rule: a preset greys the boxes and shows its own colours and font, even over
// hand-edited stored ones; Custom after it keeps its values, now editable. A preset never
// changes the character set.
TEST_F(Preferences, TerminalPresetRule) {
  const struct {
    const char* behaviour;
    int stored;
    std::vector<int> picks;
    bool editable;
  } cases[] = {{"Terminal greys the boxes and shows Tahoma (10 ,B)", 0, {2}, false},
               {"Custom after Terminal keeps Terminal's values", 0, {2, 0}, true},
               {"a stored preset overrides hand-edited colours and font", 2, {}, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.behaviour);
    cfg = HandEdited();
    cfg.Preset = static_cast<std::uint8_t>(c.stored);
    EXPECT_TRUE(Run([&] {
      for (int position : c.picks) PickPreset(position);
      EXPECT_EQ(LookEditable(), c.editable);
      EXPECT_EQ(ColorsShown(), TerminalColors);
      EXPECT_EQ(FontCaptionShown(), "Tahoma (10 ,B)");
      ClickOK();
    }));
    EXPECT_EQ(cfg.Preset, c.editable ? 0 : 2);
    EXPECT_EQ(LookOf(cfg), (ReportLook{TerminalColors, {"Tahoma", 10, true, false, 238}}));
  }
}

// Each showing also starts afresh from the settings, whatever the last one left behind.
TEST_F(Preferences, EveryWayOfCancellingLeavesTheSettingsUntouched) {
  const TCfg before = cfg;
  const std::vector<std::pair<const char*, std::function<void()>>> ways{
      {"Cancel", [&] { ClickCancel(); }},
      {"Escape", [&] { QTest::keyClick(Find<QSpinBox>("cseAfter"), Qt::Key_Escape); }},
      {"close box", [&] { Dialog().close(); }},
  };
  for (const auto& [name, cancel] : ways) {
    SCOPED_TRACE(name);
    EXPECT_FALSE(Run([&] {
      EXPECT_EQ(Find<QComboBox>("cbPreset")->currentIndex(), 0);
      EXPECT_EQ(ColorsShown(), LookOf(before).Colors);
      EXPECT_EQ(FontCaptionShown(), "Verdana (9 ,I)");
      EXPECT_EQ(Find<QSpinBox>("cseBefore")->value(), 12);
      PickPreset(2);
      PickPreset(5);
      Find<QSpinBox>("cseBefore")->setValue(40);
      Find<QCheckBox>("cbShowIcons")->setChecked(true);
      Find<QComboBox>("cbDateFormat")->setCurrentIndex(0);
      cancel();
    }));
    EXPECT_EQ(cfg, before);
  }
}

// Enter anywhere accepts, like OK.
TEST_F(Preferences, AcceptingWritesEveryField) {
  ASSERT_TRUE(Run([&] {
    Find<QSpinBox>("cseAfter")->setValue(45);
    Find<ColorBox>("cbPassed")->SetColor(0x00563412);
    Find<QComboBox>("cbDateFormat")->setCurrentIndex(4);
    Find<QCheckBox>("cbShowIcons")->setChecked(true);
    Find<QCheckBox>("cbZodiac")->setChecked(false);
    Find<QCheckBox>("cbSmooth")->setChecked(false);
    QSpinBox* before = Find<QSpinBox>("cseBefore");
    before->setFocus();
    before->selectAll();
    QTest::keyClicks(QApplication::focusWidget(), "60");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  }));
  EXPECT_FALSE(Dialog().isVisible());
  TCfg expected = HandEdited();
  expected.DaysBefore = 60;
  expected.DaysAfter = 45;
  expected.Passed = 0x00563412;
  expected.DateFormat = 4;
  expected.ShowIcons = true;
  expected.ShowZodiacSign = false;
  expected.ForceSmoothing = false;
  EXPECT_EQ(cfg, expected);
}

TEST_F(Preferences, AcceptingUnchangedStoresBackWhatWasShown) {
  cfg.MostUrgent = static_cast<StoredColor>(0x80000005u);  // a system colour in another spelling
  const TCfg before = cfg;
  EXPECT_TRUE(Run([&] { ClickOK(); }));
  EXPECT_EQ(cfg, before);
}

TEST_F(Preferences, StoredValuesBeyondTheControlsAreHeldToThem) {
  cfg.DaysBefore = 200;
  cfg.DaysAfter = 99;
  cfg.Preset = 44;
  cfg.DateFormat = 12;
  Run([&] {
    EXPECT_EQ(Find<QComboBox>("cbPreset")->currentText(), "Custom...");
    EXPECT_TRUE(LookEditable());
    ClickOK();
  });
  EXPECT_EQ(cfg.DaysBefore, 90);
  EXPECT_EQ(cfg.DaysAfter, 45);
  EXPECT_EQ(cfg.Preset, 0);
  EXPECT_EQ(cfg.DateFormat, 0);
}

// The caption is checked again after the font dialog, also when it was cancelled, and the
// face it shows is the one stored.
TEST_F(Preferences, FontButtonOpensTheDialogAndShowsItsChoice) {
  Run([&] {
    fonts.installed = {"Tahoma", "DejaVu Sans"};  // Verdana went away while the window was open
    Find<QPushButton>("btnFont")->click();
    EXPECT_EQ(FontCaptionShown(), "Tahoma (9 ,I)");
    ClickOK();
  });
  EXPECT_EQ(cfg.FontName, "Tahoma");
  chooserAnswer = ReportFont{"DejaVu Sans", 12, true, true, 77};
  Run([&] {
    Find<QPushButton>("btnFont")->click();
    EXPECT_EQ(FontCaptionShown(), "DejaVu Sans (12 ,BI)");
    ClickOK();
  });
  EXPECT_EQ(chooserSaw, (std::vector<ReportFont>{{"Verdana", 9, false, true, 238}, {"Tahoma", 9, false, true, 238}}));
  EXPECT_EQ(LookOf(cfg).Font, (ReportFont{"DejaVu Sans", 12, true, true, 238}))
      << "the character set passes through unchanged";
}

// The real font dialog, driven as the user would.
class FontDialog : public testing::Test {
 protected:
  FontDialog() { test::TestApplication(); }

  static std::optional<ReportFont> Run(const ReportFont& start, const std::function<void(QFontDialog*)>& script) {
    return WhileModal([&](QWidget* modal) {
      auto* dialog = qobject_cast<QFontDialog*>(modal);
      ASSERT_NE(dialog, nullptr);
      script(dialog);
    }, [&] { return ChooseReportFont(nullptr, start); });
  }
};

TEST_F(FontDialog, OffersNoEffectsAndOnlySizesFromEightToTwentyFour) {
  Run({"DejaVu Sans", 14, false, false, 1}, [](QFontDialog* dialog) {
    // The effects are check boxes: strike-out and underline.
    for (QCheckBox* effect : dialog->findChildren<QCheckBox*>())
      EXPECT_FALSE(effect->isVisibleTo(dialog)) << effect->text().toStdString();
    QListView* sizes = nullptr;
    for (QListView* list : dialog->findChildren<QListView*>()) {
      bool numeric = false;
      list->model()->index(0, 0).data().toString().toInt(&numeric);
      if (numeric) sizes = list;
    }
    ASSERT_NE(sizes, nullptr);
    std::vector<int> shown;
    for (int row = 0; row < sizes->model()->rowCount(); ++row)
      if (!sizes->isRowHidden(row)) shown.push_back(sizes->model()->index(row, 0).data().toString().toInt());
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.front(), MinFontPoints);
    EXPECT_EQ(shown.back(), MaxFontPoints);
    dialog->reject();
  });
}

TEST_F(FontDialog, ChoiceComesBackWithTheCharacterSetUntouchedAndCancelGivesNothing) {
  const QString family = QFontDatabase::families().value(0);
  ASSERT_FALSE(family.isEmpty());
  const std::optional<ReportFont> chosen = Run({"Tahoma", 14, false, false, 204}, [&](QFontDialog* dialog) {
    QFont font(family);
    font.setPointSize(20);
    font.setBold(true);
    dialog->setCurrentFont(font);
    dialog->accept();
  });
  ASSERT_TRUE(chosen.has_value());
  EXPECT_EQ(QString::fromStdString(chosen->Name), family.left(family.indexOf(" [")));
  EXPECT_EQ(chosen->Size, 20);
  EXPECT_EQ(chosen->Charset, 204);
  EXPECT_FALSE(Run({"DejaVu Sans", 14, false, false, 1}, [](QFontDialog* dialog) { dialog->reject(); }).has_value());
}

TEST_F(FontDialog, TypedSizesOutsideTheLimitsAreHeldToThem) {
  auto typeSize = [this](const char* typed) {
    return Run({"DejaVu Sans", 14, false, false, 1}, [typed](QFontDialog* dialog) {
      QLineEdit* sizeEdit = nullptr;
      for (QLineEdit* edit : dialog->findChildren<QLineEdit*>())
        if (edit->validator() != nullptr) sizeEdit = edit;
      ASSERT_NE(sizeEdit, nullptr);
      sizeEdit->selectAll();
      QTest::keyClicks(sizeEdit, typed);
      dialog->accept();
    });
  };
  EXPECT_EQ(typeSize("5")->Size, MinFontPoints);
  EXPECT_EQ(typeSize("30")->Size, MaxFontPoints);
  EXPECT_EQ(typeSize("300")->Size, MaxFontPoints) << "a third digit is refused";
  EXPECT_EQ(typeSize("17")->Size, 17);
}

}  // namespace
}  // namespace jubilora
