#include "framework/RegisterClasses.h"

#include "framework/Buttons.h"
#include "framework/CheckLst.h"
#include "framework/ComCtrls.h"
#include "framework/DBGrids.h"
#include "framework/DBTables.h"
#include "framework/DecisionGrid.h"
#include "framework/Dialogs.h"
#include "framework/ExtCtrls.h"
#include "framework/Grids.h"
#include "framework/Layout.h"
#include "framework/Menus.h"
#include "framework/Mask.h"
#include "framework/StdCtrls.h"

void RegisterFrameworkClasses() {
  RegisterComponentClass<TLabel>("TLabel");
  RegisterComponentClass<TButton>("TButton");
  RegisterComponentClass<TEdit>("TEdit");
  RegisterComponentClass<TCheckBox>("TCheckBox");
  RegisterComponentClass<TRadioButton>("TRadioButton");
  RegisterComponentClass<TBitBtn>("TBitBtn");
  RegisterComponentClass<TListBox>("TListBox");
  RegisterComponentClass<TPanel>("TPanel");
  RegisterComponentClass<TTimer>("TTimer");
  RegisterComponentClass<TDrawGrid>("TDrawGrid");
  RegisterComponentClass<TStringGrid>("TStringGrid");
  RegisterComponentClass<TDBGrid>("TDBGrid");
  RegisterComponentClass<TDecisionGrid>("TDecisionGrid");
  RegisterComponentClass<TListView>("TListView");
  RegisterComponentClass<TTable>("TTable");
  RegisterComponentClass<TQuery>("TQuery");
  RegisterComponentClass<TDataSource>("TDataSource");
  RegisterComponentClass<TDecisionSource>("TDecisionSource");
  RegisterComponentClass<TSpeedButton>("TSpeedButton");
  RegisterComponentClass<TMainMenu>("TMainMenu");
  RegisterComponentClass<TPopupMenu>("TPopupMenu");
  RegisterComponentClass<TMenuItem>("TMenuItem");
  RegisterComponentClass<TFontDialog>("TFontDialog");
  RegisterComponentClass<TSaveDialog>("TSaveDialog");
  RegisterComponentClass<TPrinterSetupDialog>("TPrinterSetupDialog");
  RegisterComponentClass<TMemo>("TMemo");
  RegisterComponentClass<TMaskEdit>("TMaskEdit");
  RegisterComponentClass<TComboBox>("TComboBox");
  RegisterComponentClass<TCheckListBox>("TCheckListBox");
  RegisterComponentClass<TGroupBox>("TGroupBox");
  RegisterComponentClass<TBevel>("TBevel");
  RegisterComponentClass<TImage>("TImage");
  RegisterComponentClass<TPageControl>("TPageControl");
  RegisterComponentClass<TTabSheet>("TTabSheet");
  RegisterComponentClass<TUpDown>("TUpDown");
}
