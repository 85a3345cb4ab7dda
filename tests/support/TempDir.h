// A real temporary folder for one test, removed with everything in it when the test ends.
#pragma once
#include <unistd.h>

#include <atomic>
#include <filesystem>
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
