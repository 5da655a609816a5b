#include "support/qt_fit.h"

#include <algorithm>

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>

namespace jubilora::test {

namespace {

// The widest line as drawn: an access-key mark takes no room.
int TextWidth(const QWidget& widget, QString text) {
  text.remove(QRegularExpression(QStringLiteral("&(?!&)")));
  int widest = 0;
  for (const QString& line : text.split(QLatin1Char('\n')))
    widest = std::max(widest, widget.fontMetrics().horizontalAdvance(line));
  return widest;
}

int RoomOf(const QAbstractButton& button) {
  QStyleOptionButton option;
  option.initFrom(&button);
  option.text = button.text();
  option.icon = button.icon();
  option.iconSize = button.iconSize();
  const QStyle* style = button.style();
  if (qobject_cast<const QCheckBox*>(&button) != nullptr)
    return style->subElementRect(QStyle::SE_CheckBoxContents, &option, &button).width();
  if (qobject_cast<const QRadioButton*>(&button) != nullptr)
    return style->subElementRect(QStyle::SE_RadioButtonContents, &option, &button).width();
  int room = style->subElementRect(QStyle::SE_PushButtonContents, &option, &button).width();
  if (!button.icon().isNull()) room -= button.iconSize().width() + 4;
  return room;
}

bool Shown(const QWidget& widget, const QWidget& window) { return widget.isVisibleTo(&window) && widget.width() > 0; }

}  // namespace

std::vector<std::string> TextsThatDoNotFit(const QWidget& window) {
  std::vector<std::string> misfits;
  const auto note = [&misfits](const QObject& widget, const QString& text) {
    misfits.push_back((widget.objectName() + QStringLiteral(": ") + text).toStdString());
  };
  for (const QLabel* label : window.findChildren<QLabel*>()) {
    if (!Shown(*label, window) || label->wordWrap() || label->text().isEmpty() || label->textFormat() == Qt::RichText)
      continue;
    if (TextWidth(*label, label->text()) > label->contentsRect().width()) note(*label, label->text());
  }
  for (const QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
    if (!Shown(*button, window) || button->text().isEmpty()) continue;
    if (TextWidth(*button, button->text()) > RoomOf(*button)) note(*button, button->text());
  }
  for (const QGroupBox* group : window.findChildren<QGroupBox*>()) {
    if (!Shown(*group, window) || group->title().isEmpty()) continue;
    QStyleOptionGroupBox option;
    option.initFrom(group);
    option.text = group->title();
    option.subControls = QStyle::SC_GroupBoxLabel;
    const QRect title = group->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, group);
    if (title.right() > group->width() || TextWidth(*group, group->title()) > group->width()) note(*group, group->title());
  }
  return misfits;
}

std::vector<std::string> InputsWithoutName(const QWidget& window) {
  std::vector<std::string> unnamed;
  for (QWidget* input : window.findChildren<QWidget*>()) {
    const bool isInput = qobject_cast<QLineEdit*>(input) || qobject_cast<QAbstractSpinBox*>(input) ||
                         qobject_cast<QComboBox*>(input);
    // The parts of a compound input are named through it.
    const QWidget* owner = input->parentWidget();
    while (owner != nullptr && owner != &window && !qobject_cast<const QAbstractSpinBox*>(owner) &&
           !qobject_cast<const QComboBox*>(owner) && !qobject_cast<const QCalendarWidget*>(owner))
      owner = owner->parentWidget();
    if (!isInput || !input->isVisibleTo(&window) || owner != &window) continue;
    const auto labels = window.findChildren<QLabel*>();
    const bool labelled = std::any_of(labels.begin(), labels.end(), [&](const QLabel* label) {
      return label->buddy() == input && label->isVisibleTo(&window) && !label->text().trimmed().isEmpty();
    });
    if (!labelled && input->accessibleName().trimmed().isEmpty()) unnamed.push_back(input->objectName().toStdString());
  }
  return unnamed;
}

}  // namespace jubilora::test
