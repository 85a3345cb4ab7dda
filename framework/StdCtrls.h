// Standard controls: labels, push buttons, edits and memos, check boxes, list and combo boxes,
// group boxes.
#pragma once
#include <algorithm>
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
  // Breaks the caption into lines at word ends to fit the width; an auto-sized label then keeps
  // its width and takes the height of its lines.
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);
  // Whether "&" in the caption marks an accelerator (underlined) or shows as itself: a message
  // holds user text, where "&" is a plain character.
  bool ShowAccelChar() const { return FShowAccelChar; }
  void SetShowAccelChar(bool Value);
  // The control that the caption's accelerator focuses.
  TWinControl* FocusControl() const { return FFocusControl; }
  void SetFocusControl(TWinControl* Value);
  // Where Alt with the caption's underlined letter puts the focus: FocusControl, else the first
  // control after the label (in its parent's order, inside containers too) that takes the focus,
  // as the system's dialogs treat a static text; nullptr when none can take it now.
  TWinControl* AcceleratorTarget() const;

  const TPropertyTable& PropertyTable() const override;

protected:
  std::unique_ptr<TControlPeer> CreatePeer() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  TWinControl* FFocusControl = nullptr;
  bool FTransparent = false;
  bool FAutoSize = true;
  TAlignment FAlignment = TAlignment::taLeftJustify;
  bool FWordWrap = false;
  bool FShowAccelChar = true;
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
  // The character shown in place of each typed one (0: the text itself); Text stays as typed.
  char PasswordChar() const { return FPasswordChar; }
  void SetPasswordChar(char Value) { FPasswordChar = Value; PeerNotify(TPeerChange::Style); }

  // The selection, as character offsets into Text; an empty selection is the caret.
  int SelStart() const { return FSelStart; }
  void SetSelStart(int Value);
  int SelLength() const { return FSelLength; }
  void SetSelLength(int Value);
  std::string SelText() const { return Text().substr(FSelStart, FSelLength); }
  void SelectAll();
  // Puts the selected text on the clipboard.
  void CopyToClipboard() const;

  TNotifyEvent OnChange;

  // The user changed the text, or moved the caret or the selection.
  void PeerTextEdited(const std::string& Value);
  void PeerSelectionChanged(int Start, int Length);

  const TPropertyTable& PropertyTable() const override;

protected:
  virtual void Change() { if (OnChange) OnChange(this); }
  // Keeps the selection inside the text and tells the peer.
  void ClampSelection();
  std::unique_ptr<TControlPeer> CreatePeer() override;

private:
  bool FModified = false;
  int FMaxLength = 0;
  bool FReadOnly = false;
  char FPasswordChar = 0;
  int FSelStart = 0;
  int FSelLength = 0;
};

class TEdit : public TCustomEdit {
public:
  using TCustomEdit::TCustomEdit;
};

class TCustomMemo;

// The lines of a memo: a view of its text, which holds them separated by CR LF. A line added
// at the end ends with a line break, as the system's multi-line edit stores it.
class TMemoStrings : public TStrings {
public:
  explicit TMemoStrings(TCustomMemo& Owner) : FOwner(Owner) {}

  int Count() const override;
  std::string Strings(int Index) const override;
  void SetStrings(int Index, const std::string& S) override;
  void Insert(int Index, const std::string& S) override;
  void Delete(int Index) override;
  void Clear() override;

private:
  TCustomMemo& FOwner;
};

// A multi-line text box. The text is the one truth; Lines reads and edits it line by line, and
// every change fires OnChange as the single-line edit does. The first line shown and the lines
// that fit are kept here too; the peer reports where the user scrolled.
class TCustomMemo : public TCustomEdit {
public:
  explicit TCustomMemo(TComponent* AOwner);

  TStrings& Lines() { return FLines; }
  const TStrings& Lines() const { return FLines; }
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);
  TScrollStyle ScrollBars() const { return FScrollBars; }
  void SetScrollBars(TScrollStyle Value);
  // How each line sits between the box's edges.
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);

  // Character offset where line Index starts (Index may be the line count: the end).
  int LineStart(int Index) const;
  // The caret as line (Y) and column (X), both from 0; setting it moves the caret there,
  // within the line's length.
  TPoint CaretPos() const;
  void SetCaretPos(TPoint Value);
  int FirstVisibleLine() const { return FTopLine; }
  // Lines that fit in the box: measured by the peer, estimated from the font without one.
  int VisibleLineCount() const;
  // Scrolls by Count lines (negative: up), no further than the last line.
  void ScrollLines(int Count);
  // Scrolls just far enough that the caret's line is in view.
  void ScrollCaret();

  void PeerScrolled(int TopLine, int VisibleLines);

  const TPropertyTable& PropertyTable() const override;

protected:
  std::unique_ptr<TControlPeer> CreatePeer() override;

private:
  friend class TMemoStrings;
  TMemoStrings FLines{*this};
  bool FWordWrap = true;
  TScrollStyle FScrollBars = TScrollStyle::ssNone;
  TAlignment FAlignment = TAlignment::taLeftJustify;
  int FTopLine = 0;
  int FVisibleLines = 0;

  void SetTopLine(int Value);
  // Replaces Count characters at Start, firing OnChange like any change of the text.
  void ReplaceText(int Start, int Count, const std::string& With);
};

class TMemo : public TCustomMemo {
public:
  using TCustomMemo::TCustomMemo;
};

enum class TComboBoxStyle { csDropDown, csDropDownList };

class TCustomComboBox;

// The items of a combo box; every change reaches the box's window.
class TComboBoxStrings : public TStringList {
public:
  explicit TComboBoxStrings(TCustomComboBox& Owner) : FOwner(Owner) {}

  void SetStrings(int Index, const std::string& S) override;
  int Add(const std::string& S) override;
  void Insert(int Index, const std::string& S) override;
  void Delete(int Index) override;
  void Clear() override;

private:
  TCustomComboBox& FOwner;
  void Changed();
};

// A drop-down list with, in csDropDown style, a text box to type any text. ItemIndex is the
// item equal to the text (without regard to case), or -1. Typing, choosing an item, and
// setting Text from code in the editable style fire OnChange; setting ItemIndex fires nothing.
// In csDropDownList the text is always an item's or empty.
class TCustomComboBox : public TWinControl {
public:
  explicit TCustomComboBox(TComponent* AOwner);

  TStrings& Items() { return FItems; }
  const TStrings& Items() const { return FItems; }
  int ItemIndex() const { return FItemIndex; }
  void SetItemIndex(int Value);
  void SetText(const std::string& Value) override;
  TComboBoxStyle Style() const { return FStyle; }
  void SetStyle(TComboBoxStyle Value);
  int DropDownCount() const { return FDropDownCount; }
  void SetDropDownCount(int Value);
  // How wide the dropped list opens: never narrower than the box (0: as the box).
  int DroppedWidth() const { return std::max(FDroppedWidth, Width()); }
  void SetDroppedWidth(int Value);
  // Whether the list is open; setting it opens or closes the list.
  bool DroppedDown() const { return FDroppedDown; }
  void SetDroppedDown(bool Value);

  TNotifyEvent OnChange;
  TNotifyEvent OnDropDown;

  // Input reported by the peer: the user typed into the text box, chose an item of the list,
  // opened or closed the list.
  void PeerTextEdited(const std::string& Value);
  void PeerItemChosen(int Index);
  void PeerDroppedDown(bool Value);

  const TPropertyTable& PropertyTable() const override;

protected:
  virtual void Change() { if (OnChange) OnChange(this); }
  std::unique_ptr<TControlPeer> CreatePeer() override;

private:
  friend class TComboBoxStrings;
  TComboBoxStrings FItems{*this};
  int FItemIndex = -1;
  TComboBoxStyle FStyle = TComboBoxStyle::csDropDown;
  int FDropDownCount = 8;
  int FDroppedWidth = 0;
  bool FDroppedDown = false;

  // The text taken without pushing it back to the window that shows it already.
  void TakeText(const std::string& Value);
  void ItemsChanged();
};

class TComboBox : public TCustomComboBox {
public:
  using TCustomComboBox::TCustomComboBox;
};

// A framed, captioned group of controls.
class TGroupBox : public TCustomControl {
public:
  explicit TGroupBox(TComponent* AOwner);

protected:
  std::unique_ptr<TControlPeer> CreatePeer() override;
};

// A check box. Setting Checked from code to a new value fires OnClick, as a click does.
class TCheckBox : public TWinControl {
public:
  explicit TCheckBox(TComponent* AOwner);

  bool Checked() const { return FChecked; }
  void SetChecked(bool Value);

  // The user clicked the box, pressed Space on it or its accelerator.
  void PeerToggled() { if (TakesInput()) DispatchInput(this, [&] { SetChecked(!FChecked); }); }

  const TPropertyTable& PropertyTable() const override;

protected:
  std::unique_ptr<TControlPeer> CreatePeer() override;

private:
  bool FChecked = false;
};

// A radio button: checking one unchecks the others of the same parent. Checking it from code
// fires OnClick; unchecking fires nothing. Only the checked button of a group is a tab stop:
// Tab enters the group there and the arrow keys move within it.
class TRadioButton : public TWinControl {
public:
  explicit TRadioButton(TComponent* AOwner);

  bool Checked() const { return FChecked; }
  void SetChecked(bool Value);

  // The user clicked the button, moved to it with an arrow key or pressed its accelerator.
  void PeerChecked() { if (TakesInput()) DispatchInput(this, [&] { SetChecked(true); }); }

  const TPropertyTable& PropertyTable() const override;

protected:
  std::unique_ptr<TControlPeer> CreatePeer() override;

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
  friend class TCheckListBox;
  struct TItem {
    std::string S;
    TObject* Obj = nullptr;
    bool Selected = false;
    bool Checked = false;
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
  TListBoxStrings FItems{*this};

private:
  int FItemIndex = -1;
  int FSelCount = 0;
  int FTopIndex = 0;
  int FItemHeight = 13;
  bool FMultiSelect = false;
  bool FExtendedSelect = true;

  void CheckIndex(int Index) const;
  void SetState(int Index, bool Value);
};

class TListBox : public TCustomListBox {
public:
  using TCustomListBox::TCustomListBox;
};

// The system clipboard, supplied by the backend.
namespace Backend {
void SetClipboardText(const std::string& Text);
}  // namespace Backend
