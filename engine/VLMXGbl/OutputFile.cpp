#include "engine/VLMXGbl/OutputFile.h"

#include <cerrno>

#include "engine/VLMXGbl/RunUI.h"
#include "engine/Vellumix/FileMgr.h"
#include "engine/Vellumix/Vellumix.h"
#include "framework/Forms.h"
#include "framework/rtl/FileUtils.h"

namespace {
// The system's codes for a full disk and any other write fault.
int WriteErrorCode() { return errno == ENOSPC ? 112 : 29; }
}  // namespace

bool OutputFileNameAllowed(const TvlxVellumix* Component, const std::string& Name) {
  if (!Component || !Component->FileMgr() || !Component->FileMgr()->IsSettingsFileName(Name)) return true;
  Beep(MsgBox::IconInformation);
  RunUI().ShowMessage("Output file \"" + Name + "\" is the report settings file or its lock or temporary file\r\n\r\n"
                      "Solution: Use a different output file name",
                      MsgBox::Ok);
  return false;
}

TvlxTextFile::~TvlxTextFile() {
  if (FFile) std::fclose(FFile);
}

int TvlxTextFile::Open(const std::string& FileName, bool Append) {
  FW_ASSERT(!FFile);
  int error = 0;
  const bool Existed = FileExists(FileName);
  FFile = FileOpenForOutput(FileName, Append, error);
  if (!FFile && !Existed && FileExists(FileName)) std::remove(HostFileName(FileName).c_str());
  return FFile ? 0 : error;
}

void TvlxTextFile::Write(const std::string& Text) {
  FW_ASSERT(FFile);
  if (std::fwrite(Text.data(), 1, Text.size(), FFile) != Text.size()) throw EInOutError(WriteErrorCode());
}

void TvlxTextFile::WriteLine(const std::string& Line) {
  // Two writes into the file's buffer: joined, every page line would be copied once more.
  static const std::string LineEnd = "\r\n";
  Write(Line);
  Write(LineEnd);
}

void TvlxTextFile::Close() {
  if (!FFile) return;
  std::FILE* file = FFile;
  FFile = nullptr;
  int code = 0;
  if (std::fflush(file) != 0) code = WriteErrorCode();
  if (std::fclose(file) != 0 && code == 0) code = WriteErrorCode();
  if (code != 0) throw EInOutError(code);
}
