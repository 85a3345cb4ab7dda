// TStrings, the list-of-lines interface shared by string lists and list-holding controls, and
// TStringList, the stand-alone list. Each line carries an object pointer that the list never
// owns. Names and texts compare without regard to case.
#pragma once
#include <string>
#include <vector>

#include "framework/rtl/Exceptions.h"

class TObject;

class TStrings {
public:
  virtual ~TStrings() = default;

  virtual int Count() const = 0;
  virtual std::string Strings(int Index) const = 0;
  virtual void SetStrings(int Index, const std::string& S);
  std::string operator[](int Index) const { return Strings(Index); }
  virtual TObject* Objects(int Index) const;
  virtual void SetObjects(int Index, TObject* Obj);

  virtual int Add(const std::string& S);
  int AddObject(const std::string& S, TObject* Obj);
  virtual void Insert(int Index, const std::string& S) = 0;
  void InsertObject(int Index, const std::string& S, TObject* Obj);
  virtual void Delete(int Index) = 0;
  virtual void Clear() = 0;
  virtual void Exchange(int Index1, int Index2);
  void AddStrings(const TStrings& Strings);
  // Copies the lines and their objects.
  void Assign(const TStrings& Source);

  virtual int IndexOf(const std::string& S) const;
  int IndexOfName(const std::string& Name) const;
  int IndexOfObject(const TObject* Obj) const;

  // Every line followed by CR LF. Setting splits at CR LF, LF or a lone CR.
  std::string Text() const;
  void SetText(const std::string& Value);
  // Lines separated by ",", each quoted with " when it holds a blank, a control character, a
  // quote or a comma. Setting splits at commas and at blanks outside quotes.
  std::string CommaText() const;
  void SetCommaText(const std::string& Value);

  // Lines of the form Name=Value.
  std::string Names(int Index) const;
  std::string Values(const std::string& Name) const;
  // An empty value removes the line.
  void SetValues(const std::string& Name, const std::string& Value);

  // EFOpenError / EFCreateError when the file cannot be opened.
  void LoadFromFile(const std::string& FileName);
  void SaveToFile(const std::string& FileName) const;

protected:
  TStrings() = default;
  TStrings(const TStrings&) = default;
  TStrings& operator=(const TStrings&) = default;
  // Raises EListError "List index out of bounds (n)" unless 0 <= Index < Count().
  void CheckIndex(int Index) const;
  virtual int CompareStrings(const std::string& S1, const std::string& S2) const;
};

enum TDuplicates { dupIgnore, dupAccept, dupError };

class TStringList : public TStrings {
public:
  TStringList() = default;
  TStringList(const TStringList&) = default;
  TStringList& operator=(const TStringList&) = default;

  int Count() const override { return static_cast<int>(FItems.size()); }
  std::string Strings(int Index) const override;
  void SetStrings(int Index, const std::string& S) override;
  // Line Index itself, for a caller that edits a long line a few characters at a time: no
  // copy out and back. Refused on a sorted list, whose order such an edit would break.
  std::string& EditStrings(int Index) {
    if (FSorted || Index < 0 || Index >= Count()) CheckEditable(Index);
    return FItems[Index].S;
  }
  // Line Index itself, read-only: no copy for a caller that only reads long lines.
  const std::string& StringRef(int Index) const {
    CheckIndex(Index);
    return FItems[Index].S;
  }
  TObject* Objects(int Index) const override;
  void SetObjects(int Index, TObject* Obj) override;

  // On a sorted list Add inserts in order and applies Duplicates; Insert is refused.
  int Add(const std::string& S) override;
  void Insert(int Index, const std::string& S) override;
  void Delete(int Index) override;
  void Clear() override { FItems.clear(); }
  void Exchange(int Index1, int Index2) override;
  int IndexOf(const std::string& S) const override;

  bool Sorted() const { return FSorted; }
  void SetSorted(bool Value);
  TDuplicates Duplicates() const { return FDuplicates; }
  void SetDuplicates(TDuplicates Value) { FDuplicates = Value; }
  void Sort();
  // On a sorted list: whether S is there, and its index or where it would go.
  bool Find(const std::string& S, int& Index) const;

private:
  // The checks of SetStrings, out of line: they raise EListError on a sorted list or an index
  // outside the list.
  void CheckEditable(int Index) const;

  struct TItem {
    std::string S;
    TObject* Obj = nullptr;
  };
  std::vector<TItem> FItems;
  bool FSorted = false;
  TDuplicates FDuplicates = dupIgnore;
};
