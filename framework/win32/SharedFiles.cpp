// Files shared between programs, through the Win32 API: lock files held with the system's
// share modes, files opened with the system's error codes, and replacement by a single
// write-through move.
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include "framework/rtl/FileUtils.h"

namespace {

DWORD Access(unsigned Mode) {
  switch (Mode & 3) {
    case fmOpenRead: return GENERIC_READ;
    case fmOpenWrite: return GENERIC_WRITE;
    default: return GENERIC_READ | GENERIC_WRITE;
  }
}

// Compatibility and exclusive share nothing; deny-write shares reading, deny-read writing.
DWORD Share(unsigned Mode) {
  switch (Mode & 0xF0) {
    case fmShareDenyWrite: return FILE_SHARE_READ;
    case 0x30: return FILE_SHARE_WRITE;
    case fmShareDenyNone: return FILE_SHARE_READ | FILE_SHARE_WRITE;
    default: return 0;
  }
}

// A C stream over a handle; the handle is closed when that fails.
std::FILE* StreamOf(HANDLE H, int Flags, const char* Mode, int& Error) {
  if (H == INVALID_HANDLE_VALUE) {
    Error = static_cast<int>(GetLastError());
    return nullptr;
  }
  const int Fd = _open_osfhandle(reinterpret_cast<intptr_t>(H), Flags | _O_BINARY);
  if (Fd < 0) {
    CloseHandle(H);
    Error = ERROR_TOO_MANY_OPEN_FILES;
    return nullptr;
  }
  std::FILE* F = _fdopen(Fd, Mode);
  if (!F) {
    _close(Fd);
    Error = ERROR_TOO_MANY_OPEN_FILES;
    return nullptr;
  }
  Error = 0;
  return F;
}

}  // namespace

TLockHandle LockFileOpen(const std::string& FileName, unsigned Mode, int& Error) {
  HANDLE H = CreateFileA(FileName.c_str(), Access(Mode), Share(Mode), nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (H == INVALID_HANDLE_VALUE) {
    Error = static_cast<int>(GetLastError());
    return InvalidLockHandle;
  }
  Error = 0;
  return reinterpret_cast<TLockHandle>(H);
}

int LockFileCreate(const std::string& FileName) {
  // A leftover of a program that ended without releasing goes first; a held one cannot go.
  DeleteFileA(FileName.c_str());
  HANDLE H = CreateFileA(FileName.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (H == INVALID_HANDLE_VALUE) return static_cast<int>(GetLastError());
  CloseHandle(H);
  return 0;
}

void LockFileRelease(TLockHandle Handle, const std::string& FileName) {
  if (Handle == InvalidLockHandle) return;
  CloseHandle(reinterpret_cast<HANDLE>(Handle));
  // Refused while another holder has it open, which is what keeps it for them.
  DeleteFileA(FileName.c_str());
}

std::FILE* FileOpenForReading(const std::string& FileName, int& Error) {
  HANDLE H = CreateFileA(FileName.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  return StreamOf(H, _O_RDONLY, "rb", Error);
}

std::FILE* FileCreateForWriting(const std::string& FileName, int& Error) {
  HANDLE H = CreateFileA(FileName.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  return StreamOf(H, _O_WRONLY, "wb", Error);
}

std::FILE* FileOpenForOutput(const std::string& FileName, bool Append, int& Error) {
  HANDLE H = CreateFileA(FileName.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                         Append ? OPEN_ALWAYS : CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (H != INVALID_HANDLE_VALUE && Append &&
      SetFilePointer(H, 0, nullptr, FILE_END) == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR) {
    Error = static_cast<int>(GetLastError());
    CloseHandle(H);
    return nullptr;
  }
  return StreamOf(H, _O_WRONLY | (Append ? _O_APPEND : 0), Append ? "ab" : "wb", Error);
}

int FileCommit(std::FILE* F) {
  if (std::fflush(F) != 0) return ERROR_WRITE_FAULT;
  if (!FlushFileBuffers(reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(F)))))
    return static_cast<int>(GetLastError());
  return 0;
}

int ReplaceFileAtomically(const std::string& From, const std::string& To) {
  if (!MoveFileExA(From.c_str(), To.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return static_cast<int>(GetLastError());
  return 0;
}
