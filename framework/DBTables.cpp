#include "framework/DBTables.h"

#include "framework/Layout.h"
#include "framework/rtl/SysUtils.h"

TSetPropResult TDBDataSet::SetProperty(const std::string& PropName, const TLayoutValue& Value) {
  if (PropName == "DatabaseName") SetDatabaseName(Value.AsString());
  else return TDataSet::SetProperty(PropName, Value);
  return TSetPropResult::Done;
}

void TTable::SetIndexFieldNames(const std::string& Value) {
  FIndexFieldNames = Value;
  if (Active()) ApplyIndex();
}

void TTable::ApplyIndex() {
  std::vector<int> order;
  std::string rest = FIndexFieldNames;
  while (!rest.empty()) {
    size_t semi = rest.find(';');
    std::string name = Trim(rest.substr(0, semi));
    rest = semi == std::string::npos ? "" : rest.substr(semi + 1);
    if (!name.empty()) order.push_back(FieldByName(name)->Index());
  }
  SetOrderFields(std::move(order));
}

void TTable::CheckCanOpen() {
  if (Trim(FTableName).empty()) DatabaseError("Missing TableName property");
}

void TTable::FieldsMade() { ApplyIndex(); }

TSetPropResult TTable::SetProperty(const std::string& PropName, const TLayoutValue& Value) {
  if (PropName == "TableName") SetTableName(Value.AsString());
  else if (PropName == "IndexFieldNames") SetIndexFieldNames(Value.AsString());
  else return TDBDataSet::SetProperty(PropName, Value);
  return TSetPropResult::Done;
}

void TQuery::CheckCanOpen() {
  if (Trim(FSQL.Text()).empty()) DatabaseError("No SQL statement available");
}

TSetPropResult TQuery::SetProperty(const std::string& PropName, const TLayoutValue& Value) {
  if (PropName != "SQL") return TDBDataSet::SetProperty(PropName, Value);
  if (Value.Kind != TLayoutValue::TKind::List) throw ELayoutError("a list is expected");
  FSQL.Clear();
  for (auto& line : Value.Items) FSQL.Add(line.AsString());
  return TSetPropResult::Done;
}
