#include "plugin/UDeclare.h"

#include "platform/UFolders.h"

#include <algorithm>

namespace {

TDeclareInfo* GlobalDeclareInfo = nullptr;

void CopyDescription(TQAPluginDescription& aField, const std::u16string& aText) {
  const size_t n = std::min<size_t>(aText.size(), QADescriptionLength - 1);
  std::copy_n(aText.data(), n, aField);
  std::fill(aField + n, aField + QADescriptionLength, u'\0');
}

// "%username%" expanded, as the environment expansion of the system would, into at most
// 200 code units; an unset variable stays as written.
std::u16string UserPart() {
  std::u16string user = Ryvel::Platform::ExpandEnvironment(u"%username%");
  if (user.size() >= 200)
    user.resize(199);
  return user;
}

} // namespace

TDeclareInfo* DeclareInfo() { return GlobalDeclareInfo; }

TDeclareInfo::TDeclareInfo(const std::u16string& aName, const std::u16string& aDescription,
                           const std::u16string& aKeywords)
    : FName(aName) {
  if (GlobalDeclareInfo == nullptr)
    GlobalDeclareInfo = this;
  SetAllowsUnicode(false);
  SetAllowsAnsi(false);
  CopyDescription(FInfo.Description, aDescription);
  CopyDescription(FInfo.Keywords, aKeywords);
  FConfigFile = u"RyvelPlugin." + FName + u"." + UserPart() + u".xml";
}

TDeclareInfo::~TDeclareInfo() {
  if (GlobalDeclareInfo == this)
    GlobalDeclareInfo = nullptr;
}

void TDeclareInfo::AddFunction(const std::string& aName, TProcessBegin aProcessBegin,
                               TProcessEnd aProcessEnd, TProcessSegment aProcessSegment,
                               TGetFirstResult aGetFirstResult, TGetNextResult aGetNextResult) {
  FFunctions.push_back(TQAPluginFunctionInfo{aName, std::move(aProcessBegin),
                                             std::move(aProcessEnd), std::move(aProcessSegment),
                                             std::move(aGetFirstResult), std::move(aGetNextResult),
                                             nullptr});
}

int32_t TDeclareInfo::FirstFunction() {
  FCurrentFunc = 1;
  return NextFunction();
}

int32_t TDeclareInfo::NextFunction() {
  const int32_t c = FCurrentFunc;
  if (c <= 0 || c > FunctionCount())
    return 0;
  FCurrentFunc = c + 1;
  return c;
}
