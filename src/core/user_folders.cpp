#include "core/user_folders.h"

#include <cstdlib>

namespace jubilora {

namespace {

std::optional<std::filesystem::path> AbsoluteFolder(const EnvLookup& env, const char* variable) {
  if (const auto value = env(variable); value && std::filesystem::path(*value).is_absolute()) return *value;
  return std::nullopt;
}

std::optional<std::filesystem::path> XdgFolder(const EnvLookup& env, const char* variable,
                                               const std::filesystem::path& underHome) {
  if (auto folder = AbsoluteFolder(env, variable)) return folder;
  if (const auto home = AbsoluteFolder(env, "HOME")) return *home / underHome;
  return std::nullopt;
}

}  // namespace

std::optional<std::string> ProcessEnvironment(const std::string& name) {
  if (const char* value = std::getenv(name.c_str())) return std::string(value);
  return std::nullopt;
}

std::optional<std::filesystem::path> UserConfigHome(const EnvLookup& env) {
  return XdgFolder(env, "XDG_CONFIG_HOME", ".config");
}

std::optional<std::filesystem::path> UserDataHome(const EnvLookup& env) {
  return XdgFolder(env, "XDG_DATA_HOME", std::filesystem::path(".local") / "share");
}

}  // namespace jubilora
