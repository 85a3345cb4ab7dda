// The report windows' side of a run: the progress window, the questions and notices as the
// report windows ask and tell them, and the pages-across label.
#pragma once

// Registers the report windows as the user interface of every report run (RunUI). Called
// once at program start.
void RegisterReportWindows();
