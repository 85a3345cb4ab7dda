#include "windows/VLMXMain/VLMXMain.h"

#include "framework/Buttons.h"
#include "framework/CheckLst.h"
#include "framework/ComCtrls.h"
#include "framework/DBGrids.h"
#include "framework/Dialogs.h"
#include "framework/ExtCtrls.h"
#include "framework/Grids.h"
#include "framework/Menus.h"
#include "framework/StdCtrls.h"

TfmVlxMain::TfmVlxMain(TComponent* AOwner) : TForm(AOwner) {
#define VLX_MAIN_BIND(Class, Name) Published(Name, #Name);
  VLX_MAIN_CONTROLS(VLX_MAIN_BIND)
#undef VLX_MAIN_BIND
  BindValidationHandlers();
  BindOutputHandlers();
  BindColumnsHandlers();
  BindPasswordHandlers();
  BindStyleTitlesHandlers();
  BindCommandHandlers();
  CreateFromLayout("TfmVlxMain");
}
