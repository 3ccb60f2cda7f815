// The review tests compare texts that depend on the locale (thousands separators, collation):
// they all run in US English, set before anything opens a collator.
#include <gtest/gtest.h>
#include <unicode/locid.h>

namespace {

class TEnglishLocale : public ::testing::Environment {
public:
  TEnglishLocale() {
    UErrorCode status = U_ZERO_ERROR;
    icu::Locale::setDefault(icu::Locale("en_US"), status);
  }
};

[[maybe_unused]] ::testing::Environment* const GLocale =
    ::testing::AddGlobalTestEnvironment(new TEnglishLocale);

} // namespace
