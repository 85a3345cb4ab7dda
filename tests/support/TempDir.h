// A real temporary folder for one test, removed with everything in it when the test ends, and
// the bytes of a file; for the native and the end-to-end tests alike.
#pragma once
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

class TTempDir {
public:
  TTempDir() {
    static std::atomic<int> Count{0};
    FPath = std::filesystem::temp_directory_path() /
            ("versora-test-" + std::to_string(getpid()) + "-" + std::to_string(++Count));
    std::filesystem::remove_all(FPath);
    std::filesystem::create_directories(FPath);
  }
  ~TTempDir() {
    std::error_code Ignored;
    std::filesystem::remove_all(FPath, Ignored);
  }
  TTempDir(const TTempDir&) = delete;
  TTempDir& operator=(const TTempDir&) = delete;

  const std::filesystem::path& Path() const { return FPath; }
  // A sub-folder, created.
  std::string Sub(const std::string& Name) const {
    std::filesystem::create_directories(FPath / Name);
    return (FPath / Name).string();
  }
  std::string operator/(const std::string& Name) const { return (FPath / Name).string(); }

private:
  std::filesystem::path FPath;
};

// The file's bytes, or "(none)" when it cannot be opened.
inline std::string FileBytes(const std::string& Name) {
  std::ifstream In(Name, std::ios::binary);
  if (!In) return "(none)";
  return std::string(std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>());
}
