#include <string>

#include "commands.hpp"

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace tesselwright_cli {

namespace {
int g_exitCode = 0;

std::filesystem::path executableDirectory() {
#ifdef _WIN32
    wchar_t buffer[32768];
    DWORD length = GetModuleFileNameW(nullptr, buffer, 32768);
    return std::filesystem::path(std::wstring(buffer, length)).parent_path();
#else
    std::error_code error;
    auto self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::current_path() : self.parent_path();
#endif
}
}  // namespace

std::filesystem::path defaultPluginPath() {
#ifdef _WIN32
    return executableDirectory() / "Vrom_Tesselwright.aip";
#else
    return executableDirectory() / "Vrom_Tesselwright.so";
#endif
}

void setExitCode(int code) {
    g_exitCode = code;
}
int exitCode() {
    return g_exitCode;
}

}  // namespace tesselwright_cli
