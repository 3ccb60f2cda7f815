#include "session/UProgressDialog.h"

#include "platform/UText.h"
#include "platform/UTicks.h"

#include <algorithm>

TProgressDialog* ProgressDialog = nullptr;

IProgressView::~IProgressView() = default;

void IProgressView::SetCancelHandler(std::function<void()>) {}

namespace {

class THeadlessProgressView final : public IProgressView {
public:
  void Show() override { FVisible = true; }
  void Hide() override { FVisible = false; }
  bool Visible() const override { return FVisible; }
  void ShowValues(const std::u16string (&)[5], int) override {}
  void ProcessMessages() override {}
  void BringToFront() override {}

private:
  bool FVisible = false;
};

} // namespace

std::unique_ptr<IProgressView> CreateHeadlessProgressView() {
  return std::make_unique<THeadlessProgressView>();
}

TProgressDialog::TProgressDialog(std::unique_ptr<IProgressView> aView)
    : FView(aView ? std::move(aView) : CreateHeadlessProgressView()) {
  if (!ProgressDialog)
    ProgressDialog = this;
  FStartTime = FLastTime = Ryvel::Platform::GetTickCount() + StartDelayMs;
  FView->SetCancelHandler([this] { CancelButtonClick(); });
}

TProgressDialog::~TProgressDialog() {
  if (ProgressDialog == this)
    ProgressDialog = nullptr;
  // The view may outlive nothing of ours: take the handler back before it goes.
  FView->SetCancelHandler({});
}

void TProgressDialog::SetUserCancel(bool aValue) {
  if (aValue == FUserCancel)
    return;
  FUserCancel = aValue;
  if (aValue)
    FView->Hide();
}

void TProgressDialog::CancelButtonClick() {
  SetUserCancel(true);
  FView->ProcessMessages();
}

bool TProgressDialog::AddSegment() {
  if (FUserCancel)
    return false;
  const int old = FSegmentCount;
  FSegmentCount = old + 1;
  // Most calls stop here without reading the clock.
  if (old % 16 == 0)
    return false;
  const uint32_t t = Ryvel::Platform::GetTickCount();
  if (!FView->Visible() && After(t, FStartTime))
    FView->Show();
  if (FView->Visible() && After(t, FLastTime)) {
    FLastTime = t + RefreshIntervalMs;
    UpdateData();
    FView->ProcessMessages();
    return true;
  }
  return false;
}

bool TProgressDialog::AddSegmentData(bool aWithErrors, int aWordCount, int aWordErrorCount) {
  if (FUserCancel)
    return false;
  const int old = FSegmentsDone;
  FSegmentsDone = old + 1;
  if (aWithErrors)
    ++FSegmentsWithErrors;
  FWordCount = aWordCount;
  FWordErrorCount = aWordErrorCount;
  if ((old & 4095) == 0)
    return false;
  // Cancel is noticed here, on every counted call of the check run.
  FView->ProcessMessages();
  if (FUserCancel)
    return false;
  const uint32_t t = Ryvel::Platform::GetTickCount();
  if (!FView->Visible() && After(t, FStartTime))
    FView->Show();
  if (FView->Visible() && After(t, FLastTime)) {
    FLastTime = t + RefreshIntervalMs;
    UpdateData();
    return true;
  }
  return false;
}

int TProgressDialog::BarPosition() const {
  if (FSegmentCount <= 0)
    return 0;
  // 64-bit, so that more than 21 million segments do not overflow.
  const long long percent = static_cast<long long>(FSegmentsDone) * 100 / FSegmentCount;
  return static_cast<int>(std::clamp(percent, 0LL, 100LL));
}

void TProgressDialog::UpdateData() {
  using Ryvel::Platform::FormatThousands;
  const std::u16string counters[5] = {
      FormatThousands(FSegmentCount), FormatThousands(FSegmentsDone),
      FormatThousands(FSegmentsWithErrors), FormatThousands(FWordCount),
      FormatThousands(FWordErrorCount)};
  FView->ShowValues(counters, BarPosition());
}

void TProgressDialog::BringToFront() { FView->BringToFront(); }

TProgressDialog* CreateProgressDialog(std::unique_ptr<IProgressView> aView) {
  FreeProgressDialog();
  return new TProgressDialog(std::move(aView)); // registers itself and is owned by the registration
}

void FreeProgressDialog() {
  TProgressDialog* dialog = ProgressDialog;
  ProgressDialog = nullptr;
  delete dialog;
}
