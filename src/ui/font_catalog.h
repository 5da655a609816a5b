#pragma once
// The installed font families. Needs a QGuiApplication.

#include <string>

#include <QString>

#include "core/ports.h"

namespace jubilora {

// A family as QFontDatabase lists it, without the " [Foundry]" it carries when several
// foundries offer it.
QString FamilyName(const QString& listed);

class QtFontCatalog : public FontCatalog {
 public:
  // `family` is Windows-1252; compared without regard to case.
  bool IsInstalled(const std::string& family) const override;
};

}  // namespace jubilora
