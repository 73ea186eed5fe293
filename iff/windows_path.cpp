#include "iff/windows_path.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <system_error>
#include <vector>

namespace adultify {

namespace fs = std::filesystem;

namespace {

bool SameIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

} // namespace

std::optional<fs::path> MatchComponent(const fs::path& folder, std::string_view component) {
    std::error_code ec;
    const fs::path exact = folder / fs::path(std::string(component));
    if (fs::exists(fs::symlink_status(exact, ec))) return exact;
    std::vector<std::string> matches;
    for (fs::directory_iterator it(folder.empty() ? fs::path(".") : folder, ec), end;
         !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (SameIgnoringAsciiCase(name, component)) matches.push_back(name);
    }
    if (matches.empty()) return std::nullopt;
    std::sort(matches.begin(), matches.end());
    return folder / matches.front();
}

WindowsPathMapper::WindowsPathMapper(std::optional<fs::path> dosdevices)
    : dosdevices_(std::move(dosdevices)) {}

fs::path WindowsPathMapper::ToNative(std::string_view path) const {
    fs::path current;
    std::string_view rest = path;
    if (path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0]))) {
        if (!dosdevices_) return {};
        const std::string drive = {static_cast<char>(std::tolower(static_cast<unsigned char>(path[0]))), ':'};
        current = *dosdevices_ / drive;
        std::error_code ec;
        if (!fs::is_directory(current, ec)) return {};
        rest = path.substr(2);
    } else if (!path.empty() && IsSeparator(path.front())) {
        current = "/";
    }

    bool resolving = true; // once a component is missing, the rest is appended as spelt
    std::size_t i = 0;
    while (i < rest.size()) {
        while (i < rest.size() && IsSeparator(rest[i])) ++i;
        std::size_t j = i;
        while (j < rest.size() && !IsSeparator(rest[j])) ++j;
        if (j > i) {
            const std::string_view component = rest.substr(i, j - i);
            if (component == "." || component == "..") {
                current /= std::string(component);
            } else if (resolving) {
                if (auto hit = MatchComponent(current, component)) {
                    current = *hit;
                } else {
                    current /= std::string(component);
                    resolving = false;
                }
            } else {
                current /= std::string(component);
            }
        }
        i = j;
    }
    return current;
}

} // namespace adultify
