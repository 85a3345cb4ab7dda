// Standard controls: labels, push buttons and list boxes.
#pragma once
#include <string>
#include <vector>

#include "framework/Controls.h"
#include "framework/Forms.h"

enum class TAlignment { taLeftJustify, taRightJustify, taCenter };

class TLabel : public TGraphicControl {
public:
  explicit TLabel(TComponent* AOwner);

  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value);
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool Value) { FAutoSize = Value; }
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);

  TSetPropResult SetProperty(const std::string& PropName, const TLayoutValue& Value) override;

protected:
  std::unique_ptr<TControlPeer> CreatePeer() override;

private:
  bool FTransparent = false;
  bool FAutoSize = true;
  TAlignment FAlignment = TAlignment::taLeftJustify;
};

class TButton : public TWinControl {
public:
  explicit TButton(TComponent* AOwner);

  TModalResult ModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult Value) { FModalResult = Value; }
  bool Default() const { return FDefault; }
  void SetDefault(bool Value) { FDefault = Value; }
  bool Cancel() const { return FCancel; }
  void SetCancel(bool Value) { FCancel = Value; }

  TSetPropResult SetProperty(const std::string& PropName, const TLayoutValue& Value) override;

protected:
  // Fires OnClick, then hands the button's modal result to its form.
  void Click() override;
  std::unique_ptr<TControlPeer> CreatePeer() override;

private:
  TModalResult FModalResult = mrNone;
  bool FDefault = false;
  bool FCancel = false;
};

// A single-line text box. Setting Text from code fires OnChange exactly as typing does.
class TCustomEdit : public TWinControl {
public:
  explicit TCustomEdit(TComponent* AOwner);

  void SetText(const std::string& Value) override;
  bool Modified() const { return FModified; }
  void SetModified(bool Value) { FModified = Value; }
  int MaxLength() const { return FMaxLength; }
  void SetMaxLength(int Value) { FMaxLength = Value; PeerNotify(TPeerChange::Style); }
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value) { FReadOnly = Value; PeerNotify(TPeerChange::Style); }

  TNotifyEvent OnChange;

  // The user changed the text.
  void PeerTextEdited(const std::string& Value);

  TSetPropResult SetProperty(const std::string& PropName, const TLayoutValue& Value) override;

protected:
  virtual void Change() { if (OnChange) OnChange(this); }

private:
  bool FModified = false;
  int FMaxLength = 0;
  bool FReadOnly = false;
};

class TEdit : public TCustomEdit {
public:
  using TCustomEdit::TCustomEdit;
};

// A check box. Setting Checked from code to a new value fires OnClick, as a click does.
class TCheckBox : public TWinControl {
public:
  explicit TCheckBox(TComponent* AOwner);

  bool Checked() const { return FChecked; }
  void SetChecked(bool Value);

  // The user clicked the box.
  void PeerToggled() { DispatchInput(this, [&] { SetChecked(!FChecked); }); }

  TSetPropResult SetProperty(const std::string& PropName, const TLayoutValue& Value) override;

private:
  bool FChecked = false;
};

// A radio button: checking one unchecks the others of the same parent. Checking it from code
// fires OnClick; unchecking fires nothing.
class TRadioButton : public TWinControl {
public:
  explicit TRadioButton(TComponent* AOwner);

  bool Checked() const { return FChecked; }
  void SetChecked(bool Value);

  void PeerChecked() { DispatchInput(this, [&] { SetChecked(true); }); }

  TSetPropResult SetProperty(const std::string& PropName, const TLayoutValue& Value) override;

private:
  bool FChecked = false;
};

class TCustomListBox : public TWinControl {
public:
  explicit TCustomListBox(TComponent* AOwner);

  std::vector<std::string>& Items() { return FItems; }
  int ItemCount() const { return static_cast<int>(FItems.size()); }
  void AddItem(const std::string& S) { FItems.push_back(S); FSelected.push_back(false); PeerNotify(TPeerChange::Contents); }
  void ClearItems() { FItems.clear(); FSelected.clear(); FItemIndex = -1; PeerNotify(TPeerChange::Contents); }
  // Setting the index from code fires no event.
  int ItemIndex() const { return FItemIndex; }
  void SetItemIndex(int Value);
  bool MultiSelect() const { return FMultiSelect; }
  void SetMultiSelect(bool Value) { FMultiSelect = Value; }
  bool Selected(int Index) const;
  void SetSelected(int Index, bool Value);
  int SelCount() const;

  TSetPropResult SetProperty(const std::string& PropName, const TLayoutValue& Value) override;

private:
  std::vector<std::string> FItems;
  std::vector<bool> FSelected;
  int FItemIndex = -1;
  bool FMultiSelect = false;
};

class TListBox : public TCustomListBox {
public:
  using TCustomListBox::TCustomListBox;
};
