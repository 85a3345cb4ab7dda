// TStrings' shared behaviour (text forms, name=value lines, files) and TStringList's storage.
#include "framework/rtl/StringList.h"

#include <algorithm>
#include <cstdio>
#include <memory>

#include "framework/rtl/FileUtils.h"
#include "framework/rtl/SysUtils.h"

void TStrings::CheckIndex(int Index) const {
  if (Index < 0 || Index >= Count())
    throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
}

int TStrings::CompareStrings(const std::string& S1, const std::string& S2) const {
  return AnsiCompareText(S1, S2);
}

void TStrings::SetStrings(int Index, const std::string& S) {
  TObject* Obj = Objects(Index);
  Delete(Index);
  InsertObject(Index, S, Obj);
}

TObject* TStrings::Objects(int Index) const {
  CheckIndex(Index);
  return nullptr;
}

void TStrings::SetObjects(int Index, TObject*) { CheckIndex(Index); }

int TStrings::Add(const std::string& S) {
  const int Index = Count();
  Insert(Index, S);
  return Index;
}

int TStrings::AddObject(const std::string& S, TObject* Obj) {
  const int Index = Add(S);
  SetObjects(Index, Obj);
  return Index;
}

void TStrings::InsertObject(int Index, const std::string& S, TObject* Obj) {
  Insert(Index, S);
  SetObjects(Index, Obj);
}

void TStrings::Exchange(int Index1, int Index2) {
  const std::string S1 = Strings(Index1);
  TObject* O1 = Objects(Index1);
  SetStrings(Index1, Strings(Index2));
  SetObjects(Index1, Objects(Index2));
  SetStrings(Index2, S1);
  SetObjects(Index2, O1);
}

void TStrings::AddStrings(const TStrings& Strings) {
  for (int I = 0; I < Strings.Count(); ++I) AddObject(Strings.Strings(I), Strings.Objects(I));
}

void TStrings::Assign(const TStrings& Source) {
  if (&Source == this) return;
  Clear();
  AddStrings(Source);
}

int TStrings::IndexOf(const std::string& S) const {
  for (int I = 0; I < Count(); ++I)
    if (CompareStrings(Strings(I), S) == 0) return I;
  return -1;
}

int TStrings::IndexOfName(const std::string& Name) const {
  for (int I = 0; I < Count(); ++I) {
    const std::string S = Strings(I);
    const size_t Eq = S.find('=');
    if (Eq != std::string::npos && CompareStrings(S.substr(0, Eq), Name) == 0) return I;
  }
  return -1;
}

int TStrings::IndexOfObject(const TObject* Obj) const {
  for (int I = 0; I < Count(); ++I)
    if (Objects(I) == Obj) return I;
  return -1;
}

std::string TStrings::Text() const {
  std::string R;
  for (int I = 0; I < Count(); ++I) R += Strings(I) + "\r\n";
  return R;
}

void TStrings::SetText(const std::string& Value) {
  Clear();
  size_t P = 0;
  while (P < Value.size()) {
    const size_t End = Value.find_first_of("\r\n", P);
    if (End == std::string::npos) {
      Add(Value.substr(P));
      break;
    }
    Add(Value.substr(P, End - P));
    P = End;
    if (Value[P] == '\r') ++P;
    if (P < Value.size() && Value[P] == '\n') ++P;
  }
}

std::string TStrings::CommaText() const {
  if (Count() == 1 && Strings(0).empty()) return "\"\"";
  std::string R;
  for (int I = 0; I < Count(); ++I) {
    const std::string S = Strings(I);
    const bool Quote = std::any_of(S.begin(), S.end(), [](char C) {
      return static_cast<unsigned char>(C) <= ' ' || C == '"' || C == ',';
    });
    if (I > 0) R += ',';
    if (!Quote) {
      R += S;
      continue;
    }
    R += '"';
    for (char C : S) {
      R += C;
      if (C == '"') R += C;
    }
    R += '"';
  }
  return R;
}

void TStrings::SetCommaText(const std::string& Value) {
  Clear();
  // The classic parser reads a C string: a NUL ends the text.
  const size_t N = std::min(Value.size(), Value.find('\0'));
  auto IsBlank = [&](size_t P) {
    return P < N && static_cast<unsigned char>(Value[P]) <= ' ';
  };
  size_t P = 0;
  while (IsBlank(P)) ++P;
  while (P < N) {
    std::string S;
    if (Value[P] == '"') {
      // A quoted item: doubled quotes stand for one, the closing quote ends it.
      for (++P; P < N; ++P) {
        if (Value[P] == '"') {
          if (P + 1 < N && Value[P + 1] == '"') {
            ++P;
          } else {
            ++P;
            break;
          }
        }
        S += Value[P];
      }
    } else {
      const size_t Start = P;
      while (P < N && static_cast<unsigned char>(Value[P]) > ' ' && Value[P] != ',') ++P;
      S = Value.substr(Start, P - Start);
    }
    Add(S);
    while (IsBlank(P)) ++P;
    if (P < N && Value[P] == ',') {
      if (P + 1 == N) Add("");
      do ++P;
      while (IsBlank(P));
    }
  }
}

std::string TStrings::Names(int Index) const {
  const std::string S = Strings(Index);
  const size_t Eq = S.find('=');
  return Eq == std::string::npos ? "" : S.substr(0, Eq);
}

std::string TStrings::Values(const std::string& Name) const {
  const int I = IndexOfName(Name);
  if (I < 0) return "";
  const std::string S = Strings(I);
  return S.substr(S.find('=') + 1);
}

void TStrings::SetValues(const std::string& Name, const std::string& Value) {
  const int I = IndexOfName(Name);
  if (Value.empty()) {
    if (I >= 0) Delete(I);
  } else if (I < 0) {
    Add(Name + "=" + Value);
  } else {
    SetStrings(I, Name + "=" + Value);
  }
}

namespace {
struct TFileCloser {
  void operator()(FILE* F) const { std::fclose(F); }
};
using TFilePtr = std::unique_ptr<FILE, TFileCloser>;
}  // namespace

void TStrings::LoadFromFile(const std::string& FileName) {
  TFilePtr F(std::fopen(HostFileName(FileName).c_str(), "rb"));
  if (!F) throw EFOpenError("Cannot open file " + FileName);
  std::string Content;
  char Buf[65536];
  size_t N;
  while ((N = std::fread(Buf, 1, sizeof Buf, F.get())) > 0) Content.append(Buf, N);
  if (std::ferror(F.get())) throw EFOpenError("Cannot open file " + FileName);
  SetText(Content);
}

void TStrings::SaveToFile(const std::string& FileName) const {
  TFilePtr F(std::fopen(HostFileName(FileName).c_str(), "wb"));
  if (!F) throw EFCreateError("Cannot create file " + FileName);
  const std::string Content = Text();
  if (std::fwrite(Content.data(), 1, Content.size(), F.get()) != Content.size() ||
      std::fclose(F.release()) != 0)
    throw EFCreateError("Cannot create file " + FileName);
}

// ---- TStringList -----------------------------------------------------------------------------

std::string TStringList::Strings(int Index) const {
  CheckIndex(Index);
  return FItems[Index].S;
}

void TStringList::SetStrings(int Index, const std::string& S) {
  CheckEditable(Index);
  FItems[Index].S = S;
}

void TStringList::CheckEditable(int Index) const {
  if (FSorted) throw EListError("Operation not allowed on sorted string list");
  CheckIndex(Index);
}

TObject* TStringList::Objects(int Index) const {
  CheckIndex(Index);
  return FItems[Index].Obj;
}

void TStringList::SetObjects(int Index, TObject* Obj) {
  CheckIndex(Index);
  FItems[Index].Obj = Obj;
}

int TStringList::Add(const std::string& S) {
  if (!FSorted) {
    FItems.push_back({S, nullptr});
    return Count() - 1;
  }
  int Index;
  if (Find(S, Index)) {
    if (FDuplicates == dupIgnore) return Index;
    if (FDuplicates == dupError) throw EListError("String list does not allow duplicates");
  }
  FItems.insert(FItems.begin() + Index, TItem{S, nullptr});
  return Index;
}

void TStringList::Insert(int Index, const std::string& S) {
  if (FSorted) throw EListError("Operation not allowed on sorted string list");
  if (Index < 0 || Index > Count())
    throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
  FItems.insert(FItems.begin() + Index, TItem{S, nullptr});
}

void TStringList::Delete(int Index) {
  CheckIndex(Index);
  FItems.erase(FItems.begin() + Index);
}

void TStringList::Exchange(int Index1, int Index2) {
  CheckIndex(Index1);
  CheckIndex(Index2);
  std::swap(FItems[Index1], FItems[Index2]);
}

int TStringList::IndexOf(const std::string& S) const {
  if (!FSorted) return TStrings::IndexOf(S);
  int Index;
  return Find(S, Index) ? Index : -1;
}

void TStringList::SetSorted(bool Value) {
  if (Value && !FSorted) Sort();
  FSorted = Value;
}

void TStringList::Sort() {
  std::stable_sort(FItems.begin(), FItems.end(), [this](const TItem& A, const TItem& B) {
    return CompareStrings(A.S, B.S) < 0;
  });
}

bool TStringList::Find(const std::string& S, int& Index) const {
  // The first of equal lines, so that duplicates are found from their start.
  int Low = 0, High = Count() - 1;
  bool Found = false;
  while (Low <= High) {
    const int Mid = (Low + High) / 2;
    const int C = CompareStrings(FItems[Mid].S, S);
    if (C < 0) {
      Low = Mid + 1;
    } else {
      High = Mid - 1;
      if (C == 0) Found = true;
    }
  }
  Index = Low;
  return Found;
}
