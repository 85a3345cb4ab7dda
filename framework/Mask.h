// The masked edit: a single-line edit of its own class, which the windows tell apart from plain
// edits when they look for edits the user has changed.
#pragma once
#include "framework/StdCtrls.h"

class TCustomMaskEdit : public TCustomEdit {
public:
  using TCustomEdit::TCustomEdit;
};

class TMaskEdit : public TCustomMaskEdit {
public:
  using TCustomMaskEdit::TCustomMaskEdit;
};
