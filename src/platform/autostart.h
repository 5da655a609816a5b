#pragma once
// Starting with the user's log-on. The program keeps one entry that runs its own file with
// "/autorun"; on Linux that entry is an XDG autostart desktop file.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/user_folders.h"

namespace jubilora {

// The place where the log-on entry lives. The command is a list of words: the program's
// full path, then its arguments. Failures come back as the system's reason.
class AutostartStore {
 public:
  virtual ~AutostartStore() = default;
  // The entry is there and will run at log-on.
  virtual bool ValueExists() const = 0;
  // The entry's command, unquoted; nothing when the entry cannot be read. An entry that is
  // present but starts no usable command gives an empty list.
  virtual std::optional<std::vector<std::string>> ReadValue() const = 0;
  // Replaces the entry whole (creating its folder when needed).
  virtual std::optional<std::string> WriteValue(const std::vector<std::string>& command) = 0;
  // Removes the entry; an entry that is already gone is no failure.
  virtual std::optional<std::string> DeleteValue() = 0;
  // Where the entry lives, as messages name it.
  virtual std::string Location() const = 0;
};

// The desktop's autostart folder holds "Jubilora.desktop".
class XdgAutostart : public AutostartStore {
 public:
  explicit XdgAutostart(std::filesystem::path folder);
  // The autostart folder in the user's configuration folder ("/" standing in for a home
  // when there is none, so that writing fails and is reported).
  static std::filesystem::path UserFolder(const EnvLookup& env);
  static XdgAutostart ForCurrentUser();

  const std::filesystem::path& File() const { return file_; }

  bool ValueExists() const override;
  std::optional<std::vector<std::string>> ReadValue() const override;
  std::optional<std::string> WriteValue(const std::vector<std::string>& command) override;
  std::optional<std::string> DeleteValue() override;
  std::string Location() const override { return file_.string(); }

 private:
  std::filesystem::path folder_;
  std::filesystem::path file_;
};

}  // namespace jubilora
