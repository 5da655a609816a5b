#include "ui/record_editor.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <utility>

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
#include "support/qt_app.h"
#include "support/records.h"

namespace jubilora {
namespace {

QDate Date(int year, int month, int day) { return {year, month, day}; }

QStringList Items(const QComboBox* list) {
  QStringList items;
  for (int i = 0; i < list->count(); ++i) items << list->itemText(i);
  return items;
}

const QString IncompleteNotice = QStringLiteral(
    " Jubilora in Trouble|Entered anniversary data is incomplete\nand cannot be saved.\n\n"
    "Please fill in the empty fields.|&OK");

class RecordEditorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::TestApplication();
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
  QDate Fields() const { return {Year()->value(), Month()->value(), Day()->value()}; }

  // Opens the editor and runs `script` once it shows. A script that leaves it open fails
  // the test instead of hanging it.
  bool Run(bool adding, int index, const std::function<void()>& script) {
    QObject scope;
    bool ran = false;
    QTimer::singleShot(0, &scope, [&] {
      ran = true;
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
  // returns its caption, message and button.
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
    EXPECT_EQ(Fields(), Date(2025, 1, 1));
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

TEST_F(RecordEditorTest, ListsStandInStoredOrderAndDatesStayInRange) {
  EXPECT_EQ(Items(Type()), QStringList({"Birthday", "Name Day", "Wedding Anniversary", "Death Anniversary",
                                        "Holiday", "Other Anniversaries"}));
  EXPECT_EQ(Items(Importance()), QStringList({"Extremely important", "Very important", "Quite important",
                                              "Not important", "Quite Irrelevant", "Irrelevant"}));
  EXPECT_EQ(Calendar()->minimumDate(), Date(1601, 1, 1));
  EXPECT_EQ(Calendar()->maximumDate(), Date(2199, 12, 31));
  EXPECT_EQ(std::make_pair(Year()->minimum(), Year()->maximum()), std::make_pair(1601, 2199));
  EXPECT_EQ(Start()->maximum(), 90);
}

TEST_F(RecordEditorTest, EditingLoadsTheRecord) {
  list_.push_back(test::Record(KindDeath, 1975, 1, 31, "Grandpa \x95 Jos\xe9", 4, 12));
  cfg_.DateFormat = 2;
  Run(false, 0, [&] {
    EXPECT_EQ(editor_->windowTitle(), QStringLiteral("Edit Existing Anniversary Data"));
    EXPECT_EQ(Description()->text(), QString::fromUtf8("Grandpa \u2022 Jos\u00e9"));
    EXPECT_EQ(Calendar()->selectedDate(), Date(1975, 1, 31));
    EXPECT_EQ(Fields(), Date(1975, 1, 31));
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
  // Fifty characters each, some past ASCII: a 51st typed at the end is refused.
  const std::string first = std::string(24, 'x') + "\xe9\x95" + std::string(24, 'y');
  list_.push_back(test::Record(KindWedding, 1990, 8, 18, first, 5, 90));
  const std::string second = "Eva \x95 Tom\xe9 \x80" + std::string(38, '.');
  list_.push_back(test::Record(KindNameDay, 2001, 7, 26, second, 0, DefaultReminder));
  const TAnniversaryList before = list_;
  for (int index : {0, 1}) {
    EXPECT_TRUE(Run(false, index, [&] {
      EXPECT_EQ(Description()->text().size(), 50);
      QTest::keyClick(Description(), Qt::Key_End);
      QTest::keyClicks(Description(), QStringLiteral("z"));
      Ok()->click();
    }));
    EXPECT_EQ(editor_->EditedIndex(), index);
  }
  ASSERT_EQ(list_.size(), 2u);
  for (std::size_t i = 0; i < 2; ++i) EXPECT_TRUE(SameBytes(list_[i], before[i])) << i;
  // An index outside the list shows nothing.
  EXPECT_FALSE(editor_->Execute(false, 2));
  EXPECT_FALSE(editor_->Execute(false, -1));
  EXPECT_FALSE(editor_->isVisible());
}

TEST_F(RecordEditorTest, OpenedFromAnotherModalWindowItIsCentredOverTheMainWindow) {
  main_->setGeometry(40, 30, 900, 620);
  QDialog table(main_.get());
  table.setGeometry(20, 20, 300, 200);
  QPoint offset(99, 99);
  QTimer::singleShot(0, &table, [&] {
    Run(true, -1, [&] {
      EXPECT_EQ(QApplication::activeModalWidget(), editor_.get());
      EXPECT_EQ(editor_->size(), QSize(497, 311));
      offset = editor_->frameGeometry().center() - main_->frameGeometry().center();
      Cancel()->click();
    });
    table.accept();
  });
  table.exec();
  EXPECT_LE(offset.manhattanLength(), 2) << offset.x() << "," << offset.y();
}

TEST_F(RecordEditorTest, KindRuleTableGreyYearAndKindSeven) {
  list_.push_back(test::Record(KindOtherNoYears, 2001, 4, 1, "Company founded"));
  const QColor grey = QApplication::palette().color(QPalette::Button);
  const auto yearIsGrey = [&] { return Year()->palette().color(QPalette::Base) == grey; };
  EXPECT_TRUE(Run(false, 0, [&] {
    // Kind 7 opens as "Other Anniversaries" with the box cleared and enabled.
    EXPECT_EQ(Type()->currentIndex(), 5);
    EXPECT_FALSE(Starting()->isChecked());
    EXPECT_TRUE(Starting()->isEnabled());
    EXPECT_TRUE(yearIsGrey());
    const std::pair<bool, bool> tickedAndEnabled[] = {{true, false}, {false, false}, {true, false},
                                                      {true, false}, {false, false}, {true, true}};
    // Each row starts from the opposite state, so that a rule that does nothing shows.
    for (int position = 0; position < 6; ++position) {
      const auto [ticked, enabled] = tickedAndEnabled[position];
      Type()->setCurrentIndex(-1);
      Starting()->setEnabled(!enabled);
      Starting()->setChecked(!ticked);
      Type()->setCurrentIndex(position);
      EXPECT_EQ(Starting()->isChecked(), ticked) << position;
      EXPECT_EQ(Starting()->isEnabled(), enabled) << position;
      EXPECT_EQ(yearIsGrey(), !ticked) << position;
    }
    // Whatever the record held, the 7 below is written by the editor.
    list_[0].Kind = KindOtherWithYears;
    QTest::mouseClick(Starting(), Qt::LeftButton);
    // The grey year field stays editable, and its year is stored.
    EXPECT_TRUE(Year()->isEnabled());
    Year()->setValue(1983);
    Ok()->click();
  }));
  EXPECT_EQ(list_[0].Kind, KindOtherNoYears);
  EXPECT_EQ(list_[0].Date, DayFromCivil(1983, 4, 1));
}

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

TEST_F(RecordEditorTest, DateFieldsAndCalendarFollowEachOther) {
  cfg_.DateFormat = 4;
  Run(true, -1, [&] {
    Day()->setValue(31);
    Month()->setValue(4);
    EXPECT_EQ(Day()->maximum(), 30);
    EXPECT_EQ(Day()->value(), 30);
    EXPECT_EQ(Calendar()->selectedDate(), Date(2025, 4, 30));

    Year()->setValue(2024);
    Month()->setValue(2);
    Day()->setValue(29);
    QTest::keyClick(Year(), Qt::Key_Down);  // 2023, a common year
    EXPECT_EQ(Year()->value(), 2023);
    EXPECT_EQ(Day()->value(), 28);
    EXPECT_EQ(Calendar()->selectedDate(), Date(2023, 2, 28));

    // The calendar drives the fields past the old limit.
    Year()->setValue(2025);
    EXPECT_EQ(Day()->maximum(), 28);
    Calendar()->setSelectedDate(Date(2025, 3, 31));
    EXPECT_EQ(Day()->maximum(), 31);
    EXPECT_EQ(Fields(), Date(2025, 3, 31));
    EXPECT_EQ(DateLabel()->text(), QStringLiteral("31 March"));

    // Keys in the calendar itself move the selection, and the fields follow.
    QTest::keyClick(Calendar()->focusProxy(), Qt::Key_Right);
    EXPECT_EQ(Calendar()->selectedDate(), Date(2025, 4, 1));
    EXPECT_EQ(Fields(), Date(2025, 4, 1));
    EXPECT_EQ(Day()->maximum(), 30);

    Get<QPushButton>("btnToday")->click();
    EXPECT_EQ(Calendar()->selectedDate(), Date(2025, 3, 14));
    EXPECT_EQ(Fields(), Date(2025, 3, 14));
    EXPECT_EQ(DateLabel()->text(), QStringLiteral("14 March"));
    Cancel()->click();
  });
}

TEST_F(RecordEditorTest, DayAndMonthFieldsFollowTheDateFormat) {
  for (const auto& [format, dayFirst] : {std::pair{4, true}, {1, false}, {7, true}, {3, true}, {8, false}}) {
    cfg_.DateFormat = static_cast<std::uint8_t>(format);
    Run(true, -1, [&] {
      EXPECT_EQ(Day()->x() < Month()->x(), dayFirst) << format;
      // Tab order from "Today": the left field, the right field, the year.
      Get<QPushButton>("btnToday")->setFocus();
      for (QWidget* next : {dayFirst ? static_cast<QWidget*>(Day()) : Month(),
                            dayFirst ? static_cast<QWidget*>(Month()) : Day(), static_cast<QWidget*>(Year())}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_TRUE(FocusIsIn(next)) << format;
      }
      Cancel()->click();
    });
  }
}

TEST_F(RecordEditorTest, AddingStoresEveryFieldAndTheDefaultReminderAs255) {
  cfg_.DaysBefore = 30;
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
  ASSERT_EQ(list_.size(), 2u);
  EXPECT_TRUE(SameBytes(list_[0], test::Record(KindWedding, 1990, 5, 2, "Anna", 5, 14)));
  EXPECT_EQ(list_[1].ReminderDays, DefaultReminder);
  EXPECT_TRUE(editor_->AddingRecord());
  EXPECT_EQ(editor_->EditedIndex(), 1);
}

TEST_F(RecordEditorTest, IncompleteInputKeepsTheWindowOpenWithFocusOnTheGap) {
  EXPECT_TRUE(Run(true, -1, [&] {
    Type()->setCurrentIndex(0);
    Importance()->setCurrentIndex(0);
    // Enter in the description accepts the whole window at once, or reports the gap.
    EXPECT_EQ(AnswerNotice([&] { QTest::keyClick(Description(), Qt::Key_Return); }), IncompleteNotice);
    EXPECT_TRUE(editor_->isVisible());
    EXPECT_TRUE(FocusReturnsTo(Description()));

    // A single space is a description: the kind is the next gap.
    Type()->setCurrentIndex(-1);
    Importance()->setCurrentIndex(-1);
    QTest::keyClicks(Description(), QStringLiteral(" "));
    EXPECT_EQ(AnswerNotice([&] { Ok()->click(); }), IncompleteNotice);
    EXPECT_TRUE(FocusReturnsTo(Type()));

    Type()->setCurrentIndex(0);
    EXPECT_EQ(AnswerNotice([&] { QTest::keyClick(Calendar()->focusProxy(), Qt::Key_Enter); }),
              IncompleteNotice);
    EXPECT_TRUE(FocusReturnsTo(Importance()));
    EXPECT_TRUE(list_.empty());

    // Enter accepts even on "Forget".
    Importance()->setCurrentIndex(5);
    Cancel()->setFocus();
    QTest::keyClick(Cancel(), Qt::Key_Return);
  }));
  ASSERT_EQ(list_.size(), 1u);
  EXPECT_EQ(list_[0].Description(), " ");
  EXPECT_EQ(list_[0].Importance, 0);
}

TEST_F(RecordEditorTest, CancellingAddsAndChangesNothing) {
  list_.push_back(test::Record(KindBirthday, 1990, 5, 2, "Anna"));
  const TAnniversary before = list_[0];
  const std::function<void()> ways[] = {
      [&] { Cancel()->click(); },
      [&] { QTest::keyClick(Description(), Qt::Key_Escape); },
      [&] { QTest::keyClick(Calendar()->focusProxy(), Qt::Key_Escape); },
      [&] { QTest::keyClick(Type(), Qt::Key_Escape); },
      [&] { QTest::keyClick(Ok(), Qt::Key_Escape); },
      [&] { editor_->close(); },
  };
  for (const auto& way : ways) {
    for (const bool adding : {true, false}) {
      EXPECT_FALSE(Run(adding, 0, [&] {
        Complete(QStringLiteral("Bob"));
        way();
      }));
    }
  }
  ASSERT_EQ(list_.size(), 1u);
  EXPECT_TRUE(SameBytes(list_[0], before));
}

TEST_F(RecordEditorTest, EnterAndEscapeInAnOpenDropDownStayWithTheList) {
  EXPECT_FALSE(Run(true, -1, [&] {
    Type()->showPopup();
    ASSERT_TRUE(Type()->view()->isVisible());
    QTest::keyClick(Type()->view(), Qt::Key_End);
    QTest::keyClick(Type()->view(), Qt::Key_Return);
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

}  // namespace
}  // namespace jubilora
