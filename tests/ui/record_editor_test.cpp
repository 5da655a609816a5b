#include "ui/record_editor.h"

#include <gtest/gtest.h>

#include <functional>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include "platform/clock.h"
#include "support/qt_app.h"
#include "support/qt_fit.h"
#include "support/records.h"

namespace jubilora {
namespace {

QDate Date(int year, int month, int day) { return {year, month, day}; }

class RecordEditorTest : public ::testing::Test {
 protected:
  RecordEditorTest() {
    Clock::FixToday(DayFromCivil(2025, 3, 14));
    main_.setGeometry(100, 80, 600, 440);
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

  // Opens the editor and runs `script` once it shows. A script that leaves it open fails
  // the test instead of hanging it.
  bool Run(bool adding, int index, const std::function<void()>& script) {
    QObject scope;
    QTimer::singleShot(0, &scope, [&] {
      EXPECT_TRUE(QTest::qWaitForWindowActive(&editor_));
      script();
    });
    QTimer::singleShot(10000, &scope, [this] {
      ADD_FAILURE() << "the editor was left open";
      if (QWidget* modal = QApplication::activeModalWidget(); modal && modal != &editor_) modal->close();
      editor_.done(-99);
    });
    return editor_.Execute(adding, index);
  }

  // Does `press`, expecting the incomplete-input notice; answers it. After it the editor is
  // active again with the focus on `gap`.
  void ExpectNoticeThenFocusOn(const std::function<void()>& press, QWidget* gap) {
    bool noticed = false;
    QTimer::singleShot(0, &editor_, [&] {
      auto* answer = QApplication::activeModalWidget()->findChild<QPushButton*>(QStringLiteral("btnAnswer1"));
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

TEST_F(RecordEditorTest, EnterAcceptsAndEscapeCancelsFromEachKindOfControlButNotInsideAnOpenList) {
  cfg_.DaysBefore = 21;
  struct Row {
    const char* control;
    // The control that gets the key, and what is open inside the window and gets it first.
    std::function<std::pair<QWidget*, QWidget*>()> prepare;
    std::uint8_t importance, reminder;  // stored with Enter
  };
  const auto plain = [](QWidget* control) { return std::pair<QWidget*, QWidget*>{control, nullptr}; };
  const Row rows[] = {
      {"description", [&] { return plain(Description()); }, 3, DefaultReminder},
      {"closed list", [&] { return plain(Type()); }, 3, DefaultReminder},
      {"check box", [&] { return plain(Get("cbDefault")); }, 3, DefaultReminder},
      {"calendar", [&] { return plain(Calendar()->focusProxy()); }, 3, DefaultReminder},
      {"spin field", [&] {  // a value typed and not yet committed is the one stored
         Get<QCheckBox>("cbDefault")->setChecked(false);
         TypeOver(Get("cseStart"), QStringLiteral("45"));
         return plain(QApplication::focusWidget());
       }, 3, 45},
      {"open list", [&] {  // which only picks (the last item) or closes
         Importance()->showPopup();
         QTest::keyClick(Importance()->view(), Qt::Key_End);
         return std::pair<QWidget*, QWidget*>{Importance(), Importance()->view()};
       }, 0, DefaultReminder},
      {"year typed into the calendar's heading", [&] {  // which only turns the page
         QTest::mouseClick(Calendar()->findChild<QWidget*>(QStringLiteral("qt_calendar_yearbutton")), Qt::LeftButton);
         TypeOver(nullptr, QStringLiteral("1999"));
         return std::pair<QWidget*, QWidget*>{Calendar()->focusProxy(), QApplication::focusWidget()};
       }, 3, DefaultReminder},
  };
  for (const Row& row : rows) {
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
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
          EXPECT_TRUE(inside->isVisible());
          Press(inside, key);
          EXPECT_TRUE(editor_.isVisible() && !inside->isVisible()) << row.control << " " << key;
        }
        Press(control, key);
      });
      EXPECT_EQ(accepted, enter) << row.control << " " << key;
      ASSERT_EQ(list_.size(), count + (enter ? 1 : 0)) << row.control << " " << key;
      if (enter) {
        EXPECT_TRUE(SameBytes(list_.back(), test::Record(KindBirthday, 2025, 1, 1, "Anna", row.importance, row.reminder)))
            << row.control << " " << key;
      }
    }
  }
}

TEST_F(RecordEditorTest, FocusGoesToTheFirstMissingItem) {
  EXPECT_TRUE(Run(true, -1, [&] {
    Type()->setCurrentIndex(0);
    Importance()->setCurrentIndex(0);
    ExpectNoticeThenFocusOn([&] { Press(Description(), Qt::Key_Return); }, Description());
    // A single space is a description: the kind is the next gap.
    QTest::keyClicks(Description(), QStringLiteral(" "));
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

TEST_F(RecordEditorTest, AcceptingAnUnchangedRecordKeepsItsBytesKindSevenIncluded) {
  // Fifty characters, some past ASCII: a 51st typed at the end is refused.
  list_.push_back(test::Record(KindWedding, 1990, 8, 18, std::string(24, 'x') + "\xe9\x95" + std::string(24, 'y'), 5, 90));
  list_.push_back(test::Record(KindNameDay, 2001, 7, 26, "Eva \x95 Tom\xe9 \x80", 0, DefaultReminder));
  list_.push_back(test::Record(KindOtherNoYears, 1601, 1, 1, "Company founded", 2, 0));
  const TAnniversaryList before = list_;
  for (int index = 0; index < 3; ++index) {
    EXPECT_TRUE(Run(false, index, [&] {
      EXPECT_EQ(Description()->text().contains(QChar(0x2022)), index < 2);
      Press(Description(), Qt::Key_End);
      QTest::keyClicks(Description(), QStringLiteral("z"));
      if (index > 0) Press(Description(), Qt::Key_Backspace);
      Press(Description(), Qt::Key_Return);
    }));
    EXPECT_EQ(editor_.EditedIndex(), index);
  }
  ASSERT_EQ(list_.size(), 3u);
  for (std::size_t i = 0; i < 3; ++i) EXPECT_TRUE(SameBytes(list_[i], before[i])) << i;
  // An index outside the list shows nothing.
  EXPECT_FALSE(editor_.Execute(false, 3));
  EXPECT_FALSE(editor_.Execute(false, -1));
}

TEST_F(RecordEditorTest, TabFollowsTheDateFormatAndPassesTheGreyYearWhichAClickStillEdits) {
  list_.push_back(test::Record(KindOtherNoYears, 2001, 4, 1, "Company founded"));
  for (const auto& [format, dayFirst] : {std::pair{2, false}, {3, true}, {7, true}, {8, false}}) {
    cfg_.DateFormat = static_cast<std::uint8_t>(format);
    Run(false, 0, [&] {
      EXPECT_EQ(Day()->x() < Month()->x(), dayFirst) << format;
      // From "Today": the left field, the right field, then past the grey year the kind.
      QWidget* const order[] = {dayFirst ? Day() : Month(), dayFirst ? Month() : Day(), Type()};
      QWidget* const right = order[1];
      Get("btnToday")->setFocus();
      for (QWidget* next : order) {
        Press(nullptr, Qt::Key_Tab);
        EXPECT_TRUE(FocusIsIn(next)) << format;
      }
      // A birthday shows the year, which is on the way again; a name day hides it.
      Type()->setCurrentIndex(0);
      Press(right, Qt::Key_Tab);
      EXPECT_TRUE(FocusIsIn(Year())) << format;
      Type()->setCurrentIndex(1);
      Press(right, Qt::Key_Tab);
      EXPECT_TRUE(FocusIsIn(Type())) << format;
      editor_.reject();
    });
  }
  EXPECT_TRUE(Run(false, 0, [&] {
    QTest::mouseClick(Year()->findChild<QLineEdit*>(), Qt::LeftButton);
    EXPECT_TRUE(FocusIsIn(Year()));
    TypeOver(nullptr, QStringLiteral("1983"));
    Press(nullptr, Qt::Key_Return);
  }));
  EXPECT_EQ(list_[0].Kind, KindOtherNoYears);
  EXPECT_EQ(list_[0].Date, DayFromCivil(1983, 4, 1));
}

TEST_F(RecordEditorTest, DateFieldsAndCalendarFollowEachOther) {
  cfg_.DateFormat = 4;
  Run(true, -1, [&] {
    // A day above the month's last drops to it, in the fields and in the calendar.
    Day()->setValue(31);
    Press(Month(), Qt::Key_Up);  // February of a common year
    EXPECT_EQ(Calendar()->selectedDate(), Date(2025, 2, 28));
    EXPECT_EQ(Fields(), Date(2025, 2, 28));

    // The calendar drives the fields past the old limit, and the label.
    Calendar()->setSelectedDate(Date(2025, 3, 31));
    EXPECT_EQ(Fields(), Date(2025, 3, 31));
    EXPECT_EQ(Get<QLabel>("labDate")->text(), QStringLiteral("31 March"));

    // Keys in the calendar move the selection, and the fields follow without echoing a
    // day of their own back (31 April would drop to the 30th on the way).
    QObject watch;
    QList<QDate> selected;
    QObject::connect(Calendar(), &QCalendarWidget::selectionChanged, &watch,
                     [&] { selected << Calendar()->selectedDate(); });
    Press(Calendar()->focusProxy(), Qt::Key_Right);
    EXPECT_EQ(selected, QList<QDate>{Date(2025, 4, 1)});
    EXPECT_EQ(Fields(), Date(2025, 4, 1));
    EXPECT_EQ(Day()->maximum(), 30);

    Get<QPushButton>("btnToday")->click();
    EXPECT_EQ(Calendar()->selectedDate(), Date(2025, 3, 14));
    EXPECT_EQ(Fields(), Date(2025, 3, 14));
    editor_.reject();
  });
}

TEST_F(RecordEditorTest, OpensOverTheMainWindowFitsALargeFontAndNamesEveryInput) {
  // Opened from another modal window, it is still centred over the main window.
  QDialog table(&main_);
  QPoint offset(99, 99);
  QTimer::singleShot(0, &table, [&] {
    Run(true, -1, [&] {
      offset = editor_.frameGeometry().center() - main_.frameGeometry().center();
      editor_.reject();
    });
    table.accept();
  });
  table.exec();
  EXPECT_LE(offset.manhattanLength(), 2) << offset.x() << "," << offset.y();

  const QFont before = QApplication::font();
  QFont large = before;
  large.setPointSize(14);
  QApplication::setFont(large);
  list_.push_back(test::Record(KindDeath, 2000, 9, 30, "A description of fifty characters, long and wide!!", 0, 90));
  Run(false, 0, [&] {
    QSet<const QWidget*> labelled;
    for (const QLabel* label : editor_.findChildren<QLabel*>()) labelled << label->buddy();
    for (const QWidget* widget : editor_.findChildren<QWidget*>()) {
      // The window speaks in the desktop's font, whatever its size.
      EXPECT_EQ(widget->font().pointSize(), 14) << widget->metaObject()->className();
      // Every input is named for a screen reader, by a label or by a name of its own.
      if (widget->parent() != &editor_ || widget->focusPolicy() == Qt::NoFocus ||
          qobject_cast<const QAbstractButton*>(widget) != nullptr)
        continue;
      EXPECT_TRUE(labelled.contains(widget) || !widget->accessibleName().isEmpty()) << widget->objectName().toStdString();
    }
    EXPECT_EQ(test::TextsThatDoNotFit(editor_), std::vector<std::string>{});
    EXPECT_LE(editor_.width(), 1280);
    EXPECT_LE(editor_.height(), 1024);
    editor_.reject();
  });
  QApplication::setFont(before);
}

}  // namespace
}  // namespace jubilora
