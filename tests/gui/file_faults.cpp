#include "framework/file_faults.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace {

struct Fault {
    FileOperation operation;
    int callsLeft;  // counts down to the failing call; 0 = fail every call
    std::string pathSuffix;
    DWORD error;
};

std::vector<Fault>& Faults() {
    static std::vector<Fault> faults;
    return faults;
}

bool EndsWithNoCase(const std::string& text, const std::string& suffix) {
    if (suffix.size() > text.size()) return false;
    return std::equal(suffix.rbegin(), suffix.rend(), text.rbegin(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) ==
               std::tolower(static_cast<unsigned char>(b));
    });
}

}  // namespace

void InjectFileFault(FileOperation operation, int nth, std::string pathSuffix, DWORD error) {
    Faults().push_back(Fault{operation, nth, std::move(pathSuffix), error});
}

void ClearFileFaults() {
    Faults().clear();
}

DWORD TakeFileFault(FileOperation operation, const std::string& path) {
    auto& faults = Faults();
    for (auto it = faults.begin(); it != faults.end(); ++it) {
        if (it->operation != operation || !EndsWithNoCase(path, it->pathSuffix)) continue;
        if (it->callsLeft == 0) return it->error;
        if (--it->callsLeft == 0) {
            DWORD error = it->error;
            faults.erase(it);
            return error;
        }
    }
    return 0;
}
