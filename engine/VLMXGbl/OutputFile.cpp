#include "engine/VLMXGbl/OutputFile.h"

#include <cerrno>

#include "framework/rtl/FileUtils.h"

namespace {
// The system's codes for a full disk and any other write fault.
int WriteErrorCode() { return errno == ENOSPC ? 112 : 29; }
}  // namespace

TvlxTextFile::~TvlxTextFile() {
  if (FFile) std::fclose(FFile);
}

int TvlxTextFile::Open(const std::string& FileName, bool Append) {
  FW_ASSERT(!FFile);
  int error = 0;
  FFile = FileOpenForOutput(FileName, Append, error);
  return FFile ? 0 : error;
}

void TvlxTextFile::Write(const std::string& Text) {
  FW_ASSERT(FFile);
  if (std::fwrite(Text.data(), 1, Text.size(), FFile) != Text.size()) throw EInOutError(WriteErrorCode());
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
