// A small key=value file that stands for a per-user registry key.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace Ryvel::Platform {

class TKeyValueStore {
public:
  explicit TKeyValueStore(std::filesystem::path file);

  // The speller's own key: ConfigDir()/Veskora/Ryvel/Speller.conf.
  static TKeyValueStore SpellerKey();

  // The value, or nothing when the file or the name is missing.
  std::optional<std::u16string> Read(const std::string& name) const;
  // Creates the file (and its folder) when needed; other values are kept. Atomic.
  bool Write(const std::string& name, const std::u16string& value) const;

  const std::filesystem::path& File() const { return FFile; }

private:
  std::filesystem::path FFile;
};

} // namespace Ryvel::Platform
