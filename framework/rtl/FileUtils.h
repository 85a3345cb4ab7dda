// File names and the file system. Names are split at "\" and ":" as on Windows; the native
// build, which runs on a POSIX file system, also splits at "/" and turns "\" into "/" when it
// asks the system, so code that joins names with "\" works in both builds.
#pragma once
#include <string>

#ifdef _WIN32
constexpr char PathDelim = '\\';
#else
constexpr char PathDelim = '/';
#endif
constexpr char DriveDelim = ':';

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
