// The file system of the native build: POSIX calls on the host's files, names given with "\"
// or "/".
#include <dirent.h>
#include <fnmatch.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

#include "framework/rtl/FileUtils.h"

namespace {

int AttrOf(const struct stat& St) {
  if (S_ISDIR(St.st_mode)) return faDirectory | ((St.st_mode & S_IWUSR) ? 0 : faReadOnly);
  return faArchive | ((St.st_mode & S_IWUSR) ? 0 : faReadOnly);
}

}  // namespace

int FindFirstAttr(const std::string& Name) {
  const std::string Host = HostFileName(Name);
  struct stat St;
  if (Host.find_first_of("*?") == std::string::npos)
    return !Host.empty() && stat(Host.c_str(), &St) == 0 ? AttrOf(St) : -1;
  // A pattern: the first entry of its folder that matches, as the system's search reports it.
  const size_t Slash = Host.rfind('/');
  const std::string Dir = Slash == std::string::npos ? "." : Host.substr(0, Slash + 1);
  const std::string Pattern = Host.substr(Slash == std::string::npos ? 0 : Slash + 1);
  DIR* D = opendir(Dir.c_str());
  if (!D) return -1;
  int Attr = -1;
  while (const dirent* E = readdir(D)) {
    if (fnmatch(Pattern.c_str(), E->d_name, FNM_CASEFOLD) != 0) continue;
    if (stat((Dir + "/" + E->d_name).c_str(), &St) == 0) {
      Attr = AttrOf(St);
      break;
    }
  }
  closedir(D);
  return Attr;
}

bool CreateDir(const std::string& Dir) {
  return !Dir.empty() && mkdir(HostFileName(Dir).c_str(), 0777) == 0;
}

std::string GetCurrentDir() {
  std::vector<char> Buf(4096);
  while (!getcwd(Buf.data(), Buf.size())) {
    if (Buf.size() > (1u << 20)) return "";
    Buf.resize(Buf.size() * 2);
  }
  return Buf.data();
}

std::string GetEnvVar(const std::string& Name) {
  const char* Value = std::getenv(Name.c_str());
  return Value ? Value : "";
}
