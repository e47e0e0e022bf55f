#include "platform/Process.h"

#include <unistd.h>

#include <cstring>
#include <string>

namespace {
constexpr std::size_t kMaxPath = 260;

void Put(char* out, const std::string& s) {
    if (out == nullptr) return;
    std::size_t n = std::min(s.size(), kMaxPath - 1);
    std::memcpy(out, s.data(), n);
    out[n] = '\0';
}
}  // namespace

DWORD GetModuleFileName(void* /*module*/, char* buffer, DWORD size) {
    if (buffer == nullptr || size == 0) return 0;
    ssize_t n = readlink("/proc/self/exe", buffer, size - 1);
    if (n <= 0) {
        buffer[0] = '\0';
        return 0;
    }
    buffer[n] = '\0';
    return static_cast<DWORD>(n);
}

void _splitpath(const char* path, char* drive, char* dir,
                char* fname,  // NOLINT(bugprone-reserved-identifier)
                char* ext) {
    std::string p = path ? path : "";
    std::size_t slash = p.find_last_of('/');
    std::string d = slash == std::string::npos ? "" : p.substr(0, slash + 1);
    std::string rest = slash == std::string::npos ? p : p.substr(slash + 1);
    std::size_t dot = rest.rfind('.');
    std::string name = dot == std::string::npos ? rest : rest.substr(0, dot);
    std::string e = dot == std::string::npos ? "" : rest.substr(dot);
    Put(drive, "");
    Put(dir, d);
    Put(fname, name);
    Put(ext, e);
}
