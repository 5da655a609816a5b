#pragma once
// A drop-down list of colours: each entry shows a swatch and a readable name. It offers the
// standard colours, a few extended ones, the system colours by name and "Custom...", which
// opens the colour dialog. A colour that is in none of the lists shows as a custom entry.

#include <functional>
#include <optional>

#include <QColor>
#include <QComboBox>

#include "core/ports.h"
#include "core/settings.h"

namespace jubilora {

class ColorBox : public QComboBox {
  Q_OBJECT
  Q_PROPERTY(int color READ Color WRITE SetColor USER true)
 public:
  // Asks the user for a colour, starting from `initial`; nothing when cancelled.
  using ColorPicker = std::function<std::optional<QColor>(QWidget* owner, const QColor& initial)>;

  // Without a picker, "Custom..." opens the colour dialog.
  explicit ColorBox(const SystemColors& systemColors, QWidget* parent = nullptr, ColorPicker picker = {});

  // Any stored value, system colours included; Color() gives it back unchanged.
  void SetColor(StoredColor color);
  StoredColor Color() const;
  // Draws the swatches of the system colours anew from the current colour scheme.
  void RefreshSwatches();

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;
  void showPopup() override;
  void hidePopup() override;

  static constexpr int CustomActionRow = 0;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void Activated(int row);
  void PickCustomColor();
  void ShowCustom(StoredColor color);
  int CustomRow() const;
  int RowOf(StoredColor color) const;
  QSize SwatchSize() const;
  QColor Swatch(StoredColor color) const;
  QIcon SwatchIcon(StoredColor color) const;
  QColor SystemQColor(int index) const;

  const SystemColors& systemColors_;
  ColorPicker picker_;
  int previousRow_ = -1;
  bool pickedFromList_ = false;
};

}  // namespace jubilora
