#include "ui/record_editor.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include <QAbstractItemView>
#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include "platform/clock.h"
#include "support/records.h"
#include "support/qt_app.h"

namespace jubilora {
namespace {

QApplication& App() { return test::TestApplication(); }

constexpr int Ticked = 1;

QDate Date(int year, int month, int day) { return {year, month, day}; }

class RecordEditorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    App();
    Clock::FixToday(DayFromCivil(2025, 3, 14));
    main_ = std::make_unique<QWidget>();
    main_->setGeometry(100, 80, 700, 500);
    main_->show();
    editor_ = std::make_unique<TfrmEdit>(main_.get(), list_, cfg_);
  }
  void TearDown() override {
    editor_.reset();
    main_.reset();
    Clock::FixToday(std::nullopt);
  }

  template <typename T>
  T* Get(const char* name) const {
    T* control = editor_->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(control, nullptr) << name;
    return control;
  }
  QLineEdit* Description() const { return Get<QLineEdit>("edDescription"); }
  QSpinBox* Day() const { return Get<QSpinBox>("cseDay"); }
  QSpinBox* Month() const { return Get<QSpinBox>("cseMonth"); }
  QSpinBox* Year() const { return Get<QSpinBox>("cseYear"); }
  QCalendarWidget* Calendar() const { return Get<QCalendarWidget>("calDate"); }
  QComboBox* Type() const { return Get<QComboBox>("cbType"); }
  QCheckBox* Starting() const { return Get<QCheckBox>("cbStarting"); }
  QComboBox* Importance() const { return Get<QComboBox>("cbImportance"); }
  QSpinBox* Start() const { return Get<QSpinBox>("cseStart"); }
  QCheckBox* Default() const { return Get<QCheckBox>("cbDefault"); }
  QPushButton* Ok() const { return Get<QPushButton>("btnOK"); }
  QPushButton* Cancel() const { return Get<QPushButton>("btnCancel"); }
  QLabel* DateLabel() const { return Get<QLabel>("labDate"); }

  // Opens the editor and runs `script` once it shows. A script that leaves it open fails
  // the test instead of hanging it.
  bool Run(bool adding, int index, const std::function<void()>& script) {
    QObject scope;
    bool ran = false;
    QTimer::singleShot(0, &scope, [&] {
      ran = true;
      EXPECT_TRUE(editor_->isVisible());
      EXPECT_TRUE(QTest::qWaitForWindowActive(editor_.get()));
      script();
    });
    QTimer::singleShot(10000, &scope, [this] {
      ADD_FAILURE() << "the editor was left open";
      if (QWidget* modal = QApplication::activeModalWidget(); modal && modal != editor_.get()) modal->close();
      editor_->done(-99);
    });
    const bool accepted = editor_->Execute(adding, index);
    EXPECT_TRUE(ran);
    EXPECT_FALSE(editor_->isVisible());
    return accepted;
  }

  // Does `press`, expecting it to bring up the incomplete-input notice; answers it and
  // returns its caption and message.
  QString AnswerNotice(const std::function<void()>& press) {
    QString seen;
    QTimer::singleShot(0, editor_.get(), [&] {
      QWidget* notice = QApplication::activeModalWidget();
      if (notice == nullptr || notice == editor_.get()) return;
      seen = notice->windowTitle();
      if (auto* message = notice->findChild<QLabel*>(QStringLiteral("labMessage"))) {
        seen += QLatin1Char('|') + message->text();
      }
      if (auto* button = notice->findChild<QPushButton*>(QStringLiteral("btnAnswer1"))) {
        seen += QLatin1Char('|') + button->text();
        button->click();
      }
    });
    press();
    return seen;
  }

  void Complete(const QString& text = QStringLiteral("Anna"), int kind = 0, int importance = 2) {
    Description()->setText(text);
    Type()->setCurrentIndex(kind);
    Importance()->setCurrentIndex(importance);
  }

  static bool IsIn(QWidget* focus, QWidget* control) {
    return focus != nullptr && (focus == control || control->isAncestorOf(focus));
  }
  bool FocusIsIn(QWidget* control) const { return IsIn(QApplication::focusWidget(), control); }
  // After the notice: the editor is active again and the focus is on the item.
  bool FocusReturnsTo(QWidget* control) const {
    return QTest::qWaitForWindowActive(editor_.get()) && IsIn(editor_->focusWidget(), control) &&
           FocusIsIn(control);
  }

  TAnniversaryList list_;
  TCfg cfg_;
  std::unique_ptr<QWidget> main_;
  std::unique_ptr<TfrmEdit> editor_;
};

const QString IncompleteNotice = QStringLiteral(
    " Jubilora in Trouble|Entered anniversary data is incomplete\nand cannot be saved.\n\n"
    "Please fill in the empty fields.|&OK");

// --- Opening ----------------------------------------------------------------------------

TEST_F(RecordEditorTest, AddingOpensEmptyOnTheFirstOfJanuary) {
  cfg_.DaysBefore = 21;
  // What a previous opening left behind must not survive.
  list_.push_back(test::Record(KindWedding, 1980, 6, 7, "Old", 1, 5));
  Run(false, 0, [&] { Cancel()->click(); });
  Run(true, -1, [&] {
    EXPECT_EQ(editor_->windowTitle(), QStringLiteral("Add New Anniversary"));
    EXPECT_EQ(Description()->text(), QString());
    EXPECT_TRUE(FocusIsIn(Description()));
    EXPECT_EQ(Calendar()->selectedDate(), Date(2025, 1, 1));
    EXPECT_EQ(Year()->value(), 2025);
    EXPECT_EQ(Month()->value(), 1);
    EXPECT_EQ(Day()->value(), 1);
    EXPECT_EQ(Day()->maximum(), 31);
    EXPECT_EQ(Type()->currentIndex(), -1);
    EXPECT_FALSE(Starting()->isChecked());
    EXPECT_FALSE(Starting()->isEnabled());
    EXPECT_EQ(Importance()->currentIndex(), -1);
    EXPECT_TRUE(Default()->isChecked());
    EXPECT_EQ(Start()->value(), 21);
    EXPECT_FALSE(Start()->isEnabled());
    EXPECT_EQ(DateLabel()->text(), QStringLiteral("January 1"));
    Cancel()->click();
  });
}

TEST_F(RecordEditorTest, ListsHoldTheirCaptionsInOrder) {
  const QStringList kinds{"Birthday", "Name Day", "Wedding Anniversary", "Death Anniversary", "Holiday",
                          "Other Anniversaries"};
  const QStringList importances{"Extremely important", "Very important", "Quite important",
                                "Not important",       "Quite Irrelevant", "Irrelevant"};
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(Type()->itemText(i), kinds[i]);
    EXPECT_EQ(Importance()->itemText(i), importances[i]);
  }
  EXPECT_EQ(Type()->count(), 6);
  EXPECT_EQ(Importance()->count(), 6);
  EXPECT_EQ(Ok()->text(), QStringLiteral("Remember"));
  EXPECT_EQ(Cancel()->text(), QStringLiteral("Forget"));
  EXPECT_EQ(Starting()->text(), QStringLiteral("Show elapsed years"));
  EXPECT_EQ(Default()->text(), QStringLiteral("Use the default reminder period"));
  EXPECT_EQ(Calendar()->minimumDate(), Date(1601, 1, 1));
  EXPECT_EQ(Calendar()->maximumDate(), Date(2199, 12, 31));
  EXPECT_EQ(Calendar()->verticalHeaderFormat(), QCalendarWidget::ISOWeekNumbers);
  EXPECT_EQ(Year()->minimum(), 1601);
  EXPECT_EQ(Year()->maximum(), 2199);
  EXPECT_EQ(Start()->maximum(), 90);
}

TEST_F(RecordEditorTest, EditingLoadsTheRecord) {
  list_.push_back(test::Record(KindDeath, 1975, 1, 31, "Grandpa \x95 Jos\xe9", 4, 12));
  cfg_.DateFormat = 2;
  Run(false, 0, [&] {
    EXPECT_EQ(editor_->windowTitle(), QStringLiteral("Edit Existing Anniversary Data"));
    EXPECT_EQ(Description()->text(), QString::fromUtf8("Grandpa \u2022 Jos\u00e9"));
    EXPECT_EQ(Calendar()->selectedDate(), Date(1975, 1, 31));
    EXPECT_EQ(Day()->value(), 31);
    EXPECT_EQ(Month()->value(), 1);
    EXPECT_EQ(Year()->value(), 1975);
    EXPECT_EQ(Type()->currentText(), QStringLiteral("Death Anniversary"));
    EXPECT_TRUE(Starting()->isChecked());
    EXPECT_FALSE(Starting()->isEnabled());
    EXPECT_EQ(Importance()->currentText(), QStringLiteral("Very important"));
    EXPECT_FALSE(Default()->isChecked());
    EXPECT_TRUE(Start()->isEnabled());
    EXPECT_EQ(Start()->value(), 12);
    EXPECT_EQ(DateLabel()->text(), QStringLiteral("January 31st, 1975"));
    Starting()->setEnabled(true);
    Starting()->setChecked(false);
    EXPECT_EQ(DateLabel()->text(), QStringLiteral("January 31st"));
    Cancel()->click();
  });
}

TEST_F(RecordEditorTest, AcceptingAnUnchangedRecordKeepsItsBytes) {
  list_.push_back(test::Record(KindWedding, 1990, 8, 18, "Eva \x95 Tom\xe9 \x80", 5, 90));
  list_.push_back(test::Record(KindNameDay, 2001, 7, 26, "Anna", 0, DefaultReminder));
  const TAnniversaryList before = list_;
  for (int index : {0, 1}) {
    EXPECT_TRUE(Run(false, index, [&] { Ok()->click(); }));
    EXPECT_EQ(editor_->EditedIndex(), index);
  }
  ASSERT_EQ(list_.size(), 2u);
  for (std::size_t i = 0; i < 2; ++i) EXPECT_TRUE(SameBytes(list_[i], before[i])) << i;
}

TEST_F(RecordEditorTest, EditingAnIndexOutsideTheListShowsNothing) {
  list_.push_back(test::Record(KindBirthday, 1990, 5, 2, "Anna"));
  EXPECT_FALSE(editor_->Execute(false, 1));
  EXPECT_FALSE(editor_->Execute(false, -1));
  EXPECT_FALSE(editor_->isVisible());
}

TEST_F(RecordEditorTest, OpensCentredOverTheMainWindow) {
  main_->setGeometry(40, 30, 900, 620);
  Run(true, -1, [&] {
    const QPoint offset = editor_->frameGeometry().center() - main_->frameGeometry().center();
    EXPECT_LE(offset.manhattanLength(), 2) << offset.x() << "," << offset.y();
    EXPECT_EQ(editor_->size(), QSize(497, 311));
    Cancel()->click();
  });
  main_->setGeometry(300, 200, 500, 400);
  Run(true, -1, [&] {
    const QPoint offset = editor_->frameGeometry().center() - main_->frameGeometry().center();
    EXPECT_LE(offset.manhattanLength(), 2) << offset.x() << "," << offset.y();
    Cancel()->click();
  });
}

TEST_F(RecordEditorTest, OpenedFromAnotherModalWindowItIsStillCentredOverTheMainWindow) {
  main_->setGeometry(60, 40, 640, 480);
  QDialog table(main_.get());
  table.setGeometry(20, 20, 300, 200);
  bool accepted = false;
  QPoint offset(99, 99);
  QTimer::singleShot(0, &table, [&] {
    accepted = Run(true, -1, [&] {
      EXPECT_EQ(QApplication::activeModalWidget(), editor_.get());
      offset = editor_->frameGeometry().center() - main_->frameGeometry().center();
      Complete();
      Ok()->click();
    });
    table.accept();
  });
  table.exec();
  EXPECT_TRUE(accepted);
  EXPECT_LE(offset.manhattanLength(), 2) << offset.x() << "," << offset.y();
  EXPECT_EQ(list_.size(), 1u);
}

// --- Kind and elapsed years -------------------------------------------------------------

TEST_F(RecordEditorTest, KindRuleTableOnTheWidgets) {
  Run(true, -1, [&] {
    struct Row {
      int position;
      bool ticked;
      bool enabled;
    };
    // Each row starts from the opposite state, so that a rule that does nothing shows.
    for (const Row row : {Row{0, true, false}, Row{1, false, false}, Row{2, true, false},
                          Row{3, true, false}, Row{4, false, false}, Row{5, true, true}}) {
      Type()->setCurrentIndex(-1);
      Starting()->setEnabled(!row.enabled);
      Starting()->setChecked(!row.ticked);
      Type()->setCurrentIndex(row.position);
      EXPECT_EQ(Starting()->isChecked(), row.ticked) << row.position;
      EXPECT_EQ(Starting()->isEnabled(), row.enabled) << row.position;
    }
    Cancel()->click();
  });
}

TEST_F(RecordEditorTest, OtherWithoutElapsedYearsIsKindSevenAndReopensSo) {
  EXPECT_TRUE(Run(true, -1, [&] {
    Complete(QStringLiteral("Company founded"), 5, 1);
    EXPECT_TRUE(Starting()->isEnabled());
    QTest::mouseClick(Starting(), Qt::LeftButton);
    EXPECT_FALSE(Starting()->isChecked());
    Ok()->click();
  }));
  ASSERT_EQ(list_.size(), 1u);
  EXPECT_EQ(list_[0].Kind, KindOtherNoYears);
  EXPECT_EQ(editor_->EditedIndex(), 0);

  Run(false, 0, [&] {
    EXPECT_EQ(Type()->currentIndex(), 5);
    EXPECT_FALSE(Starting()->isChecked());
    EXPECT_TRUE(Starting()->isEnabled());
    // From here, Birthday ticks and locks the box; Holiday clears and locks it.
    Type()->setCurrentIndex(0);
    EXPECT_TRUE(Starting()->isChecked());
    EXPECT_FALSE(Starting()->isEnabled());
    Type()->setCurrentIndex(5);
    Starting()->setChecked(false);
    Type()->setCurrentIndex(4);
    EXPECT_FALSE(Starting()->isChecked());
    EXPECT_FALSE(Starting()->isEnabled());
    Cancel()->click();
  });
}

TEST_F(RecordEditorTest, YearFieldTurnsGreyButKeepsItsYear) {
  EXPECT_TRUE(Run(true, -1, [&] {
    Complete(QStringLiteral("St. Anne"), 0, 3);
    Year()->setValue(1983);
    const QColor white = Year()->palette().color(QPalette::Base);
    Type()->setCurrentIndex(1);  // Name Day
    const QColor grey = Year()->palette().color(QPalette::Base);
    EXPECT_NE(grey, white);
    EXPECT_EQ(grey, QApplication::palette().color(QPalette::Button));
    EXPECT_TRUE(Year()->isEnabled());
    EXPECT_EQ(Year()->value(), 1983);
    Ok()->click();
  }));
  ASSERT_EQ(list_.size(), 1u);
  EXPECT_EQ(list_[0].Kind, KindNameDay);
  EXPECT_EQ(list_[0].Date, DayFromCivil(1983, 1, 1));
}

// --- Importance and sample records ------------------------------------------------------

TEST_F(RecordEditorTest, SampleRecordNeedsAnImportanceBeforeItIsAccepted) {
  list_.push_back(test::Record(KindHoliday, 2000, 12, 25, "Christmas", SampleImportance));
  EXPECT_TRUE(Run(false, 0, [&] {
    EXPECT_EQ(Importance()->currentIndex(), -1);
    EXPECT_EQ(AnswerNotice([&] { Ok()->click(); }), IncompleteNotice);
    EXPECT_TRUE(editor_->isVisible());
    EXPECT_TRUE(FocusReturnsTo(Importance()));
    EXPECT_EQ(list_[0].Importance, SampleImportance);
    Importance()->setCurrentIndex(4);  // Quite Irrelevant
    Ok()->click();
  }));
  ASSERT_EQ(list_.size(), 1u);
  EXPECT_EQ(list_[0].Importance, 1);
}

// --- Date fields and calendar -----------------------------------------------------------

TEST_F(RecordEditorTest, DayDropsToTheLimitOfTheMonth) {
  Run(true, -1, [&] {
    Day()->setValue(31);
    EXPECT_EQ(Calendar()->selectedDate(), Date(2025, 1, 31));
    Month()->setValue(4);
    EXPECT_EQ(Day()->maximum(), 30);
    EXPECT_EQ(Day()->value(), 30);
    EXPECT_EQ(Calendar()->selectedDate(), Date(2025, 4, 30));

    Year()->setValue(2024);
    Month()->setValue(2);
    Day()->setValue(29);
    EXPECT_EQ(Calendar()->selectedDate(), Date(2024, 2, 29));
    QTest::keyClick(Year(), Qt::Key_Down);  // 2023, a common year
    EXPECT_EQ(Year()->value(), 2023);
    EXPECT_EQ(Day()->value(), 28);
    EXPECT_EQ(Calendar()->selectedDate(), Date(2023, 2, 28));
    Cancel()->click();
  });
}

TEST_F(RecordEditorTest, CalendarDrivesTheFieldsPastTheOldLimit) {
  cfg_.DateFormat = 4;
  Run(true, -1, [&] {
    Month()->setValue(2);
    EXPECT_EQ(Day()->maximum(), 28);
    Calendar()->setSelectedDate(Date(2025, 3, 31));
    EXPECT_EQ(Day()->maximum(), 31);
    EXPECT_EQ(Day()->value(), 31);
    EXPECT_EQ(Month()->value(), 3);
    EXPECT_EQ(Year()->value(), 2025);
    EXPECT_EQ(DateLabel()->text(), QStringLiteral("31 March"));

    // Keys in the calendar itself move the selection, and the fields follow.
    QWidget* grid = Calendar()->focusProxy();
    ASSERT_NE(grid, nullptr);
    QTest::keyClick(grid, Qt::Key_Right);
    EXPECT_EQ(Calendar()->selectedDate(), Date(2025, 4, 1));
    EXPECT_EQ(Day()->value(), 1);
    EXPECT_EQ(Month()->value(), 4);
    EXPECT_EQ(Day()->maximum(), 30);
    Cancel()->click();
  });
}

TEST_F(RecordEditorTest, TodayButtonSetsCalendarFieldsAndLabel) {
  cfg_.DateFormat = 2;
  Run(true, -1, [&] {
    Type()->setCurrentIndex(0);
    Get<QPushButton>("btnToday")->click();
    EXPECT_EQ(Calendar()->selectedDate(), Date(2025, 3, 14));
    EXPECT_EQ(Day()->value(), 14);
    EXPECT_EQ(Month()->value(), 3);
    EXPECT_EQ(Year()->value(), 2025);
    EXPECT_EQ(DateLabel()->text(), QStringLiteral("March 14th, 2025"));
    Cancel()->click();
  });
}

TEST_F(RecordEditorTest, DayAndMonthFieldsFollowTheDateFormat) {
  const auto check = [&](std::uint8_t format, bool dayFirst) {
    cfg_.DateFormat = format;
    Run(true, -1, [&] {
      EXPECT_EQ(Day()->x() < Month()->x(), dayFirst) << int{format};
      QWidget* first = dayFirst ? static_cast<QWidget*>(Day()) : Month();
      QWidget* second = dayFirst ? static_cast<QWidget*>(Month()) : Day();
      Get<QPushButton>("btnToday")->setFocus();
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      EXPECT_TRUE(FocusIsIn(first)) << int{format};
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      EXPECT_TRUE(FocusIsIn(second)) << int{format};
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      EXPECT_TRUE(FocusIsIn(Year())) << int{format};
      Cancel()->click();
    });
  };
  check(4, true);
  check(1, false);
  check(7, true);
  check(3, true);
  check(8, false);
  check(0, false);
}

// --- Reminder ---------------------------------------------------------------------------

TEST_F(RecordEditorTest, DefaultReminderIsStoredAs255WhateverTheFieldShows) {
  cfg_.DaysBefore = 30;
  EXPECT_TRUE(Run(true, -1, [&] {
    Complete();
    Default()->setChecked(false);
    EXPECT_TRUE(Start()->isEnabled());
    Start()->setValue(90);
    Default()->setChecked(true);
    EXPECT_EQ(Start()->value(), 30);
    EXPECT_FALSE(Start()->isEnabled());
    Ok()->click();
  }));
  EXPECT_TRUE(Run(true, -1, [&] {
    Complete(QStringLiteral("Bob"));
    Default()->setChecked(false);
    Start()->setValue(0);
    Ok()->click();
  }));
  ASSERT_EQ(list_.size(), 2u);
  EXPECT_EQ(list_[0].ReminderDays, DefaultReminder);
  EXPECT_EQ(list_[1].ReminderDays, 0);
}

TEST_F(RecordEditorTest, ReminderFieldsArrowsStopAtTheEnds) {
  list_.push_back(test::Record(KindBirthday, 1990, 5, 2, "Anna", 3, 90));
  EXPECT_TRUE(Run(false, 0, [&] {
    EXPECT_EQ(Start()->value(), 90);
    QTest::keyClick(Start(), Qt::Key_Up);
    EXPECT_EQ(Start()->value(), 90);
    QTest::keyClick(Start(), Qt::Key_Down);
    EXPECT_EQ(Start()->value(), 89);
    Ok()->click();
  }));
  EXPECT_EQ(list_[0].ReminderDays, 89);
}

// --- Accepting and cancelling -----------------------------------------------------------

TEST_F(RecordEditorTest, AddingStoresEveryField) {
  cfg_.DateFormat = 4;
  EXPECT_TRUE(Run(true, -1, [&] {
    QTest::keyClicks(Description(), QStringLiteral("Anna"));
    Day()->setValue(2);
    Month()->setValue(5);
    Year()->setValue(1990);
    Type()->setCurrentIndex(2);
    Importance()->setCurrentIndex(0);
    Default()->setChecked(false);
    Start()->setValue(14);
    Ok()->click();
  }));
  ASSERT_EQ(list_.size(), 1u);
  const TAnniversary& r = list_[0];
  EXPECT_EQ(r.Description(), "Anna");
  EXPECT_EQ(r.Date, DayFromCivil(1990, 5, 2));
  EXPECT_EQ(r.Kind, KindWedding);
  EXPECT_EQ(r.Importance, 5);
  EXPECT_EQ(r.ReminderDays, 14);
  EXPECT_TRUE(editor_->AddingRecord());
}

TEST_F(RecordEditorTest, IncompleteInputKeepsTheWindowOpenWithFocusOnTheGap) {
  EXPECT_TRUE(Run(true, -1, [&] {
    Type()->setCurrentIndex(0);
    Importance()->setCurrentIndex(0);
    // Enter in the description accepts the whole window at once, or reports the gap.
    EXPECT_EQ(AnswerNotice([&] { QTest::keyClick(Description(), Qt::Key_Return); }), IncompleteNotice);
    EXPECT_TRUE(editor_->isVisible());
    EXPECT_TRUE(FocusReturnsTo(Description()));

    Type()->setCurrentIndex(-1);
    Importance()->setCurrentIndex(-1);
    QTest::keyClicks(Description(), QStringLiteral("Anna"));
    EXPECT_EQ(AnswerNotice([&] { Ok()->click(); }), IncompleteNotice);
    EXPECT_TRUE(FocusReturnsTo(Type()));

    Type()->setCurrentIndex(0);
    EXPECT_EQ(AnswerNotice([&] { QTest::keyClick(Calendar()->focusProxy(), Qt::Key_Enter); }),
              IncompleteNotice);
    EXPECT_TRUE(FocusReturnsTo(Importance()));
    EXPECT_TRUE(list_.empty());

    Importance()->setCurrentIndex(5);
    QTest::keyClick(Importance(), Qt::Key_Return);
  }));
  ASSERT_EQ(list_.size(), 1u);
  EXPECT_EQ(list_[0].Importance, 0);
}

TEST_F(RecordEditorTest, SingleSpaceIsADescription) {
  EXPECT_TRUE(Run(true, -1, [&] {
    Complete(QStringLiteral(" "));
    QTest::keyClick(Description(), Qt::Key_Enter);
  }));
  ASSERT_EQ(list_.size(), 1u);
  EXPECT_EQ(list_[0].Description(), " ");
}

TEST_F(RecordEditorTest, CancellingAddsAndChangesNothing) {
  list_.push_back(test::Record(KindBirthday, 1990, 5, 2, "Anna"));
  const TAnniversaryList before = list_;
  const std::function<void()> ways[] = {
      [&] { Cancel()->click(); },
      [&] { QTest::keyClick(Description(), Qt::Key_Escape); },
      [&] { QTest::keyClick(Calendar()->focusProxy(), Qt::Key_Escape); },
      [&] { QTest::keyClick(Type(), Qt::Key_Escape); },
      [&] { QTest::keyClick(Ok(), Qt::Key_Escape); },
      [&] { editor_->close(); },
  };
  for (const auto& way : ways) {
    EXPECT_FALSE(Run(true, -1, [&] {
      Complete(QStringLiteral("Bob"));
      way();
    }));
    EXPECT_FALSE(Run(false, 0, [&] {
      Complete(QStringLiteral("Bob"));
      way();
    }));
  }
  ASSERT_EQ(list_.size(), 1u);
  EXPECT_TRUE(SameBytes(list_[0], before[0]));
}

TEST_F(RecordEditorTest, EnterOnForgetStillAccepts) {
  EXPECT_TRUE(Run(true, -1, [&] {
    Complete();
    Cancel()->setFocus();
    QTest::keyClick(Cancel(), Qt::Key_Return);
  }));
  EXPECT_EQ(list_.size(), 1u);
}

TEST_F(RecordEditorTest, EnterAndEscapeInAnOpenDropDownStayWithTheList) {
  EXPECT_FALSE(Run(true, -1, [&] {
    Type()->showPopup();
    QAbstractItemView* list = Type()->view();
    ASSERT_TRUE(list->isVisible());
    QTest::keyClick(list, Qt::Key_End);
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_TRUE(editor_->isVisible());
    EXPECT_EQ(Type()->currentIndex(), 5);

    Importance()->showPopup();
    QTest::keyClick(Importance()->view(), Qt::Key_Escape);
    EXPECT_TRUE(editor_->isVisible());
    EXPECT_FALSE(Importance()->view()->isVisible());
    Cancel()->click();
  }));
  EXPECT_TRUE(list_.empty());
}

// --- Description ------------------------------------------------------------------------

TEST_F(RecordEditorTest, FiftyCharactersRoundTrip) {
  const std::string fifty = std::string(24, 'x') + "\xe9\x95" + std::string(24, 'y');
  list_.push_back(test::Record(KindBirthday, 1990, 5, 2, fifty));
  EXPECT_TRUE(Run(false, 0, [&] {
    EXPECT_EQ(Description()->text().size(), 50);
    QTest::keyClick(Description(), Qt::Key_End);
    QTest::keyClicks(Description(), QStringLiteral("z"));
    Ok()->click();
  }));
  EXPECT_EQ(list_[0].Description(), fifty);
}

}  // namespace
}  // namespace jubilora
