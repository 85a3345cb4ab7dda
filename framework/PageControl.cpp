// Page controls with their tab sheets, and up-down arrows.
#include <algorithm>
#include <exception>
#include <string>

#include "framework/ComCtrls.h"
#include "framework/Layout.h"
#include "framework/PropertyTable.h"
#include "framework/rtl/Locale.h"

TTabSheet::TTabSheet(TComponent* AOwner) : TWinControl(AOwner) {
  // Hidden until its page control shows it.
  SetVisible(false);
}

TTabSheet::~TTabSheet() {
  if (FPageControl) FPageControl->RemovePage(this);
}

void TTabSheet::SetParent(TWinControl* AParent) {
  if (Parent() == AParent) return;
  if (FPageControl) FPageControl->RemovePage(this);
  TWinControl::SetParent(AParent);
  if (auto* pages = As<TPageControl>(AParent)) pages->InsertPage(this);
}

void TTabSheet::SetText(const std::string& Value) {
  TWinControl::SetText(Value);
  if (FPageControl) FPageControl->PeerNotify(TPeerChange::Contents);
}

void TTabSheet::SetTabVisible(bool Value) {
  if (FTabVisible == Value) return;
  int oldIndex = TabIndex();
  FTabVisible = Value;
  if (FPageControl) FPageControl->TabShowingChanged(this, oldIndex);
}

int TTabSheet::PageIndex() const {
  if (!FPageControl) return -1;
  auto& pages = FPageControl->FPages;
  return static_cast<int>(std::find(pages.begin(), pages.end(), this) - pages.begin());
}

void TTabSheet::SetPageIndex(int Value) {
  if (!FPageControl) return;
  auto& pages = FPageControl->FPages;
  Value = std::clamp(Value, 0, static_cast<int>(pages.size()) - 1);
  pages.erase(pages.begin() + PageIndex());
  pages.insert(pages.begin() + Value, this);
  FPageControl->PeerNotify(TPeerChange::Contents);
}

int TTabSheet::TabIndex() const {
  if (!FPageControl || !FTabVisible) return -1;
  auto tabs = FPageControl->VisibleTabs();
  return static_cast<int>(std::find(tabs.begin(), tabs.end(), this) - tabs.begin());
}

const TPropertyTable& TTabSheet::PropertyTable() const {
  static const TPropertyTable Table(&TWinControl::PropertyTable(), {
      {"TabVisible", BooleanProperty(&TTabSheet::SetTabVisible)},
      {"PageIndex", IntegerProperty(&TTabSheet::SetPageIndex)},
  });
  return Table;
}

TPageControl::TPageControl(TComponent* AOwner) : TWinControl(AOwner) {
  SetBounds(0, 0, 289, 193);
  SetTabStop(true);
}

TPageControl::~TPageControl() {
  for (TTabSheet* page : FPages) page->FPageControl = nullptr;
  FPages.clear();
}

void TPageControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  // Without a window the pages fill the control below one row of tabs.
  if (!HandleAllocated()) FDisplayRect = {4, 24, std::max(4, AWidth - 4), std::max(24, AHeight - 4)};
  TWinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (!HandleAllocated()) PlacePages();
}

void TPageControl::PeerDisplayRect(const TRect& Value) {
  FDisplayRect = Value;
  PlacePages();
}

void TPageControl::PlacePages() {
  for (TTabSheet* page : FPages)
    page->SetBounds(FDisplayRect.Left, FDisplayRect.Top, FDisplayRect.Width(), FDisplayRect.Height());
}

void TPageControl::InsertPage(TTabSheet* Page) {
  FPages.push_back(Page);
  Page->FPageControl = this;
  Page->SetBounds(FDisplayRect.Left, FDisplayRect.Top, FDisplayRect.Width(), FDisplayRect.Height());
  PeerNotify(TPeerChange::Contents);
  if (!FActivePage) SetActivePage(Page);
}

void TPageControl::RemovePage(TTabSheet* Page) {
  TTabSheet* next = Page == FActivePage ? FindNextPage(Page, true, true) : FActivePage;
  if (next == Page) next = nullptr;
  FPages.erase(std::find(FPages.begin(), FPages.end(), Page));
  Page->FPageControl = nullptr;
  if (FActivePage == Page) FActivePage = nullptr;
  PeerNotify(TPeerChange::Contents);
  SetActivePage(next);
}

std::vector<TTabSheet*> TPageControl::VisibleTabs() const {
  std::vector<TTabSheet*> tabs;
  for (TTabSheet* page : FPages)
    if (page->TabVisible()) tabs.push_back(page);
  return tabs;
}

void TPageControl::TabShowingChanged(TTabSheet* Page, int OldTabIndex) {
  PeerNotify(TPeerChange::Contents);
  if (Page != FActivePage || Page->TabVisible() || IsLoading()) return;
  auto tabs = VisibleTabs();
  int index = std::min(OldTabIndex, static_cast<int>(tabs.size()) - 1);
  SetActivePage(index >= 0 ? tabs[index] : nullptr);
}

void TPageControl::SetActivePage(TTabSheet* Page) {
  if (Page && Page->FPageControl != this) return;
  if (FActivePage == Page) return;
  TTabSheet* old = FActivePage;
  FActivePage = Page;
  if (Page) Page->SetVisible(true);
  if (old) old->SetVisible(false);
  PeerNotify(TPeerChange::Layout);
}

void TPageControl::SetActivePageIndex(int Value) {
  SetActivePage(Value >= 0 && Value < PageCount() ? FPages[Value] : nullptr);
}

TTabSheet* TPageControl::FindNextPage(TTabSheet* Current, bool GoForward, bool CheckTabVisible) const {
  const int count = PageCount();
  if (count == 0) return nullptr;
  auto at = std::find(FPages.begin(), FPages.end(), Current);
  int start = at == FPages.end() ? (GoForward ? count - 1 : 0) : static_cast<int>(at - FPages.begin());
  int i = start;
  do {
    i = GoForward ? (i + 1) % count : (i + count - 1) % count;
    if (!CheckTabVisible || FPages[i]->TabVisible()) return FPages[i];
  } while (i != start);
  return nullptr;
}

bool TPageControl::CanChange() {
  bool allow = true;
  if (OnChanging) OnChanging(this, allow);
  return allow;
}

void TPageControl::SelectNextPage(bool GoForward) { SelectPage(FindNextPage(FActivePage, GoForward, true)); }

void TPageControl::SelectPage(TTabSheet* Page) {
  if (!Page || Page == FActivePage || Page->FPageControl != this || !CanChange()) return;
  SetActivePage(Page);
  Change();
}

bool TPageControl::PeerChanging() {
  bool allow = true;
  DispatchInput(this, [&] { allow = CanChange(); });
  return allow;
}

void TPageControl::PeerTabChosen(int TabIndex) {
  auto tabs = VisibleTabs();
  if (TabIndex < 0 || TabIndex >= static_cast<int>(tabs.size()) || tabs[TabIndex] == FActivePage || !TakesInput())
    return;
  SetActivePage(tabs[TabIndex]);
  DispatchInput(this, [&] { Change(); });
}

const TPropertyTable& TPageControl::PropertyTable() const {
  static const TPropertyTable Table(&TWinControl::PropertyTable(), {
      {"ActivePage", ReferenceProperty(&TPageControl::SetActivePage, "a tab sheet")},
      {"OnChanging", EventProperty(&TPageControl::OnChanging)},
      {"OnChange", EventProperty(&TPageControl::OnChange)},
  });
  return Table;
}

TUpDown::TUpDown(TComponent* AOwner) : TWinControl(AOwner) {
  SetBounds(0, 0, 16, 21);
}

void TUpDown::SetMin(int Value) {
  FMin = Value;
  PeerNotify(TPeerChange::Contents);
}

void TUpDown::SetMax(int Value) {
  FMax = Value;
  PeerNotify(TPeerChange::Contents);
}

void TUpDown::SetThousands(bool Value) {
  if (FThousands == Value) return;
  FThousands = Value;
  UpdateAssociate();
}

void TUpDown::SetPosition(int Value) {
  Value = std::clamp(Value, std::min(FMin, FMax), std::max(FMin, FMax));
  if (FPosition == Value) return;
  FPosition = Value;
  PeerNotify(TPeerChange::Contents);
  UpdateAssociate();
}

void TUpDown::SetAssociate(TWinControl* Value) {
  if (FAssociate == Value) return;
  if (FAssociate) RemoveFreeNotification(FAssociate);
  FAssociate = Value;
  if (!Value) return;
  FreeNotification(Value);
  // The arrows take the right edge of the edit, which gives up that much of its width.
  Value->SetWidth(Value->Width() - Width());
  SetBounds(Value->Left() + Value->Width(), Value->Top(), Width(), Value->Height());
  UpdateAssociate();
}

void TUpDown::UpdateAssociate() {
  if (!FAssociate) return;
  std::string digits = std::to_string(FPosition < 0 ? -static_cast<long long>(FPosition) : FPosition);
  if (FThousands)
    for (int i = static_cast<int>(digits.size()) - 3; i > 0; i -= 3)
      digits.insert(digits.begin() + i, FormatSettings.ThousandSeparator);
  FAssociate->SetText(FPosition < 0 ? "-" + digits : digits);
}

// The position the edit shows: what the user typed there counts, as the system's arrows read
// their edit's number before they step. A text that is no number leaves the position.
void TUpDown::TakeAssociateText() {
  if (!FAssociate) return;
  std::string digits;
  for (char c : FAssociate->Text())
    if (c != FormatSettings.ThousandSeparator) digits += c;
  size_t used = 0;
  try {
    long long value = std::stoll(digits, &used);
    if (used == digits.size())
      FPosition = static_cast<int>(std::clamp<long long>(value, std::min(FMin, FMax), std::max(FMin, FMax)));
  } catch (const std::exception&) {
  }
}

void TUpDown::PeerArrowClicked(TUDBtnType Button) {
  if (!TakesInput()) return;
  DispatchInput(this, [&] {
    TakeAssociateText();
    bool allow = true;
    if (OnChanging) OnChanging(this, allow);
    if (!allow) return;
    long long next = static_cast<long long>(FPosition) + (Button == TUDBtnType::btNext ? FIncrement : -FIncrement);
    if (FWrap && next > FMax) next = FMin;
    else if (FWrap && next < FMin) next = FMax;
    SetPosition(static_cast<int>(std::clamp<long long>(next, std::min(FMin, FMax), std::max(FMin, FMax))));
    if (OnClick) OnClick(this, Button);
  });
}

void TUpDown::Notification(TComponent* AComponent, TOperation Operation) {
  TWinControl::Notification(AComponent, Operation);
  if (Operation == TOperation::opRemove && AComponent == FAssociate) FAssociate = nullptr;
}

const TPropertyTable& TUpDown::PropertyTable() const {
  static const TPropertyTable Table(&TWinControl::PropertyTable(), {
      {"Min", IntegerProperty(&TUpDown::SetMin)},
      {"Max", IntegerProperty(&TUpDown::SetMax)},
      {"Position", IntegerProperty(&TUpDown::SetPosition)},
      {"Increment", IntegerProperty(&TUpDown::SetIncrement)},
      {"Wrap", BooleanProperty(&TUpDown::SetWrap)},
      {"Thousands", BooleanProperty(&TUpDown::SetThousands)},
      {"Associate", ReferenceProperty(&TUpDown::SetAssociate, "a windowed control")},
      {"OnChanging", EventProperty(&TUpDown::OnChanging)},
      {"OnClick", EventProperty(&TUpDown::OnClick)},
  });
  return Table;
}
