// The module's lifetime: loading it creates the one declaration, unloading destroys it.
#include "platform/UMessages.h"
#include "session/URySpeller.h"

#include <exception>
#include <memory>

namespace {

struct TModuleLifetime {
  TModuleLifetime() {
    try {
      Declaration = std::make_unique<TDeclareSpeller>();
    } catch (const std::exception& e) {
      // A host must not die because the plug-in could not start: every export then
      // answers with its neutral value.
      try {
        Ryvel::Platform::ShowMessage(u"Veskora Ryvel SpellChecker", u"The speller could not start");
      } catch (...) {
      }
    } catch (...) {
    }
  }
  std::unique_ptr<TDeclareSpeller> Declaration;
};

TModuleLifetime Module;

} // namespace
