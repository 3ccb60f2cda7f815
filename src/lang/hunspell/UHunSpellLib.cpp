#include "lang/hunspell/UHunSpellLib.h"

#include "platform/UFiles.h"
#include "platform/UMessages.h"
#include "platform/UText.h"

#include <dlfcn.h>
#include <utility>

namespace {

// The unit's state: one loaded module and its entry points, shared by every dictionary.
void* LibModule = nullptr;
THunSpellEntryPoints LibEntries;
std::u16string LibModulePath;

// Unloads the library when the module containing this code goes away.
struct TUnloadAtExit {
  ~TUnloadAtExit() { UnloadHunSpellLib(); }
} UnloadAtExit;

template <typename T> bool Resolve(void* aModule, const char* aName, T& aSlot) {
  aSlot = reinterpret_cast<T>(dlsym(aModule, aName));
  return aSlot != nullptr;
}

bool ResolveAll(void* aModule, THunSpellEntryPoints& e) {
  return Resolve(aModule, "hunspell_initialize", e.Initialize) &&
         Resolve(aModule, "hunspell_uninitialize", e.Uninitialize) &&
         Resolve(aModule, "hunspell_spell", e.Spell) &&
         Resolve(aModule, "hunspell_suggest", e.Suggest) &&
         Resolve(aModule, "hunspell_suggest_free", e.SuggestFree) &&
         Resolve(aModule, "hunspell_get_dic_encoding", e.GetDicEncoding) &&
         Resolve(aModule, "hunspell_add", e.Add);
}

} // namespace

bool LoadHunSpellLib(std::u16string_view aLibPath) {
  using namespace Ryvel::Platform;
  const std::string path =
      PathFromUtf16(aLibPath.empty() ? std::u16string_view(CHunSpellLibName) : aLibPath);
  dlerror();
  void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (module == nullptr) {
    const char* error = dlerror();
    ShowMessage(CHunSpellCaption,
                u"LoadLibrary: " + Utf8ToUtf16(error != nullptr ? error : "unknown error"));
    return false;
  }
  // Hold one reference at a time: a dictionary that still needs the old module pins it.
  if (LibModule != nullptr)
    dlclose(LibModule);
  LibModule = module;
  LibModulePath = std::u16string(aLibPath);
  // Slots after a missing name are cleared rather than left pointing into an older module.
  LibEntries = THunSpellEntryPoints{};
  return ResolveAll(module, LibEntries);
}

void UnloadHunSpellLib() {
  if (LibModule == nullptr)
    return;
  dlclose(LibModule);
  LibModule = nullptr;
  LibModulePath.clear();
}

bool HunSpellLibLoaded() { return LibModule != nullptr; }

const std::u16string& HunSpellLibPath() { return LibModulePath; }

const THunSpellEntryPoints& HunSpellEntryPoints() { return LibEntries; }

THunSpellLibPin::~THunSpellLibPin() { Release(); }

THunSpellLibPin::THunSpellLibPin(THunSpellLibPin&& aOther) noexcept
    : FModule(std::exchange(aOther.FModule, nullptr)),
      FEntries(std::exchange(aOther.FEntries, {})) {}

THunSpellLibPin& THunSpellLibPin::operator=(THunSpellLibPin&& aOther) noexcept {
  if (this != &aOther) {
    Release();
    FModule = std::exchange(aOther.FModule, nullptr);
    FEntries = std::exchange(aOther.FEntries, {});
  }
  return *this;
}

THunSpellLibPin THunSpellLibPin::Current() {
  THunSpellLibPin pin;
  if (LibModule == nullptr)
    return pin;
  // Find the file of the held module through one of its symbols and take one more
  // reference to exactly that module (RTLD_NOLOAD never loads anything new).
  const void* anchor = LibEntries.Initialize != nullptr
                           ? reinterpret_cast<const void*>(LibEntries.Initialize)
                           : nullptr;
  Dl_info info{};
  if (anchor == nullptr || dladdr(anchor, &info) == 0 || info.dli_fname == nullptr)
    return pin;
  pin.FModule = dlopen(info.dli_fname, RTLD_NOW | RTLD_LOCAL | RTLD_NOLOAD);
  if (pin.FModule != nullptr)
    pin.FEntries = LibEntries;
  return pin;
}

void THunSpellLibPin::Release() {
  if (FModule != nullptr)
    dlclose(FModule);
  FModule = nullptr;
  FEntries = {};
}
