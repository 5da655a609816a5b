#include "ui/preferences.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
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

QApplication& App() { return test::TestApplication(); }

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

class FakeFonts : public FontCatalog {
 public:
  explicit FakeFonts(std::vector<std::string> names) {
    for (auto& name : names) names_.insert(Lower(name));
  }
  bool IsInstalled(const std::string& family) const override { return names_.count(Lower(family)) > 0; }

 private:
  std::set<std::string> names_;
};

constexpr StoredColor Red = 0x000000FF;
constexpr StoredColor Yellow = 0x0000FFFF;
constexpr StoredColor Green = 0x0000FF00;
constexpr StoredColor Teal = 0x00808000;
constexpr StoredColor Silver = 0x00C0C0C0;
constexpr StoredColor Black = 0x00000000;

// Settings that differ from every preset, as if edited by hand.
TCfg HandEdited() {
  TCfg cfg;
  cfg.DaysBefore = 12;
  cfg.DaysAfter = 3;
  cfg.Preset = 0;
  cfg.MostUrgent = 0x00010203;
  cfg.SemiUrgent = 0x00040506;
  cfg.LeastUrgent = 0x00070809;
  cfg.Passed = 0x000A0B0C;
  cfg.PlainText = 0x000D0E0F;
  cfg.Background = 0x00101112;
  cfg.FontName = "Verdana";
  cfg.FontSize = 9;
  cfg.FontBold = false;
  cfg.FontItalic = true;
  cfg.FontCharset = 238;
  cfg.DateFormat = 5;
  cfg.ShowIcons = false;
  cfg.ShowZodiacSign = true;
  cfg.ForceSmoothing = true;
  cfg.LastPath = "/backups";
  cfg.ExportPath = "/exports";
  return cfg;
}

class Preferences : public testing::Test {
 protected:
  Preferences() { App(); }

  // Shows the window modally and runs `script` in it. A script that leaves it open fails
  // the test instead of hanging it.
  bool Run(const std::function<void()>& script) {
    TfrmCfg& dialog = Dialog();
    QObject scope;
    bool ran = false;
    QTimer::singleShot(0, &scope, [&] {
      ran = QApplication::activeModalWidget() == &dialog;
      if (!ran) return;
      dialog.activateWindow();
      EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
      script();
    });
    QTimer::singleShot(5000, &scope, [&] {
      if (dialog.isVisible()) {
        ADD_FAILURE() << "the window was left open";
        dialog.reject();
      }
    });
    const bool accepted = dialog.Execute();
    EXPECT_TRUE(ran);
    return accepted;
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
  ColorBox* Box(const char* name) { return Find<ColorBox>(name); }
  QString FontCaptionShown() { return Find<QPushButton>("btnFont")->text(); }

  // The user picks a preset from the list.
  void PickPreset(int position) {
    QComboBox* list = Find<QComboBox>("cbPreset");
    list->showPopup();
    list->view()->setCurrentIndex(list->model()->index(position, 0));
    QTest::keyClick(list->view(), Qt::Key_Return);
  }

  std::vector<StoredColor> ColorsShown() {
    std::vector<StoredColor> colors;
    for (const char* name : {"cbMost", "cbSemi", "cbLeast", "cbPassed", "cbPlain", "cbBack"})
      colors.push_back(Box(name)->Color());
    return colors;
  }

  bool ColourControlsEnabled() {
    bool all = true, any = false;
    for (const char* name : {"cbMost", "cbSemi", "cbLeast", "cbPassed", "cbPlain", "cbBack"}) {
      all = all && Box(name)->isEnabled();
      any = any || Box(name)->isEnabled();
    }
    EXPECT_EQ(all, any) << "the six boxes are enabled together";
    EXPECT_EQ(Find<QPushButton>("btnFont")->isEnabled(), all);
    return all;
  }

  void ClickOK() { QTest::mouseClick(Find<QPushButton>("btnOK"), Qt::LeftButton); }
  void ClickCancel() { QTest::mouseClick(Find<QPushButton>("btnCancel"), Qt::LeftButton); }

  TCfg cfg = HandEdited();
  FakeFonts fonts{{"Tahoma", "Verdana", "Trebuchet MS", "DejaVu Sans"}};
  test::FixedSystemColors system;
  std::optional<ReportFont> chooserAnswer;
  std::vector<ReportFont> chooserSaw;

 private:
  std::unique_ptr<TfrmCfg> dialog_;
};

TEST_F(Preferences, WindowIsAFixedCentredDialogWithItsCaption) {
  for (int showing = 1; showing <= 2; ++showing) {
    Run([&] {
      TfrmCfg& d = Dialog();
      EXPECT_EQ(d.windowTitle(), " Jubilora Preferences");
      EXPECT_EQ(d.size(), QSize(TfrmCfg::ClientWidth, TfrmCfg::ClientHeight));
      EXPECT_EQ(d.minimumSize(), d.maximumSize());
      EXPECT_TRUE(d.windowFlags().testFlag(Qt::WindowCloseButtonHint));
      const std::vector<QString> titles{" Colors and font settings ", " Default reminder period ",
                                        " Other preferences "};
      std::vector<QString> shown;
      for (QGroupBox* group : d.findChildren<QGroupBox*>()) shown.push_back(group->title());
      EXPECT_EQ(shown, titles);
      // The frame's size is known once the window has been shown.
      if (showing == 2) {
        const QPoint offset = d.frameGeometry().center() - d.screen()->geometry().center();
        EXPECT_LE(std::abs(offset.x()), 1);
        EXPECT_LE(std::abs(offset.y()), 1);
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
    EXPECT_EQ(ColorsShown(), (std::vector<StoredColor>{0x00010203, 0x00040506, 0x00070809, 0x000A0B0C, 0x000D0E0F,
                                                       0x00101112}));
    EXPECT_TRUE(ColourControlsEnabled());
    EXPECT_EQ(FontCaptionShown(), "Verdana (9 ,I)");
    EXPECT_EQ(Find<QComboBox>("cbDateFormat")->currentText(), "31st January");
    EXPECT_FALSE(Find<QCheckBox>("cbShowIcons")->isChecked());
    EXPECT_TRUE(Find<QCheckBox>("cbZodiac")->isChecked());
    EXPECT_TRUE(Find<QCheckBox>("cbSmooth")->isChecked());
    EXPECT_EQ(QApplication::focusWidget(), Find<QComboBox>("cbPreset"));
    ClickCancel();
  });
}

TEST_F(Preferences, ListsHoldThePresetsAndTheEightDateFormats) {
  Run([&] {
    QComboBox* formats = Find<QComboBox>("cbDateFormat");
    const QStringList expected{"JAN-31",      "January 31",   "January 31st",  "31-JAN",
                               "31 January", "31st January", "31 of January", "31st of January"};
    QStringList shown;
    for (int i = 0; i < formats->count(); ++i) shown << formats->itemText(i);
    EXPECT_EQ(shown, expected);
    QComboBox* presets = Find<QComboBox>("cbPreset");
    EXPECT_EQ(presets->count(), 9);
    EXPECT_EQ(presets->itemText(5), "Black & White");
    EXPECT_EQ(presets->maxVisibleItems(), 20);
    ClickCancel();
  });
}

TEST_F(Preferences, TerminalGreysTheBoxesAndShowsItsColoursAndFont) {
  Run([&] {
    PickPreset(2);
    EXPECT_FALSE(ColourControlsEnabled());
    EXPECT_EQ(ColorsShown(), (std::vector<StoredColor>{Red, Yellow, Green, Teal, Silver, Black}));
    EXPECT_EQ(FontCaptionShown(), "Tahoma (10 ,B)");
    ClickCancel();
  });
}

TEST_F(Preferences, CustomAfterTerminalKeepsTerminalsValuesNowEditable) {
  const bool accepted = Run([&] {
    PickPreset(2);
    PickPreset(0);
    EXPECT_TRUE(ColourControlsEnabled());
    EXPECT_EQ(ColorsShown(), (std::vector<StoredColor>{Red, Yellow, Green, Teal, Silver, Black}));
    EXPECT_EQ(FontCaptionShown(), "Tahoma (10 ,B)");
    ClickOK();
  });
  EXPECT_TRUE(accepted);
  EXPECT_EQ(cfg.Preset, 0);
  EXPECT_EQ(cfg.MostUrgent, Red);
  EXPECT_EQ(cfg.Background, Black);
  EXPECT_EQ(cfg.FontName, "Tahoma");
  EXPECT_EQ(cfg.FontSize, 10);
  EXPECT_TRUE(cfg.FontBold);
  EXPECT_FALSE(cfg.FontItalic);
}

TEST_F(Preferences, StoredPresetOverridesHandEditedColoursAndFont) {
  cfg.Preset = 2;
  const bool accepted = Run([&] {
    EXPECT_EQ(ColorsShown(), (std::vector<StoredColor>{Red, Yellow, Green, Teal, Silver, Black}));
    EXPECT_EQ(FontCaptionShown(), "Tahoma (10 ,B)");
    EXPECT_FALSE(ColourControlsEnabled());
    ClickOK();
  });
  EXPECT_TRUE(accepted);
  EXPECT_EQ(cfg.Preset, 2);
  EXPECT_EQ(cfg.MostUrgent, Red);
  EXPECT_EQ(cfg.SemiUrgent, Yellow);
  EXPECT_EQ(cfg.LeastUrgent, Green);
  EXPECT_EQ(cfg.Passed, Teal);
  EXPECT_EQ(cfg.PlainText, Silver);
  EXPECT_EQ(cfg.Background, Black);
  EXPECT_EQ(cfg.FontSize, 10);
  EXPECT_FALSE(cfg.FontItalic);
}

TEST_F(Preferences, WindowsPresetStoresSystemColourReferences) {
  Run([&] {
    PickPreset(3);
    ClickOK();
  });
  EXPECT_EQ(static_cast<std::uint32_t>(cfg.MostUrgent), 0xFF000008u);
  EXPECT_EQ(static_cast<std::uint32_t>(cfg.SemiUrgent), 0xFF000008u);
  EXPECT_EQ(static_cast<std::uint32_t>(cfg.Background), 0xFF00000Fu);
  // Arial is not installed here, so the face that is stored is the one the button shows.
  EXPECT_EQ(cfg.FontName, "Tahoma");
  EXPECT_EQ(cfg.FontSize, 12);
}

TEST_F(Preferences, PresetsKeepTheCharacterSet) {
  Run([&] {
    PickPreset(6);
    EXPECT_EQ(FontCaptionShown(), "Trebuchet MS (13)");
    ClickOK();
  });
  EXPECT_EQ(cfg.FontName, "Trebuchet MS");
  EXPECT_EQ(cfg.FontCharset, 238);
}

TEST_F(Preferences, CancelAfterTryingPresetsLeavesTheSettingsUntouched) {
  const TCfg before = cfg;
  const bool accepted = Run([&] {
    PickPreset(2);
    PickPreset(5);
    PickPreset(0);
    Find<QSpinBox>("cseBefore")->setValue(40);
    Find<QCheckBox>("cbShowIcons")->setChecked(true);
    Find<QComboBox>("cbDateFormat")->setCurrentIndex(0);
    ClickCancel();
  });
  EXPECT_FALSE(accepted);
  EXPECT_EQ(cfg, before);
}

TEST_F(Preferences, EscapeAndTheCloseBoxCancel) {
  const TCfg before = cfg;
  EXPECT_FALSE(Run([&] {
    PickPreset(4);
    QTest::keyClick(Find<QSpinBox>("cseAfter"), Qt::Key_Escape);
  }));
  EXPECT_FALSE(Run([&] {
    PickPreset(4);
    Dialog().close();
  }));
  EXPECT_EQ(cfg, before);
}

TEST_F(Preferences, EnterAnywhereAccepts) {
  const bool accepted = Run([&] {
    QSpinBox* before = Find<QSpinBox>("cseBefore");
    before->setFocus();
    before->selectAll();
    QTest::keyClicks(QApplication::focusWidget(), "45");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  });
  EXPECT_TRUE(accepted);
  EXPECT_EQ(cfg.DaysBefore, 45);
  EXPECT_FALSE(Dialog().isVisible());
}

TEST_F(Preferences, AcceptingWritesEveryField) {
  const bool accepted = Run([&] {
    Find<QSpinBox>("cseBefore")->setValue(60);
    Find<QSpinBox>("cseAfter")->setValue(45);
    Box("cbPassed")->SetColor(0x00563412);
    Find<QComboBox>("cbDateFormat")->setCurrentIndex(4);
    Find<QCheckBox>("cbShowIcons")->setChecked(true);
    Find<QCheckBox>("cbZodiac")->setChecked(false);
    Find<QCheckBox>("cbSmooth")->setChecked(false);
    ClickOK();
  });
  ASSERT_TRUE(accepted);
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

TEST_F(Preferences, MissingFontFaceShowsAndStoresTahoma) {
  cfg.FontName = "No Such Face";
  cfg.FontSize = 11;
  cfg.FontItalic = false;
  Run([&] {
    EXPECT_EQ(FontCaptionShown(), "Tahoma (11)");
    ClickOK();
  });
  EXPECT_EQ(cfg.FontName, "Tahoma");
}

TEST_F(Preferences, FontButtonOpensTheDialogAndShowsItsChoice) {
  chooserAnswer = ReportFont{"DejaVu Sans", 12, true, true, 77};
  Run([&] {
    Find<QPushButton>("btnFont")->click();
    EXPECT_EQ(FontCaptionShown(), "DejaVu Sans (12 ,BI)");
    ClickOK();
  });
  ASSERT_EQ(chooserSaw.size(), 1u);
  EXPECT_EQ(chooserSaw[0], (ReportFont{"Verdana", 9, false, true, 238}));
  EXPECT_EQ(cfg.FontName, "DejaVu Sans");
  EXPECT_EQ(cfg.FontSize, 12);
  EXPECT_TRUE(cfg.FontBold);
  EXPECT_TRUE(cfg.FontItalic);
  EXPECT_EQ(cfg.FontCharset, 238) << "the character set passes through unchanged";
}

TEST_F(Preferences, CancelledFontDialogStillChecksTheFace) {
  cfg.FontName = "Verdana";
  Run([&] {
    // The face disappears while the window is open; the caption is checked again anyway.
    fonts = FakeFonts({"Tahoma"});
    Find<QPushButton>("btnFont")->click();
    EXPECT_EQ(FontCaptionShown(), "Tahoma (9 ,I)");
    ClickCancel();
  });
  EXPECT_EQ(chooserSaw.size(), 1u);
  EXPECT_EQ(cfg.FontName, "Verdana");
}

TEST_F(Preferences, EveryShowingStartsAfreshFromTheSettings) {
  Run([&] {
    PickPreset(7);
    Find<QSpinBox>("cseAfter")->setValue(20);
    ClickCancel();
  });
  Run([&] {
    EXPECT_EQ(Find<QComboBox>("cbPreset")->currentIndex(), 0);
    EXPECT_TRUE(ColourControlsEnabled());
    EXPECT_EQ(ColorsShown().front(), 0x00010203);
    EXPECT_EQ(FontCaptionShown(), "Verdana (9 ,I)");
    EXPECT_EQ(Find<QSpinBox>("cseAfter")->value(), 3);
    ClickCancel();
  });
}

TEST_F(Preferences, StoredValuesBeyondTheControlsAreHeldToThem) {
  cfg.DaysBefore = 200;
  cfg.DaysAfter = 99;
  cfg.Preset = 44;
  cfg.DateFormat = 12;
  Run([&] {
    EXPECT_EQ(Find<QSpinBox>("cseBefore")->value(), 90);
    EXPECT_EQ(Find<QSpinBox>("cseAfter")->value(), 45);
    EXPECT_EQ(Find<QComboBox>("cbPreset")->currentText(), "Custom...");
    EXPECT_TRUE(ColourControlsEnabled());
    EXPECT_EQ(ColorsShown().back(), 0x00101112);
    EXPECT_EQ(Find<QComboBox>("cbDateFormat")->currentText(), "JAN-31");
    ClickOK();
  });
  EXPECT_EQ(cfg.DaysBefore, 90);
  EXPECT_EQ(cfg.DaysAfter, 45);
  EXPECT_EQ(cfg.Preset, 0);
  EXPECT_EQ(cfg.DateFormat, 0);
}

TEST_F(Preferences, TabOrderRunsThroughTheGroupsThenTheButtons) {
  Run([&] {
    const std::vector<QString> expected{"cbPreset",  "cbMost",       "cbSemi",      "cbLeast",  "cbPassed",
                                        "cbPlain",   "cbBack",       "btnFont",     "cseBefore", "cseAfter",
                                        "cbDateFormat", "cbShowIcons", "cbZodiac",  "cbSmooth", "btnOK",
                                        "btnCancel"};
    std::vector<QString> visited;
    QWidget* start = Find<QComboBox>("cbPreset");
    QWidget* w = start;
    do {
      if (!w->objectName().isEmpty() && std::find(expected.begin(), expected.end(), w->objectName()) != expected.end())
        visited.push_back(w->objectName());
      w = w->nextInFocusChain();
    } while (w != start && visited.size() < 40);
    EXPECT_EQ(visited, expected);
    ClickCancel();
  });
}

// The real font dialog, driven as the user would.
class FontDialog : public testing::Test {
 protected:
  FontDialog() { App(); }

  std::optional<ReportFont> Run(const ReportFont& start, const std::function<void(QFontDialog*)>& script) {
    QObject scope;
    QTimer::singleShot(0, &scope, [&] {
      auto* dialog = qobject_cast<QFontDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(dialog, nullptr);
      script(dialog);
    });
    QTimer::singleShot(5000, &scope, [] {
      if (QWidget* open = QApplication::activeModalWidget()) open->close();
    });
    return ChooseReportFont(nullptr, start);
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

TEST_F(FontDialog, ChoiceComesBackWithTheCharacterSetUntouched) {
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

TEST_F(FontDialog, CancelGivesNothing) {
  EXPECT_FALSE(Run({"DejaVu Sans", 14, false, false, 1}, [](QFontDialog* dialog) { dialog->reject(); }).has_value());
}

}  // namespace
}  // namespace jubilora
