#include "framework/DBTables.h"

#include "framework/Layout.h"
#include "framework/PropertyTable.h"
#include "framework/rtl/SysUtils.h"

const TPropertyTable& TDBDataSet::PropertyTable() const {
  static const TPropertyTable Table(&TDataSet::PropertyTable(), {
      {"DatabaseName", StringProperty(&TDBDataSet::SetDatabaseName)},
  });
  return Table;
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

const TPropertyTable& TTable::PropertyTable() const {
  static const TPropertyTable Table(&TDBDataSet::PropertyTable(), {
      {"TableName", StringProperty(&TTable::SetTableName)},
      {"IndexFieldNames", StringProperty(&TTable::SetIndexFieldNames)},
  });
  return Table;
}

void TQuery::CheckCanOpen() {
  if (Trim(FSQL.Text()).empty()) DatabaseError("No SQL statement available");
}

const TPropertyTable& TQuery::PropertyTable() const {
  static const TPropertyTable Table(&TDBDataSet::PropertyTable(), {
      {"SQL", Setter<TQuery>([](TQuery& Q, const TLayoutValue& V) {
         std::vector<std::string> lines = StringListValue(V);
         Q.FSQL.Clear();
         for (auto& line : lines) Q.FSQL.Add(line);
       })},
  });
  return Table;
}
