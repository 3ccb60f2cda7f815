// Run-time binding to the spelling library: loads it, resolves its seven entry points and
// unloads it. THunSpell is its only user.
#pragma once

#include "hunspell_adapter.h"

#include <string>
#include <string_view>

// The file of the spelling library found by the system's search order, and the name used
// next to the plug-in module.
inline constexpr char16_t CHunSpellLibName[] = u"libhunspell-adapter.so";

// The caption of every message box of the spelling engine.
inline constexpr char16_t CHunSpellCaption[] = u"Veskora Ryvel SpellChecker";

// The seven entry points, in the order they are resolved. A null slot is never called.
struct THunSpellEntryPoints {
  decltype(&hunspell_initialize) Initialize = nullptr;
  decltype(&hunspell_uninitialize) Uninitialize = nullptr;
  decltype(&hunspell_spell) Spell = nullptr;
  decltype(&hunspell_suggest) Suggest = nullptr;
  decltype(&hunspell_suggest_free) SuggestFree = nullptr;
  decltype(&hunspell_get_dic_encoding) GetDicEncoding = nullptr;
  decltype(&hunspell_add) Add = nullptr;
};

// Loads the library (an empty path: CHunSpellLibName by the system's search order) and
// resolves the seven entry points in order. A failed load shows "LoadLibrary: " with the
// loader's text and returns false, keeping what was loaded before. A missing entry point
// returns false without a message; the module stays loaded and the slots after the missing
// one are cleared. A successful load replaces the module held before.
bool LoadHunSpellLib(std::u16string_view aLibPath);

// Releases the loaded module, if any. The slots keep their values. Also runs when the
// module containing this code is unloaded.
void UnloadHunSpellLib();

bool HunSpellLibLoaded();
// The path given to the LoadHunSpellLib that loaded the module held now.
const std::u16string& HunSpellLibPath();

// The slots as resolved by the latest LoadHunSpellLib.
const THunSpellEntryPoints& HunSpellEntryPoints();

// Keeps the library that is loaded now mapped, together with its entry points, for as long
// as a dictionary handle it created is open, so that unloading or replacing the library
// through the binding can never leave that handle calling into unmapped code.
class THunSpellLibPin {
public:
  THunSpellLibPin() = default;
  ~THunSpellLibPin();
  THunSpellLibPin(THunSpellLibPin&& aOther) noexcept;
  THunSpellLibPin& operator=(THunSpellLibPin&& aOther) noexcept;
  THunSpellLibPin(const THunSpellLibPin&) = delete;
  THunSpellLibPin& operator=(const THunSpellLibPin&) = delete;

  // Pins the module the binding holds now; an empty pin when nothing is loaded.
  static THunSpellLibPin Current();

  bool Pinned() const { return FModule != nullptr; }
  const THunSpellEntryPoints& Entries() const { return FEntries; }
  void Release();

private:
  void* FModule = nullptr;
  THunSpellEntryPoints FEntries;
};
