// Tables and queries: datasets named by a table or by SQL lines. Their records come from code,
// as every dataset's here; a table keeps them in the order of its index fields.
#pragma once
#include <string>

#include "framework/DB.h"
#include "framework/rtl/StringList.h"

class TDBDataSet : public TDataSet {
public:
  using TDataSet::TDataSet;

  const std::string& DatabaseName() const { return FDatabaseName; }
  void SetDatabaseName(const std::string& Value) { CheckInactive(); FDatabaseName = Value; }

  const TPropertyTable& PropertyTable() const override;

private:
  std::string FDatabaseName;
};

class TTable : public TDBDataSet {
public:
  using TDBDataSet::TDBDataSet;

  // Opening without a table name raises EDatabaseError "Missing TableName property".
  const std::string& TableName() const { return FTableName; }
  void SetTableName(const std::string& Value) { CheckInactive(); FTableName = Value; }
  // Field names separated by ";": the records are kept in that order. A name that is no field
  // raises EDatabaseError "Field 'X' not found" when the table is (or becomes) open.
  const std::string& IndexFieldNames() const { return FIndexFieldNames; }
  void SetIndexFieldNames(const std::string& Value);

  const TPropertyTable& PropertyTable() const override;

protected:
  void CheckCanOpen() override;
  void FieldsMade() override;

private:
  std::string FTableName;
  std::string FIndexFieldNames;

  void ApplyIndex();
};

class TQuery : public TDBDataSet {
public:
  using TDBDataSet::TDBDataSet;

  // Opening with no statement raises EDatabaseError "No SQL statement available".
  TStringList& SQL() { return FSQL; }
  const TStringList& SQL() const { return FSQL; }

  const TPropertyTable& PropertyTable() const override;

protected:
  void CheckCanOpen() override;

private:
  TStringList FSQL;
};
