#include "platform/UFolders.h"

#include "platform/UText.h"

#include <cstdlib>
#include <dlfcn.h>

namespace fs = std::filesystem;

namespace Ryvel::Platform {

namespace {

fs::path XdgDir(const char* variable, const char* fallbackUnderHome) {
  const char* v = std::getenv(variable);
  // Relative values are invalid for these variables and are ignored.
  if (v != nullptr && v[0] == '/')
    return fs::path(v);
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] == '/')
    return fs::path(home) / fallbackUnderHome;
  return {};
}

int ModuleAnchor;

} // namespace

fs::path CacheDir() { return XdgDir("XDG_CACHE_HOME", ".cache"); }
fs::path ConfigDir() { return XdgDir("XDG_CONFIG_HOME", ".config"); }
fs::path DataDir() { return XdgDir("XDG_DATA_HOME", ".local/share"); }

fs::path ModulePath() {
  Dl_info info{};
  if (dladdr(static_cast<const void*>(&ModuleAnchor), &info) == 0 || info.dli_fname == nullptr)
    return {};
  std::error_code ec;
  fs::path p(info.dli_fname);
  // A program started by a relative name reports that name; make it absolute.
  if (p.is_relative()) {
    fs::path self = fs::read_symlink("/proc/self/exe", ec);
    if (!ec && p.filename() == self.filename())
      return self;
    p = fs::absolute(p, ec);
  }
  return p;
}

fs::path ModuleDir() { return ModulePath().parent_path(); }

namespace {

bool EqualsIgnoreAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size())
    return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z')
      x = static_cast<char>(x - 32);
    if (y >= 'a' && y <= 'z')
      y = static_cast<char>(y - 32);
    if (x != y)
      return false;
  }
  return true;
}

extern "C" char** environ;

const char* LookUp(const std::string& name) {
  for (char** e = environ; e != nullptr && *e != nullptr; ++e) {
    std::string_view entry(*e);
    const auto eq = entry.find('=');
    if (eq != std::string_view::npos && EqualsIgnoreAsciiCase(entry.substr(0, eq), name))
      return *e + eq + 1;
  }
  if (EqualsIgnoreAsciiCase(name, "USERNAME"))
    return std::getenv("USER");
  return nullptr;
}

} // namespace

std::u16string ExpandEnvironment(std::u16string_view text) {
  std::u16string out;
  size_t i = 0;
  while (i < text.size()) {
    if (text[i] == u'%') {
      const size_t close = text.find(u'%', i + 1);
      if (close != std::u16string_view::npos && close > i + 1) {
        const std::string name = Utf16ToUtf8(text.substr(i + 1, close - i - 1));
        if (const char* value = LookUp(name)) {
          out += Utf8ToUtf16(value);
          i = close + 1;
          continue;
        }
      }
    }
    out.push_back(text[i]);
    ++i;
  }
  return out;
}

} // namespace Ryvel::Platform
