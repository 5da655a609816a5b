#pragma once
// The installed font families. Needs a QGuiApplication.

#include <string>

#include "core/ports.h"

namespace jubilora {

class QtFontCatalog : public FontCatalog {
 public:
  // `family` is Windows-1252; compared without regard to case.
  bool IsInstalled(const std::string& family) const override;
};

}  // namespace jubilora
