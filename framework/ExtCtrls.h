// Panels, bevels and timers.
#pragma once
#include <memory>
#include <string>

#include "framework/Controls.h"
#include "framework/StdCtrls.h"

enum class TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };

// A raised or lowered area that shows a one-line caption and holds other controls. Status
// lines are panels whose caption, colour and font change while the window is in use.
class TCustomPanel : public TCustomControl {
public:
  explicit TCustomPanel(TComponent* AOwner);

  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  TBevelCut BevelInner() const { return FBevelInner; }
  void SetBevelInner(TBevelCut Value);
  TBevelCut BevelOuter() const { return FBevelOuter; }
  void SetBevelOuter(TBevelCut Value);
  int BevelWidth() const { return FBevelWidth; }
  void SetBevelWidth(int Value);

  // Paints the panel now rather than when the message loop next runs: for a message the user
  // must see while the program goes on working.
  void Repaint() { PeerNotify(TPeerChange::Invalidate); }

  const TPropertyTable& PropertyTable() const override;

protected:
  std::unique_ptr<TControlPeer> CreatePeer() override;
  // Aligned children keep inside the bevels.
  TRect AlignRect() const override;

private:
  TAlignment FAlignment = TAlignment::taCenter;
  TBevelCut FBevelInner = TBevelCut::bvNone;
  TBevelCut FBevelOuter = TBevelCut::bvRaised;
  int FBevelWidth = 1;
};

class TPanel : public TCustomPanel {
public:
  using TCustomPanel::TCustomPanel;
};

enum class TBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };
enum class TBevelStyle { bsLowered, bsRaised };

// An etched line or frame that separates controls; it takes no input.
class TBevel : public TGraphicControl {
public:
  explicit TBevel(TComponent* AOwner);

  TBevelShape Shape() const { return FShape; }
  void SetShape(TBevelShape Value);
  TBevelStyle Style() const { return FStyle; }
  void SetStyle(TBevelStyle Value);

  const TPropertyTable& PropertyTable() const override;

protected:
  std::unique_ptr<TControlPeer> CreatePeer() override;

private:
  TBevelShape FShape = TBevelShape::bsBox;
  TBevelStyle FStyle = TBevelStyle::bsLowered;
};

// One of the system's stock icons, as a message box shows it.
enum class TSystemIcon { siNone, siQuestion, siWarning, siError, siInformation };

// A picture that takes no input. It shows a system icon, drawn at the icon's own size from the
// top left corner.
class TImage : public TGraphicControl {
public:
  explicit TImage(TComponent* AOwner);

  TSystemIcon Icon() const { return FIcon; }
  void SetIcon(TSystemIcon Value);

  const TPropertyTable& PropertyTable() const override;

protected:
  std::unique_ptr<TControlPeer> CreatePeer() override;

private:
  TSystemIcon FIcon = TSystemIcon::siNone;
};

// Fires OnTimer every Interval milliseconds while Enabled and Interval > 0. Changing either
// restarts the count. Under Win32 a system timer; headless the virtual clock drives it, the
// message loops firing each timer whose interval has passed (Headless::RunTimers).
class TTimer : public TComponent {
public:
  explicit TTimer(TComponent* AOwner);
  ~TTimer() override;

  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  unsigned Interval() const { return FInterval; }
  void SetInterval(unsigned Value);

  TNotifyEvent OnTimer;

  // The interval has passed (reported by the backend).
  void PeerTimer() { DispatchInput(this, [&] { Timer(); }); }

  const TPropertyTable& PropertyTable() const override;

protected:
  virtual void Timer() { if (OnTimer) OnTimer(this); }

private:
  bool FEnabled = true;
  unsigned FInterval = 1000;
  void UpdateTimer();
};

// The system timers behind TTimer, supplied by the backend.
namespace Backend {
// Starts the timer's count from now, replacing a running one.
void StartTimer(TTimer& Timer);
void StopTimer(TTimer& Timer);
}  // namespace Backend
