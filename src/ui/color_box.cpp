#include "ui/color_box.h"

#include <algorithm>
#include <string_view>

#include <QAbstractItemView>
#include <QColorDialog>
#include <QEvent>
#include <QFontMetrics>
#include <QPainter>
#include <QPixmap>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <QTimer>

#include "core/naming.h"
#include "ui/presets.h"

namespace jubilora {

namespace {

constexpr const char* CustomActionText = "Custom...";
constexpr const char* CustomEntryText = "Custom (%1)";
constexpr const char* ColorDialogTitle = "Color";
constexpr int ColorRole = Qt::UserRole + 1;
constexpr int EntryRole = Qt::UserRole + 2;
enum class Entry { Action = 1, Custom, Named };

struct NamedColor {
  StoredColor color = 0;
  std::string_view name;
};
constexpr int MinSwatchHeight = 12;
constexpr int SwatchLeft = 2;
constexpr int TextGap = 4;
constexpr int VisibleRows = 16;
constexpr int WindowIndex = 5;
constexpr int ButtonFaceIndex = 15;
constexpr int HighlightIndex = 13;
constexpr int HighlightTextIndex = 14;
constexpr int WindowTextIndex = 8;
constexpr int GreyTextIndex = 17;

// The sixteen colours every palette knows, then a few soft ones.
constexpr NamedColor StandardColors[] = {
    {0x00000000, "Black"},  {0x00000080, "Maroon"},  {0x00008000, "Green"}, {0x00008080, "Olive"},
    {0x00800000, "Navy"},   {0x00800080, "Purple"},  {0x00808000, "Teal"},  {0x00808080, "Grey"},
    {0x00C0C0C0, "Silver"}, {0x000000FF, "Red"},     {0x0000FF00, "Lime"},  {0x0000FFFF, "Yellow"},
    {0x00FF0000, "Blue"},   {0x00FF00FF, "Fuchsia"}, {0x00FFFF00, "Aqua"},  {0x00FFFFFF, "White"},
};
constexpr NamedColor ExtendedColors[] = {
    {0x00C0DCC0, "Money Green"},
    {0x00F0CAA6, "Sky Blue"},
    {0x00F0FBFF, "Cream"},
    {0x00A4A0A0, "Medium Grey"},
};
// By the system's colour index; index 25 has no colour.
constexpr NamedColor SystemColorNames[] = {
    {SystemColorRef(0), "Scroll Bar"},
    {SystemColorRef(1), "Desktop"},
    {SystemColorRef(2), "Active Caption"},
    {SystemColorRef(3), "Inactive Caption"},
    {SystemColorRef(4), "Menu"},
    {SystemColorRef(5), "Window"},
    {SystemColorRef(6), "Window Frame"},
    {SystemColorRef(7), "Menu Text"},
    {SystemColorRef(8), "Window Text"},
    {SystemColorRef(9), "Caption Text"},
    {SystemColorRef(10), "Active Border"},
    {SystemColorRef(11), "Inactive Border"},
    {SystemColorRef(12), "Application Workspace"},
    {SystemColorRef(13), "Highlight"},
    {SystemColorRef(14), "Highlight Text"},
    {SystemColorRef(15), "Button Face"},
    {SystemColorRef(16), "Button Shadow"},
    {SystemColorRef(17), "Grey Text"},
    {SystemColorRef(18), "Button Text"},
    {SystemColorRef(19), "Inactive Caption Text"},
    {SystemColorRef(20), "Button Highlight"},
    {SystemColorRef(21), "3D Dark Shadow"},
    {SystemColorRef(22), "3D Light"},
    {SystemColorRef(23), "Info Text"},
    {SystemColorRef(24), "Info Background"},
    {SystemColorRef(26), "Hot Light"},
    {SystemColorRef(27), "Gradient Active Caption"},
    {SystemColorRef(28), "Gradient Inactive Caption"},
    {SystemColorRef(29), "Menu Highlight"},
    {SystemColorRef(30), "Menu Bar"},
};

QString NameText(std::string_view name) {
  return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

std::optional<QColor> RunColorDialog(QWidget* owner, const QColor& initial) {
  const QColor chosen = QColorDialog::getColor(initial, owner, QString::fromLatin1(ColorDialogTitle));
  if (!chosen.isValid()) return std::nullopt;
  return chosen;
}

Entry EntryOf(const QComboBox& box, int row) { return static_cast<Entry>(box.itemData(row, EntryRole).toInt()); }

}  // namespace

ColorBox::ColorBox(const SystemColors& systemColors, QWidget* parent, ColorPicker picker)
    : QComboBox(parent), systemColors_(systemColors), picker_(picker ? std::move(picker) : RunColorDialog) {
  setMaxVisibleItems(VisibleRows);
  setIconSize(SwatchSize());
  // A scrolling list of a few rows rather than a menu as tall as the screen.
  setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
  // A blank swatch keeps the action's text in line with the colour names.
  QPixmap blank(SwatchSize());
  blank.fill(Qt::transparent);
  addItem(QIcon(blank), QString::fromLatin1(CustomActionText));
  setItemData(CustomActionRow, static_cast<int>(Entry::Action), EntryRole);
  auto addGroup = [this](const auto& group) {
    insertSeparator(count());
    for (const NamedColor& named : group) {
      addItem(SwatchIcon(named.color), NameText(named.name));
      setItemData(count() - 1, named.color, ColorRole);
      setItemData(count() - 1, static_cast<int>(Entry::Named), EntryRole);
    }
  };
  addGroup(StandardColors);
  addGroup(ExtendedColors);
  addGroup(SystemColorNames);
  connect(this, &QComboBox::activated, this, &ColorBox::Activated);
  SetColor(0);
}

void ColorBox::SetColor(StoredColor color) {
  if (RowOf(color) >= 0) {
    // A colour with a name needs no custom entry left over from before.
    if (const int custom = CustomRow(); custom >= 0) removeItem(custom);
    setCurrentIndex(RowOf(color));
  } else {
    ShowCustom(color);
  }
  previousRow_ = currentIndex();
  update();
}

StoredColor ColorBox::Color() const {
  const int row = currentIndex() == CustomActionRow ? previousRow_ : currentIndex();
  return static_cast<StoredColor>(itemData(row, ColorRole).toInt());
}

QSize ColorBox::SwatchSize() const {
  // Grows with the font, so that a large font does not leave a dot of colour.
  const int height = std::max(MinSwatchHeight, fontMetrics().height() * 2 / 3);
  return {height * 3 / 2, height};
}

void ColorBox::RefreshSwatches() {
  setIconSize(SwatchSize());
  for (int row = 0; row < count(); ++row) {
    const Entry entry = EntryOf(*this, row);
    if (entry == Entry::Named || entry == Entry::Custom)
      setItemIcon(row, SwatchIcon(static_cast<StoredColor>(itemData(row, ColorRole).toInt())));
  }
  update();
}

int ColorBox::CustomRow() const {
  const int row = CustomActionRow + 1;
  return row < count() && EntryOf(*this, row) == Entry::Custom ? row : -1;
}

int ColorBox::RowOf(StoredColor color) const {
  for (int row = 0; row < count(); ++row) {
    if (EntryOf(*this, row) == Entry::Named && static_cast<StoredColor>(itemData(row, ColorRole).toInt()) == color)
      return row;
  }
  return -1;
}

void ColorBox::ShowCustom(StoredColor color) {
  int row = CustomRow();
  if (row < 0) {
    row = CustomActionRow + 1;
    insertItem(row, QString());
    setItemData(row, static_cast<int>(Entry::Custom), EntryRole);
  }
  // Kept exactly as given, so an unchanged box stores back what it was loaded with.
  setItemData(row, color, ColorRole);
  setItemText(row, QString::fromLatin1(CustomEntryText).arg(Swatch(color).name(QColor::HexRgb).toUpper()));
  setItemIcon(row, SwatchIcon(color));
  setCurrentIndex(row);
}

void ColorBox::Activated(int row) {
  const bool fromList = std::exchange(pickedFromList_, false);
  if (row != CustomActionRow) {
    previousRow_ = row;
    return;
  }
  // Arrow keys on the closed box pass over the action; the colour dialog opens only when
  // the action is chosen from the open list.
  if (!fromList) {
    setCurrentIndex(previousRow_);
    return;
  }
  PickCustomColor();
}

void ColorBox::PickCustomColor() {
  const StoredColor current = itemData(previousRow_, ColorRole).toInt();
  const std::optional<QColor> chosen = picker_(this, Swatch(current));
  if (!chosen || !chosen->isValid()) {
    setCurrentIndex(previousRow_);
    return;
  }
  SetColor(FromColor32(chosen->rgb()));
}

QColor ColorBox::Swatch(StoredColor color) const { return QColor::fromRgb(ToColor32(color, systemColors_)); }

QColor ColorBox::SystemQColor(int index) const { return Swatch(SystemColorRef(index)); }

QIcon ColorBox::SwatchIcon(StoredColor color) const {
  QPixmap pixmap(SwatchSize());
  pixmap.fill(Swatch(color));
  QPainter painter(&pixmap);
  // Outlined in the text colour, so that a swatch as dark (or light) as the list still shows.
  painter.setPen(palette().color(QPalette::Text));
  painter.drawRect(pixmap.rect().adjusted(0, 0, -1, -1));
  painter.end();
  QIcon icon;
  // The swatch keeps its colour in a disabled box: the colours stay readable under a preset.
  icon.addPixmap(pixmap, QIcon::Normal);
  icon.addPixmap(pixmap, QIcon::Disabled);
  icon.addPixmap(pixmap, QIcon::Selected);
  icon.addPixmap(pixmap, QIcon::Active);
  return icon;
}

void ColorBox::showPopup() {
  RefreshSwatches();
  view()->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  // Wide enough for the longest name beside the scroll bar.
  const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, view());
  view()->setMinimumWidth(view()->sizeHintForColumn(0) + scrollBar + 2 * view()->frameWidth() + 2 * TextGap);
  QComboBox::showPopup();
}

void ColorBox::hidePopup() {
  // A choice from the list closes the popup just before it is reported as activated.
  pickedFromList_ = true;
  QTimer::singleShot(0, this, [this] { pickedFromList_ = false; });
  QComboBox::hidePopup();
}

void ColorBox::changeEvent(QEvent* event) {
  QComboBox::changeEvent(event);
  const QEvent::Type type = event->type();
  if (type == QEvent::ApplicationPaletteChange || type == QEvent::PaletteChange || type == QEvent::FontChange)
    RefreshSwatches();
}

// As wide as a custom colour's entry: a longer name is cut short in the closed box rather than
// widening every box (the open list shows it whole).
QSize ColorBox::sizeHint() const {
  QStyleOptionComboBox option;
  initStyleOption(&option);
  const QFontMetrics metrics = fontMetrics();
  const QString widest = QString::fromLatin1(CustomEntryText).arg(QStringLiteral("#FFFFFF"));
  const QSize swatch = SwatchSize();
  const QSize contents(SwatchLeft + swatch.width() + TextGap + metrics.horizontalAdvance(widest) + TextGap,
                       std::max(metrics.height(), swatch.height()));
  return style()->sizeFromContents(QStyle::CT_ComboBox, &option, contents, this);
}

QSize ColorBox::minimumSizeHint() const { return sizeHint(); }

void ColorBox::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  QStyleOptionComboBox option;
  initStyleOption(&option);
  painter.drawComplexControl(QStyle::CC_ComboBox, option);

  // The field is drawn like a list's: window colour, or button face while disabled, and the
  // selection colours while the box has the focus.
  const QRect field = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
  const bool focused = isEnabled() && hasFocus();
  QColor background = SystemQColor(isEnabled() ? WindowIndex : ButtonFaceIndex);
  QColor text = SystemQColor(isEnabled() ? WindowTextIndex : GreyTextIndex);
  if (focused) {
    background = SystemQColor(HighlightIndex);
    text = SystemQColor(HighlightTextIndex);
  }
  painter.fillRect(field, background);

  const int row = currentIndex();
  int textLeft = field.left() + TextGap;
  if (row >= 0 && EntryOf(*this, row) != Entry::Action) {
    const QSize size = SwatchSize();
    const QRect swatch(QPoint(field.left() + SwatchLeft, field.top() + (field.height() - size.height()) / 2), size);
    painter.fillRect(swatch, Swatch(static_cast<StoredColor>(itemData(row, ColorRole).toInt())));
    painter.setPen(text);
    painter.drawRect(swatch.adjusted(0, 0, -1, -1));
    textLeft = swatch.right() + 1 + TextGap;
  }
  painter.setPen(text);
  const QRect textRect(textLeft, field.top(), field.right() + 1 - textLeft, field.height());
  painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter,
                   fontMetrics().elidedText(currentText(), Qt::ElideRight, textRect.width()));
}

}  // namespace jubilora
