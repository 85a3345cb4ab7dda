// The program: the book-table window and its message loop.
#include "app/VersoraMain.h"
#include "windows/ReportWindows.h"

int main() {
  Application->Initialize();
  RegisterReportWindows();
  Application->CreateForm(frmVersora);
  Application->Run();
  return 0;
}
