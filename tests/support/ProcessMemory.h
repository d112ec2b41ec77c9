// Resident memory of the test process, from /proc/self.
#pragma once

#include <fstream>
#include <string>

namespace testsupport {

// A field of /proc/self/status in kB ("VmRSS", "VmHWM"), -1 when missing.
inline long StatusKb(const char* field) {
    std::ifstream f("/proc/self/status");
    std::string line;
    const std::string key = std::string(field) + ":";
    while (std::getline(f, line))
        if (line.rfind(key, 0) == 0) return std::stol(line.substr(key.size()));
    return -1;
}

// Sets the high-water mark of the resident set back to what is resident now.
inline bool ResetPeak() {
    std::ofstream f("/proc/self/clear_refs");
    f << "5";
    f.flush();
    return static_cast<bool>(f);
}

}  // namespace testsupport
