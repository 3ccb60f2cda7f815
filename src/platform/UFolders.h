// Per-user folders, the module's own location and environment expansion.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace Ryvel::Platform {

// ${XDG_CACHE_HOME:-$HOME/.cache}: stands for the temporary-files folder. Empty when
// neither variable gives an absolute path.
std::filesystem::path CacheDir();
// ${XDG_CONFIG_HOME:-$HOME/.config}
std::filesystem::path ConfigDir();
// ${XDG_DATA_HOME:-$HOME/.local/share}: stands for the roaming application-data folder.
std::filesystem::path DataDir();

// The file of the shared object (or program) that contains this code, found with dladdr.
std::filesystem::path ModulePath();
// Its folder.
std::filesystem::path ModuleDir();

// Replaces every %NAME% whose variable is set (names compared ignoring case; USERNAME
// falls back to USER). References to unset variables stay as written.
std::u16string ExpandEnvironment(std::u16string_view text);

} // namespace Ryvel::Platform
