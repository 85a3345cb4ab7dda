// The program: the book-table window and its message loop.
#include "app/VersoraMain.h"

int main() {
  Application->Initialize();
  Application->CreateForm(frmVersora);
  Application->Run();
  return 0;
}
