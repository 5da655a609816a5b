#include "ui/record_editor.h"

#include <gtest/gtest.h>

#include <functional>

#include <QAbstractItemView>
#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include "platform/clock.h"
#include "support/qt_app.h"
#include "support/qt_modal.h"
#include "support/records.h"

namespace jubilora {
namespace {

class RecordEditorTest : public ::testing::Test {
 protected:
  RecordEditorTest() {
    Clock::FixToday(DayFromCivil(2025, 3, 14));
    main_.show();
  }
  ~RecordEditorTest() override { Clock::FixToday(std::nullopt); }

  template <typename T = QWidget>
  T* Get(const char* name) const {
    T* control = editor_.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(control, nullptr) << name;
    return control;
  }
  QLineEdit* Description() const { return Get<QLineEdit>("edDescription"); }
  QSpinBox* Day() const { return Get<QSpinBox>("cseDay"); }
  QSpinBox* Month() const { return Get<QSpinBox>("cseMonth"); }
  QSpinBox* Year() const { return Get<QSpinBox>("cseYear"); }
  QCalendarWidget* Calendar() const { return Get<QCalendarWidget>("calDate"); }
  QComboBox* Type() const { return Get<QComboBox>("cbType"); }
  QComboBox* Importance() const { return Get<QComboBox>("cbImportance"); }
  QDate Fields() const { return {Year()->value(), Month()->value(), Day()->value()}; }

  // Opens the editor and runs `script` once it shows.
  bool Run(bool adding, int index, const std::function<void()>& script) {
    return test::WhileModal(
        [&](QWidget*) {
          EXPECT_TRUE(QTest::qWaitForWindowActive(&editor_));
          script();
        },
        [&] { return editor_.Execute(adding, index); });
  }

  // `press` must bring the incomplete-input notice; once it is answered the focus is on `gap`.
  void ExpectNoticeThenFocusOn(const std::function<void()>& press, QWidget* gap) {
    bool noticed = false;
    const auto guard = test::InNextModal([&](QWidget* notice) {
      auto* answer = notice->findChild<QPushButton*>(QStringLiteral("btnAnswer1"));
      if ((noticed = answer != nullptr)) answer->click();
    });
    press();
    EXPECT_TRUE(noticed);
    EXPECT_TRUE(QTest::qWaitForWindowActive(&editor_));
    EXPECT_TRUE(FocusIsIn(gap)) << gap->objectName().toStdString();
  }

  static bool FocusIsIn(QWidget* control) {
    QWidget* focus = QApplication::focusWidget();
    return focus != nullptr && (focus == control || control->isAncestorOf(focus));
  }
  // A key as the user gives it: to the control that has the focus.
  static void Press(QWidget* control, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    if (control != nullptr) control->setFocus();
    ASSERT_NE(QApplication::focusWidget(), nullptr) << "the window has closed";
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
  }
  static void TypeOver(QWidget* control, const QString& text) {
    Press(control, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(QApplication::focusWidget(), text);
  }

  QApplication& app_ = test::TestApplication();
  TAnniversaryList list_;
  TCfg cfg_;
  QWidget main_;
  TfrmEdit editor_{&main_, list_, cfg_};
};

// Enter accepts and Escape cancels from every kind of control, except inside an open list,
// which takes the key for itself.
TEST_F(RecordEditorTest, KeysFromEachKindOfControl) {
  cfg_.DaysBefore = 21;
  using Target = std::pair<QWidget*, QWidget*>;  // the control, and what is open inside it
  const struct {
    const char* control;
    std::function<Target()> prepare;
    std::uint8_t importance, reminder;  // stored with Enter
  } rows[] = {
      {"description", [&] { return Target{Description(), nullptr}; }, 3, DefaultReminder},
      {"spin field", [&] {  // a value typed and not yet committed is the one stored
         Get<QCheckBox>("cbDefault")->setChecked(false);
         TypeOver(Get("cseStart"), QStringLiteral("45"));
         return Target{QApplication::focusWidget(), nullptr};
       }, 3, 45},
      {"open list", [&] {  // which only picks (the last item) or closes
         Importance()->showPopup();
         QTest::keyClick(Importance()->view(), Qt::Key_End);
         return Target{Importance(), Importance()->view()};
       }, 0, DefaultReminder},
  };
  for (const auto& row : rows) {
    for (const Qt::Key key : {Qt::Key_Enter, Qt::Key_Escape}) {
      SCOPED_TRACE(std::string(row.control) + " " + std::to_string(key));
      const bool enter = key != Qt::Key_Escape;
      const std::size_t count = list_.size();
      const bool accepted = Run(true, -1, [&] {
        EXPECT_TRUE(Description()->text().isEmpty() && Type()->currentIndex() == -1 &&
                    Importance()->currentIndex() == -1 && Get<QSpinBox>("cseStart")->value() == 21)
            << "the previous opening survives";
        Description()->setText(QStringLiteral("Anna"));
        Type()->setCurrentIndex(0);
        Importance()->setCurrentIndex(2);
        const auto [control, inside] = row.prepare();
        if (inside != nullptr) {
          Press(inside, key);
          EXPECT_TRUE(editor_.isVisible() && !inside->isVisible());
        }
        Press(control, key);
      });
      EXPECT_EQ(accepted, enter);
      ASSERT_EQ(list_.size(), count + (enter ? 1 : 0));
      if (enter) {
        EXPECT_TRUE(SameBytes(list_.back(), test::Record(KindBirthday, 2025, 1, 1, "Anna", row.importance, row.reminder)));
      }
    }
  }
}

TEST_F(RecordEditorTest, FocusGoesToTheFirstMissingItem) {
  EXPECT_TRUE(Run(true, -1, [&] {
    Type()->setCurrentIndex(0);
    Importance()->setCurrentIndex(0);
    ExpectNoticeThenFocusOn([&] { Press(Description(), Qt::Key_Return); }, Description());
    QTest::keyClicks(Description(), QStringLiteral(" "));  // a description all the same
    Type()->setCurrentIndex(-1);
    ExpectNoticeThenFocusOn([&] { Get<QPushButton>("btnOK")->click(); }, Type());
    Type()->setCurrentIndex(0);
    Importance()->setCurrentIndex(-1);
    ExpectNoticeThenFocusOn([&] { Press(Calendar()->focusProxy(), Qt::Key_Enter); }, Importance());
    EXPECT_TRUE(list_.empty());
    Importance()->setCurrentIndex(5);
    Press(Importance(), Qt::Key_Return);
  }));
  ASSERT_EQ(list_.size(), 1u);
  EXPECT_EQ(list_[0].Description(), " ");
}

// Fifty characters, some past ASCII, refuse a 51st; bytes the field would not let the user
// type (a tab, an undefined one) are kept; kind 7 keeps its grey year.
TEST_F(RecordEditorTest, AcceptingAnUnchangedRecordKeepsItsBytes) {
  list_.push_back(test::Record(KindWedding, 1990, 8, 18, std::string(24, 'x') + "\xe9\x95" + std::string(24, 'y'), 5, 90));
  list_.push_back(test::Record(KindNameDay, 2001, 7, 26, "Eva\t\x95 Tom\xe9 \x81\x80", 0, DefaultReminder));
  list_.push_back(test::Record(KindOtherNoYears, 1601, 1, 1, "Company founded", 2, 0));
  list_[1].Padding2 = {1, 2, 3};
  const TAnniversaryList before = list_;
  for (int index = 0; index < 3; ++index) {
    EXPECT_TRUE(Run(false, index, [&] {
      Press(Description(), Qt::Key_End);
      QTest::keyClicks(Description(), QStringLiteral("z"));
      if (index > 0) Press(Description(), Qt::Key_Backspace);
      Press(Description(), Qt::Key_Return);
    }));
    EXPECT_TRUE(SameBytes(list_[index], before[index])) << index;
  }
  EXPECT_FALSE(editor_.Execute(false, 3));
  EXPECT_FALSE(editor_.Execute(false, -1));
}

TEST_F(RecordEditorTest, DateFieldsAndCalendarFollowEachOther) {
  cfg_.DateFormat = 4;
  Run(true, -1, [&] {
    // A day past the month's last drops to it, in the fields and in the calendar.
    Day()->setValue(31);
    Press(Month(), Qt::Key_Up);
    EXPECT_EQ(Calendar()->selectedDate(), QDate(2025, 2, 28));
    EXPECT_EQ(Fields(), QDate(2025, 2, 28));
    Calendar()->setSelectedDate(QDate(2025, 3, 31));
    EXPECT_EQ(Fields(), QDate(2025, 3, 31));
    EXPECT_EQ(Get<QLabel>("labDate")->text(), QStringLiteral("31 March"));
    // The fields follow a key in the calendar without echoing a day of their own back
    // (31 April would drop to the 30th on the way).
    QObject watch;
    QList<QDate> selected;
    QObject::connect(Calendar(), &QCalendarWidget::selectionChanged, &watch,
                     [&] { selected << Calendar()->selectedDate(); });
    Press(Calendar()->focusProxy(), Qt::Key_Right);
    EXPECT_EQ(selected, QList<QDate>{QDate(2025, 4, 1)});
    EXPECT_EQ(Fields(), QDate(2025, 4, 1));
    EXPECT_EQ(Day()->maximum(), 30);
    Get<QPushButton>("btnToday")->click();
    EXPECT_EQ(Fields(), QDate(2025, 3, 14));
    editor_.reject();
  });
}

}  // namespace
}  // namespace jubilora
