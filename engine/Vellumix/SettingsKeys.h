// The settings keys of a report: every stored option of TvlxReportSettings as a key, a default
// text and a value form, with the codecs that turn stored texts into field values and back.
//
// The settings-file manager builds one TvlxSettingsKeys for each load or save, so that the
// computed defaults follow the object being printed at that moment:
//
//   load:  TvlxSettingsKeys Keys(RptSettings);
//          Keys.ApplyDefaults();
//          for each "Key=Value" line:
//            if (const TrsfEntry* E = Keys.Find(Key)) Keys.ApplySetting(*E, Value);
//   save:  Keys.SettingsToKeyList();
//          for (const TrsfEntry& E : Keys.List()) if (E.Changed()) write E.Key + "=" + E.Data.Value;
//
// Keys compare without regard to letter case. Memo texts are not keys: they travel in memo
// blocks, which the manager reads and writes itself.
#pragma once
#include <climits>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "engine/Vellumix/ReportSettings.h"

// How a key's value text is written.
enum TrsfForm : uint8_t {
  rfInteger = 0,
  rfBoolean = 1,  // "0" or "1"
  rfString = 3,
  rfDateTime = 4,  // "yyyymmdd.hhnnss"
  rfRect = 5,      // "Left,Top,Right,Bottom"
  rfPair = 6,      // "X,Y"
};

struct TrsfData {
  TrsfForm Form = rfString;
  uint8_t PropertyNumber = 0;  // the field the value goes to
  std::string Default;
  std::string Value;  // the field's text, after SettingsToKeyList; the default until then
};

struct TrsfEntry {
  std::string Key;
  TrsfData Data;
  // The value differs from the default, so it must be written.
  bool Changed() const { return Data.Value != Data.Default; }
};

// The keys in their order, found by key without regard to letter case.
class TrsfList {
public:
  // Appends; a key already present keeps its first entry for lookups.
  void Add(const std::string& Key, const TrsfData& Data);
  const TrsfEntry* Find(const std::string& Key) const;
  TrsfEntry* Find(const std::string& Key);
  int Count() const { return static_cast<int>(FEntries.size()); }
  bool Empty() const { return FEntries.empty(); }
  const TrsfEntry& operator[](int Index) const { return FEntries[Index]; }
  std::vector<TrsfEntry>::const_iterator begin() const { return FEntries.begin(); }
  std::vector<TrsfEntry>::const_iterator end() const { return FEntries.end(); }

private:
  std::vector<TrsfEntry> FEntries;
  std::unordered_map<std::string, int> FIndex;  // upper-case key -> entry
};

class TvlxSettingsKeys {
public:
  // Builds the key list, its computed defaults taken from the object adapter (ObjInfo) as it is
  // now. Settings may be null: the list is then complete but nothing is applied or rendered.
  explicit TvlxSettingsKeys(TvlxReportSettings* Settings);
  TvlxSettingsKeys(const TvlxSettingsKeys&) = delete;
  TvlxSettingsKeys& operator=(const TvlxSettingsKeys&) = delete;

  TvlxReportSettings* Settings() const { return FSettings; }
  const TrsfList& List() const { return FList; }
  bool Contains(const std::string& Key) const { return FList.Find(Key) != nullptr; }
  const TrsfEntry* Find(const std::string& Key) const { return FList.Find(Key); }

  // Fills the list with every key when it is empty.
  void BuildSettingsKeyList();
  void AddSetting(const std::string& Key, TrsfForm Form, uint8_t PropertyNumber,
                  const std::string& Default);

  // Stores Value, converted by the field's codec and falling back to Default, in the field that
  // PropertyNumber selects. Key picks the memo of a memo key and is otherwise only read for
  // the rules of particular keys.
  void ApplySetting(uint8_t PropertyNumber, const std::string& Key, const std::string& Default,
                    const std::string& Value);
  void ApplySetting(const TrsfEntry& Entry, const std::string& Value) {
    ApplySetting(Entry.Data.PropertyNumber, Entry.Key, Entry.Data.Default, Value);
  }
  // Clears the style options, applies every default in list order and gives every memo its
  // default text.
  void ApplyDefaults();
  // Renders every field as its value text into its entry.
  void SettingsToKeyList();
  // eVlxSUError naming the key when the key is not in the list.
  void SetKeyValueText(const std::string& Key, const std::string& Text);

private:
  TvlxReportSettings* FSettings;
  TrsfList FList;
};

// ---- Ranges ----------------------------------------------------------------------------------
// The numbers a setting may hold, one table for the setup window and the load alike: the
// window refuses any other with the row's message, and a load keeps a stored number outside
// its range out of the settings (pages, columns, fonts and buffers are sized from these
// numbers) and lists it in TvlxReportSettings::Refused, for the start of a run to report, as
// it lists every stored text that its key's form cannot read.

struct TSettingRange {
  const char* Key;  // a plain key, or the field part of a memo key ("MemoXPosPer")
  TSettingSide Side;
  int Min, Max;
  const char* Name;  // the field as the window's message names it
  const char* Units;
  bool Contains(int N) const { return N >= Min && N <= Max; }
  // "Name must be between Min and Max Units", Max lowered to Limit where that is smaller.
  std::string Message(int Limit = INT_MAX) const;
};

// The range of a key (a memo key by its field part) and side; nullptr for an unbounded one.
const TSettingRange* FindSettingRange(const std::string& Key, TSettingSide Side = sWhole);

// A coded setting stored as one byte: the codes 0 to Count - 1 are its choices. The setup
// window offers no other, and a load refuses any other as it refuses a number out of range.
struct TSettingCode {
  const char* Key;  // a plain key, or the field part of a memo key ("MemoAlignment")
  int Count;
  const char* Name;  // the setting as the window names it
  bool Contains(int N) const { return N >= 0 && N < Count; }
};
const TSettingCode* FindSettingCode(const std::string& Key);

// What the setup window tells of a refused stored value: the range's message of a number, or
// the setting's name with the value as stored ("Output Quality \"44\" is invalid. Please choose
// a different one."), a code named as the window names it, any other setting by its key.
std::string RefusedMessage(const TRefusedSetting& Refused);
// The message of the first refused value not yet told, with that entry in Refused; empty when
// every one has been told (or none was refused).
std::string CheckRefusedSettings(const TvlxReportSettings& Settings, const TRefusedSetting** Refused = nullptr);

// ---- Value codecs ----------------------------------------------------------------------------
// A stored text that does not convert falls back to the key's default.

// The numbers a stored value may hold. Sizes are taken from these values, so a value outside
// its range reads as the default, as one that does not convert does.
struct TValueRange {
  int Min = INT_MIN, Max = INT_MAX;
  bool Contains(int N) const { return N >= Min && N <= Max; }
};

// Value's integer when it lies in Range, else Default's, else 0.
int TextToInt(const std::string& Value, const std::string& Default, TValueRange Range = {});
// Value when it is 0 or 1, else Default's integer (nonzero is true).
bool TextToBool(const std::string& Value, const std::string& Default);
// Whether Form's codec reads Value itself rather than falling back to the default: a number
// that converts, a Boolean of 0 or 1, a rect or pair with every part a number (a pair is a page
// position, so neither part may be negative). Strings and date-times always read.
bool ReadsAsStored(TrsfForm Form, const std::string& Value);
// Value, or Default when Value is empty.
std::string PickValue(const std::string& Value, const std::string& Default);
// The first four (two) comma-separated integers of Value; when any of them is missing or does
// not convert, all of them come from Default, a missing field of Default counting as 0.
TRect TextToRect(const std::string& Value, const std::string& Default);
TPoint TextToPoint(const std::string& Value, const std::string& Default);
// "yyyymmdd.hhnnss"; an empty Value reads Default. Empty, a date with "/", or a text that is no
// valid date reads as now, or as Default in the locale's date format when that is readable.
TDateTime TextToDateTime(const std::string& Value, const std::string& Default);

std::string RectToText(const TRect& R);  // "1,2,3,4"
std::string PointToText(TPoint P);       // "1,2"
std::string DateTimeToText(TDateTime Value);  // "20261205.143005"
