#include <deque>

#include "framework/Forms.h"
#include "framework/headless/Clock.h"
#include "framework/headless/Headless.h"
#include "framework/headless/Printers.h"

namespace {

const char* const DefaultExeName = "C:\\Program Files\\Versora\\Versora.exe";

struct TState {
  std::deque<std::function<void()>> Queue;
  std::deque<int> Answers;
  std::vector<Headless::TMessageBoxRecord> Boxes;
  std::vector<TCursor> Cursors;
  std::vector<unsigned> Beeps;
  Headless::TModalHandler ModalHandler;
  int ScreenWidth = 1024, ScreenHeight = 768;
  TShiftState Keys = 0;
  std::string ExeName = DefaultExeName;
};

TState& State() {
  static TState state;
  return state;
}

int DefaultAnswer(unsigned Flags) {
  switch (Flags & 0xF) {
    case MsgBox::AbortRetryIgnore: return MsgBox::IdAbort;
    case MsgBox::YesNoCancel:
    case MsgBox::YesNo: return MsgBox::IdYes;
    case MsgBox::RetryCancel: return MsgBox::IdRetry;
    default: return MsgBox::IdOk;
  }
}

// Runs one waiting message, or else the timers that are due, as the system sends its timer
// messages only when nothing else waits; false when there was nothing to run.
bool RunOne() {
  auto& q = State().Queue;
  if (q.empty()) return Headless::RunTimers();
  auto task = std::move(q.front());
  q.pop_front();
  task();
  return true;
}

}  // namespace

// Puts the application back to its state before any test ran.
struct THeadlessAccess {
  static void ResetApplication() {
    Application->FTerminated = false;
    Application->FMainForm = nullptr;
  }
};

namespace Headless {
void QueueAnswer(int Answer) { State().Answers.push_back(Answer); }
const std::vector<TMessageBoxRecord>& MessageBoxes() { return State().Boxes; }
std::vector<std::string> ErrorBoxes() {
  std::vector<std::string> out;
  for (auto& b : State().Boxes)
    if ((b.Flags & 0xF0) == MsgBox::IconStop) out.push_back(b.Text);
  return out;
}
int BeepCount() { return static_cast<int>(State().Beeps.size()); }
const std::vector<unsigned>& BeepSounds() { return State().Beeps; }
const std::vector<TCursor>& CursorChanges() { return State().Cursors; }
void SetModalHandler(TModalHandler Handler) { State().ModalHandler = std::move(Handler); }
std::size_t PendingMessages() { return State().Queue.size(); }
void SetScreenSize(int Width, int Height) { State().ScreenWidth = Width; State().ScreenHeight = Height; }
void SetKeyboardShiftState(TShiftState Keys) { State().Keys = Keys; }
void SetExeName(const std::string& FileName) { State().ExeName = FileName; }
int TakeAnswer(int Default) {
  auto& answers = State().Answers;
  if (answers.empty()) return Default;
  int answer = answers.front();
  answers.pop_front();
  return answer;
}
void RecordBox(TMessageBoxRecord Record) { State().Boxes.push_back(std::move(Record)); }
void Reset() {
  auto& s = State();
  s.Queue.clear();
  s.Answers.clear();
  s.Boxes.clear();
  s.Cursors.clear();
  s.Beeps.clear();
  s.ExeName = DefaultExeName;
  s.Keys = 0;
  s.ModalHandler = nullptr;
  ResetDialogs();
  THeadlessAccess::ResetApplication();
  Screen->SetActiveForm(nullptr);
  ResetPrinters();
}
}  // namespace Headless

namespace Backend {

void FrameSize(TFormBorderStyle Style, int& ExtraWidth, int& ExtraHeight) {
  // Fixed frame metrics of a classic desktop theme: borders and a caption bar.
  switch (Style) {
    case TFormBorderStyle::bsNone: ExtraWidth = 0; ExtraHeight = 0; break;
    case TFormBorderStyle::bsSizeable:
    case TFormBorderStyle::bsSizeToolWin: ExtraWidth = 8; ExtraHeight = 27; break;
    case TFormBorderStyle::bsToolWindow: ExtraWidth = 6; ExtraHeight = 22; break;
    default: ExtraWidth = 6; ExtraHeight = 25; break;
  }
}

void ScreenSize(int& Width, int& Height) { Width = State().ScreenWidth; Height = State().ScreenHeight; }

TShiftState KeyboardShiftState() { return State().Keys; }

std::string ExeName() { return State().ExeName; }

void RunMessageLoop() {
  while (!Application->Terminated() && RunOne()) {}
}

void ProcessMessages() {
  while (RunOne()) {}
}

void WaitAndProcess(unsigned Ms) {
  if (!RunOne()) Headless::AdvanceClock(Ms);
  ProcessMessages();
}

void Post(std::function<void()> Task) { State().Queue.push_back(std::move(Task)); }

void RunModal(TCustomForm& Form) {
  if (State().ModalHandler) State().ModalHandler(Form);
  while (Form.ModalResult() == mrNone && !Application->Terminated()) {
    if (!RunOne())
      throw EAssertionFailed("A modal window was shown that nothing closes: " + Form.Name());
  }
}

int MessageBox(const std::string& Text, const std::string& Caption, unsigned Flags) {
  int answer = Headless::TakeAnswer(DefaultAnswer(Flags));
  Headless::RecordBox({Text, Caption, Flags, answer});
  return answer;
}

// No screen: the picture is the client area in the form's colour.
void CaptureFormImage(TCustomForm& Form, TBitmap& Image) {
  TColor Color = Form.Color();
  if (IsSystemColor(Color)) Color = clSilver;
  const auto C = static_cast<std::uint32_t>(Color);
  // TColor is 0x00BBGGRR; the bitmap's pixels are 0x00RRGGBB.
  Image.SetSize(Form.ClientWidth(), Form.ClientHeight(), ((C & 0xFF) << 16) | (C & 0xFF00) | ((C >> 16) & 0xFF));
}

void SetCursor(TCursor Cursor) { State().Cursors.push_back(Cursor); }
void Beep(unsigned Sound) { State().Beeps.push_back(Sound); }
bool TopLevelWindowExists(const std::string&) { return false; }
void Quit() {}

}  // namespace Backend
