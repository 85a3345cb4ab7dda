// Test control of the headless INI files: the folder that stands for the Windows directory,
// where a bare INI file name such as "Vellumix.Ini" lies.
#pragma once
#include <string>

namespace Headless {
// Until a test sets one, a private temporary folder of the process, removed at its end.
void SetWindowsDirectory(const std::string& Path);
}  // namespace Headless
