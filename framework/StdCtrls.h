// Standard controls: labels, push buttons and list boxes.
#pragma once
#include <string>
#include <vector>

#include "framework/Controls.h"
#include "framework/Forms.h"
#include "framework/rtl/StringList.h"

enum class TAlignment { taLeftJustify, taRightJustify, taCenter };

// An alignment named in a window layout (taCenter).
TAlignment AlignmentValue(const TLayoutValue& Value);

class TLabel : public TGraphicControl {
public:
  explicit TLabel(TComponent* AOwner);

  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value);
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool Value) { FAutoSize = Value; }
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);

  const TPropertyTable& PropertyTable() const override;

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

  const TPropertyTable& PropertyTable() const override;

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

  const TPropertyTable& PropertyTable() const override;

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

  const TPropertyTable& PropertyTable() const override;

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

  const TPropertyTable& PropertyTable() const override;

private:
  bool FChecked = false;
};

class TCustomListBox;

// The lines of a list box, each with its object and its selection state.
class TListBoxStrings : public TStrings {
public:
  explicit TListBoxStrings(TCustomListBox& Owner) : FOwner(Owner) {}

  int Count() const override { return static_cast<int>(FItems.size()); }
  std::string Strings(int Index) const override;
  void SetStrings(int Index, const std::string& S) override;
  TObject* Objects(int Index) const override;
  void SetObjects(int Index, TObject* Obj) override;
  void Insert(int Index, const std::string& S) override;
  void Delete(int Index) override;
  void Clear() override;

private:
  friend class TCustomListBox;
  struct TItem {
    std::string S;
    TObject* Obj = nullptr;
    bool Selected = false;
  };
  TCustomListBox& FOwner;
  std::vector<TItem> FItems;
};

// A list of lines, with one current line or, with MultiSelect, any number of selected lines.
// Selection changes made by the user fire OnClick; those made from code fire nothing.
class TCustomListBox : public TWinControl {
  friend class TListBoxStrings;

public:
  explicit TCustomListBox(TComponent* AOwner);

  TStrings& Items() { return FItems; }
  const TStrings& Items() const { return FItems; }
  int ItemCount() const { return FItems.Count(); }
  void AddItem(const std::string& S, TObject* Obj = nullptr) { FItems.AddObject(S, Obj); }
  void Clear() { FItems.Clear(); }
  // The current line (with MultiSelect, the one with the focus frame); -1 for none. Setting
  // it from code fires no event.
  int ItemIndex() const { return FItemIndex; }
  void SetItemIndex(int Value);
  bool MultiSelect() const { return FMultiSelect; }
  void SetMultiSelect(bool Value);
  // With MultiSelect: Shift and Ctrl extend the selection (true), or every click toggles a line.
  bool ExtendedSelect() const { return FExtendedSelect; }
  void SetExtendedSelect(bool Value);
  // EListError "List index out of bounds (n)" outside the lines.
  bool Selected(int Index) const;
  void SetSelected(int Index, bool Value);
  // Selected lines; -1 without MultiSelect, as the system's list box answers.
  int SelCount() const { return FMultiSelect ? FSelCount : -1; }
  void ClearSelection();
  // The first line shown.
  int TopIndex() const { return FTopIndex; }
  void SetTopIndex(int Value);
  int ItemHeight() const { return FItemHeight; }
  void SetItemHeight(int Value);

  // Input reported by the peer: the user changed the selection (the state of every line and
  // the current line), or scrolled.
  void PeerSelectionChanged(const std::vector<bool>& States, int CaretIndex);
  void PeerTopIndexChanged(int Value) { FTopIndex = Value; }

  const TPropertyTable& PropertyTable() const override;

protected:
  std::unique_ptr<TControlPeer> CreatePeer() override;

private:
  TListBoxStrings FItems{*this};
  int FItemIndex = -1;
  int FSelCount = 0;
  int FTopIndex = 0;
  int FItemHeight = 13;
  bool FMultiSelect = false;
  bool FExtendedSelect = true;

  void CheckIndex(int Index) const;
  void SetState(int Index, bool Value);
  void RecreateWindow();
};

class TListBox : public TCustomListBox {
public:
  using TCustomListBox::TCustomListBox;
};
