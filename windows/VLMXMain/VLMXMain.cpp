#include "windows/VLMXMain/VLMXMain.h"

#include "engine/VLMXGbl0.h"

TfmVlxMain* fmVlxMain = nullptr;

int RunSetupWindow(TvlxVellumix*) {
  throw eVlxIntError("[TvlxVellumix.Print] **\rThe report setup window is not built yet");
}
