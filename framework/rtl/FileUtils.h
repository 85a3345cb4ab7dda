// File names and the file system. Names are split at "\" and ":" as on Windows; the native
// build, which runs on a POSIX file system, also splits at "/" and turns "\" into "/" when it
// asks the system, so code that joins names with "\" works in both builds.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>

#ifdef _WIN32
constexpr char PathDelim = '\\';
#else
constexpr char PathDelim = '/';
#endif
constexpr char DriveDelim = ':';
// Separates the folders of a search path such as the environment variable PATH.
#ifdef _WIN32
constexpr char PathSep = ';';
#else
constexpr char PathSep = ':';
#endif

// Up to and including the last delimiter: "C:\Dir\" of "C:\Dir\File.txt".
std::string ExtractFilePath(const std::string& FileName);
// The same without the last delimiter, unless it is the root: "C:\Dir", "C:\".
std::string ExtractFileDir(const std::string& FileName);
std::string ExtractFileName(const std::string& FileName);
// From the last "." of the name part, the dot included; empty when there is none.
std::string ExtractFileExt(const std::string& FileName);
std::string ChangeFileExt(const std::string& FileName, const std::string& Extension);
std::string IncludeTrailingPathDelimiter(const std::string& S);
// The absolute, normalised name, relative names taken from the current directory. The file
// need not exist.
std::string ExpandFileName(const std::string& FileName);

// A regular file (not a directory) of that name exists.
bool FileExists(const std::string& FileName);
bool DirectoryExists(const std::string& Name);

// The name to hand to the C library: "\" becomes "/" in the native build, nothing changes
// under Windows.
std::string HostFileName(const std::string& FileName);

// ---- Files held with a share mode, durable writes and atomic replacement ---------------------
// Implemented by the backend (framework/win32/SharedFiles.cpp, framework/headless/SharedFiles.cpp).
// The classic open modes: one access mode or'ed with one share mode.
constexpr unsigned fmOpenRead = 0x00, fmOpenWrite = 0x01, fmOpenReadWrite = 0x02;
constexpr unsigned fmShareExclusive = 0x10, fmShareDenyWrite = 0x20, fmShareDenyNone = 0x40;

// System error codes that callers tell apart, in the Windows numbering in both builds.
constexpr int errFileNotFound = 2, errPathNotFound = 3, errAccessDenied = 5,
              errSharingViolation = 32, errLockViolation = 33;

// A lock file is held open with a share mode: while it is held, an open with a conflicting mode
// is refused with errSharingViolation. Windows applies the share modes itself; the native build
// maps them to whole-file locks (deny-write shared, exclusive exclusive) that every opener
// through these routines honours, other processes included.
using TLockHandle = std::intptr_t;
constexpr TLockHandle InvalidLockHandle = -1;
// Opens the existing lock file with Mode; InvalidLockHandle and the system's code in Error when
// refused (errFileNotFound when there is none).
TLockHandle LockFileOpen(const std::string& FileName, unsigned Mode, int& Error);
// Makes the lock file exist: 0, or the system's code. A lock file that someone holds answers
// errSharingViolation (it exists, so the caller may go on).
int LockFileCreate(const std::string& FileName);
// Closes the handle, then deletes the lock file unless another holder still has it open.
void LockFileRelease(TLockHandle Handle, const std::string& FileName);

// Opens a file for reading (the file must exist) or creates it empty for writing (an old one is
// truncated); nullptr and the system's code in Error when refused.
std::FILE* FileOpenForReading(const std::string& FileName, int& Error);
std::FILE* FileCreateForWriting(const std::string& FileName, int& Error);
// Opens an output file that others may read meanwhile: created or emptied (Append false), or
// kept and written at its end (Append true; created when missing). nullptr and the system's code
// in Error when refused (errSharingViolation while another program holds the file); a refused
// file is left as it was.
std::FILE* FileOpenForOutput(const std::string& FileName, bool Append, int& Error);
// Writes what is buffered and waits until the system has it on the disk: 0 or the system's code.
int FileCommit(std::FILE* F);
// Puts From in the place of To in one step, To being replaced when it exists: a reader sees the
// whole old file or the whole new one, never a mix and never none. 0 or the system's code.
int ReplaceFileAtomically(const std::string& From, const std::string& To);

// ---- The file system, through the backend (framework/win32/FileSystem.cpp, ----------------
// ---- framework/headless/FileSystem.cpp) ---------------------------------------------------

// File attributes, with the system's values.
constexpr int faReadOnly = 0x01, faHidden = 0x02, faSysFile = 0x04, faDirectory = 0x10,
              faArchive = 0x20;

// The attributes of the first entry that a directory search for Name finds ("*" and "?" match
// in its last part), directories and files alike; -1 when it finds none. Natively a file
// without its owner's write permission is read-only.
int FindFirstAttr(const std::string& Name);
// Creates one directory, whose parent must exist; false when the system refuses.
bool CreateDir(const std::string& Dir);
// The current directory, without a trailing delimiter unless it is a root.
std::string GetCurrentDir();
// The value of an environment variable; empty when it is not set.
std::string GetEnvVar(const std::string& Name);

// Name itself when it exists as it stands (relative names from the current directory), else
// the first folder of DirList (folders separated by PathSep) that holds Name, as that folder,
// a delimiter and Name. Empty when no folder holds it.
std::string FileSearch(const std::string& Name, const std::string& DirList);
