// The text file a run writes: the text and RTF destinations and the ASCII export. Lines end
// with CR LF; the file is shared for reading while it is open and closed by the destructor.
#pragma once
#include <cstdio>
#include <string>

#include "framework/rtl/Exceptions.h"

class TvlxVellumix;

// A failed write to an open output file, with the system's error code.
class EInOutError : public Exception {
public:
  EInOutError(int Code) : Exception("I/O error " + std::to_string(Code)), ErrorCode(Code) {}
  int ErrorCode;
};

// False, once the user was told, when Name is the report settings file, its lock file or its
// temporary file: a report written there would wipe the settings of every report.
bool OutputFileNameAllowed(const TvlxVellumix* Component, const std::string& Name);

class TvlxTextFile {
public:
  TvlxTextFile() = default;
  ~TvlxTextFile();
  TvlxTextFile(const TvlxTextFile&) = delete;
  TvlxTextFile& operator=(const TvlxTextFile&) = delete;

  // Rewrites the file, or appends to it (created when missing): 0, or the system's error code
  // with nothing changed (errSharingViolation while another program holds it): a file that the
  // failed open made is removed again.
  int Open(const std::string& FileName, bool Append);
  bool IsOpen() const { return FFile != nullptr; }
  // EInOutError when the system refuses the bytes.
  void Write(const std::string& Text);
  void WriteLine(const std::string& Line);
  // EInOutError when what was still buffered cannot be written; the file is closed either way.
  void Close();

private:
  std::FILE* FFile = nullptr;
};
