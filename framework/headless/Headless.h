// Test controls of the headless backend: no windows, a message queue run by ProcessMessages,
// modal loops driven by the test, message boxes answered by the test, and a record of every
// box, beep and cursor change.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "framework/Forms.h"

class TCommonDialog;
class TMenuItem;

namespace Headless {

struct TMessageBoxRecord {
  std::string Text;
  std::string Caption;
  unsigned Flags = 0;  // a message dialog's: its type's icon
  int Answer = 0;
  unsigned Buttons = 0;  // a message dialog's buttons (TMsgDlgButtons); 0 for a message box
  int HelpContext = 0;
};


// Answers for the next message boxes and message dialogs, in order. A box with no queued
// answer gets its first button (OK, Abort, Yes or Retry; a dialog the first it shows); a
// dialog asked an answer it has no button for is a test error.
void QueueAnswer(int Answer);
const std::vector<TMessageBoxRecord>& MessageBoxes();
// The texts of the error boxes (boxes with the stop icon), in order.
std::vector<std::string> ErrorBoxes();
int BeepCount();
// The sound of each beep, in order: 0 for the default beep, else the message-box icon whose
// sound it is (MsgBox::IconStop, MsgBox::IconInformation...).
const std::vector<unsigned>& BeepSounds();
const std::vector<TCursor>& CursorChanges();

// Called when a form is shown modally: the handler plays the user and sets the form's
// ModalResult. Without a handler, or when the handler leaves it unset, the posted messages run
// until something sets it; a modal form that nothing can close is a test error.
using TModalHandler = std::function<void(TCustomForm& Form)>;
void SetModalHandler(TModalHandler Handler);

std::size_t PendingMessages();
void SetScreenSize(int Width, int Height);
// The Shift, Ctrl and Alt keys the user holds down from now on.
void SetKeyboardShiftState(TShiftState Keys);
// The program's full file name that Application->ExeName() reports (a fixed name under
// "C:\Program Files" until a test sets one).
void SetExeName(const std::string& FileName);

// Fires each running timer whose interval has passed on the virtual clock; true when one
// fired. The message loops call it whenever no posted message waits.
bool RunTimers();

// What the program last put on the clipboard.
const std::string& ClipboardText();

// Plays the user of the next common dialogs, in order: the handler fills the dialog (file
// name, font, the printer chosen) and returns whether it was confirmed. A dialog with no
// queued handler is cancelled. Every dialog shown is recorded by name.
void QueueDialogAnswer(std::function<bool(TCommonDialog& Dialog)> Answer);
const std::vector<std::string>& DialogsShown();
// The item the user picks in the next pop-up menu (none when nothing is queued).
void QueuePopupChoice(TMenuItem* Item);
// The help contexts asked for from the help file, in order.
const std::vector<int>& HelpRequests();

// The backend's own: the next queued answer (or Default), the record of a box shown, and the
// reset of the dialogs' script.
int TakeAnswer(int Default);
void RecordBox(TMessageBoxRecord Record);
void ResetDialogs();

// Forgets every record, queued answer and handler, the printers' pages and spooled bytes, and
// drops waiting messages.
void Reset();

}  // namespace Headless
