#pragma once
// The process-wide values, owned by main().

#include <string>

#include "core/anniversary.h"
#include "core/product.h"
#include "core/settings.h"
#include "data/program_paths.h"

namespace jubilora {

struct AppState {
  TAnniversaryList Anniversaries;
  TCfg Cfg;
  bool FirstRun = false;
  bool AlreadyShown = false;
  ProgramPaths Paths;
};

}  // namespace jubilora
