#pragma once
// The user's own folders by the XDG base-directory rules, looked up once for the whole program.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace jubilora {

// Reads an environment variable; tests hand in their own.
using EnvLookup = std::function<std::optional<std::string>(const std::string&)>;

// The process's own environment.
std::optional<std::string> ProcessEnvironment(const std::string& name);

// $XDG_CONFIG_HOME and $XDG_DATA_HOME when they name an absolute folder (the rules say an empty
// or relative value is to be ignored), otherwise ~/.config and ~/.local/share; nothing when
// HOME is no absolute folder either.
std::optional<std::filesystem::path> UserConfigHome(const EnvLookup& env);
std::optional<std::filesystem::path> UserDataHome(const EnvLookup& env);

}  // namespace jubilora
