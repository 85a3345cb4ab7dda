// The report setup window: the whole run of a report happens while it is shown modally.
#pragma once

class TfmVlxMain;
class TvlxVellumix;

// The one setup window of the running report, or nullptr.
extern TfmVlxMain* fmVlxMain;

// Creates the setup window for the component's report, shows it modally and frees it; returns
// the result of the last print made from it.
int RunSetupWindow(TvlxVellumix* Component);
