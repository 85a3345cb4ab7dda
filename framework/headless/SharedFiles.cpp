// Files shared between programs, on a POSIX file system for the native build. Windows share
// modes become flock locks taken without waiting; since a POSIX file can be deleted while others
// hold it open, every lock is checked to be on the file that the name still names, and a lock
// file is deleted only by a holder that has it alone, as Windows refuses to delete a file that
// is open elsewhere.
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "framework/rtl/FileUtils.h"

namespace {

// errno in the Windows numbering that callers and messages use.
int SystemCode(int Errno) {
  switch (Errno) {
    case 0: return 0;
    case ENOENT: return errFileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG: return errPathNotFound;
    case EMFILE:
    case ENFILE: return 4;  // too many open files
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR: return errAccessDenied;
    case EWOULDBLOCK: return errSharingViolation;
    case ENOSPC: return 112;  // disk full
    case EEXIST: return 80;   // file exists
    default: return 31;       // general failure
  }
}

// Deny-none takes no lock; deny-write lets other deny-write holders in; every other mode
// (exclusive, deny-read, compatibility) keeps everyone out.
int LockOperation(unsigned Mode) {
  switch (Mode & 0xF0) {
    case fmShareDenyNone: return 0;
    case fmShareDenyWrite: return LOCK_SH;
    default: return LOCK_EX;
  }
}

int OpenFlags(unsigned Mode) {
  switch (Mode & 3) {
    case fmOpenRead: return O_RDONLY;
    case fmOpenWrite: return O_WRONLY;
    default: return O_RDWR;
  }
}

// The name still names the file that Fd has open.
bool NamesOpenFile(int Fd, const std::string& HostName) {
  struct stat Open, Named;
  return fstat(Fd, &Open) == 0 && stat(HostName.c_str(), &Named) == 0 && Open.st_dev == Named.st_dev &&
         Open.st_ino == Named.st_ino;
}

}  // namespace

TLockHandle LockFileOpen(const std::string& FileName, unsigned Mode, int& Error) {
  const std::string Name = HostFileName(FileName);
  const int Fd = open(Name.c_str(), OpenFlags(Mode) | O_CLOEXEC);
  if (Fd < 0) {
    Error = SystemCode(errno);
    return InvalidLockHandle;
  }
  const int Operation = LockOperation(Mode);
  if (Operation != 0 && flock(Fd, Operation | LOCK_NB) != 0) {
    Error = SystemCode(errno);
    close(Fd);
    return InvalidLockHandle;
  }
  // The holder before us may have deleted the file between our open and our lock: then the lock
  // guards nothing, and the caller must try again with the name as it is now.
  if (!NamesOpenFile(Fd, Name)) {
    Error = errSharingViolation;
    close(Fd);
    return InvalidLockHandle;
  }
  Error = 0;
  return Fd;
}

int LockFileCreate(const std::string& FileName) {
  // An existing file is kept: another program may have just created it and be locking it.
  const int Fd = open(HostFileName(FileName).c_str(), O_CREAT | O_RDWR | O_CLOEXEC, 0666);
  if (Fd < 0) return SystemCode(errno);
  close(Fd);
  return 0;
}

void LockFileRelease(TLockHandle Handle, const std::string& FileName) {
  if (Handle == InvalidLockHandle) return;
  const int Fd = static_cast<int>(Handle);
  const std::string Name = HostFileName(FileName);
  if (flock(Fd, LOCK_EX | LOCK_NB) == 0 && NamesOpenFile(Fd, Name)) unlink(Name.c_str());
  close(Fd);
}

std::FILE* FileOpenForReading(const std::string& FileName, int& Error) {
  std::FILE* F = std::fopen(HostFileName(FileName).c_str(), "rbe");
  if (!F) {
    Error = SystemCode(errno);
    return nullptr;
  }
  struct stat St;
  if (fstat(fileno(F), &St) != 0 || !S_ISREG(St.st_mode)) {
    std::fclose(F);
    Error = errAccessDenied;
    return nullptr;
  }
  Error = 0;
  return F;
}

std::FILE* FileCreateForWriting(const std::string& FileName, int& Error) {
  std::FILE* F = std::fopen(HostFileName(FileName).c_str(), "wbe");
  Error = F ? 0 : SystemCode(errno);
  return F;
}

std::FILE* FileOpenForOutput(const std::string& FileName, bool Append, int& Error) {
  const int Fd = open(HostFileName(FileName).c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
  if (Fd < 0) {
    Error = SystemCode(errno);
    return nullptr;
  }
  // Shared for reading, as on Windows: an exclusive holder keeps us out before anything is
  // truncated.
  if (flock(Fd, LOCK_SH | LOCK_NB) != 0 || (Append ? lseek(Fd, 0, SEEK_END) < 0 : ftruncate(Fd, 0) != 0)) {
    Error = SystemCode(errno);
    close(Fd);
    return nullptr;
  }
  std::FILE* F = fdopen(Fd, Append ? "ab" : "wb");
  if (!F) {
    Error = SystemCode(errno);
    close(Fd);
    return nullptr;
  }
  Error = 0;
  return F;
}

int FileCommit(std::FILE* F) {
  if (std::fflush(F) != 0 || fsync(fileno(F)) != 0) return SystemCode(errno);
  return 0;
}

int ReplaceFileAtomically(const std::string& From, const std::string& To) {
  const std::string Target = HostFileName(To);
  if (std::rename(HostFileName(From).c_str(), Target.c_str()) != 0) return SystemCode(errno);
  // The new directory entry reaches the disk too, so a power cut cannot bring the old file back.
  const std::string Dir = ExtractFileDir(Target);
  const int DirFd = open(Dir.empty() ? "." : Dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (DirFd >= 0) {
    fsync(DirFd);
    close(DirFd);
  }
  return 0;
}
