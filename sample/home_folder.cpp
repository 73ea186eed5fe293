#include "sample/home_folder.h"

#include "sample/game_folder.h"

#include <cstdio>
#include <fstream>
#include <stdexcept>

namespace adultify::sample {

namespace fs = std::filesystem;

namespace {

void WriteText(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

// Backslashes doubled, as both Wine's registry files and Steam's vdf files write them.
std::string Escaped(const std::string& s) {
    std::string out;
    for (char c : s) {
        if (c == '\\' || c == '"') out += '\\';
        out += c;
    }
    return out;
}

std::string FillerKeys(std::size_t count) {
    std::string text;
    char clsid[64];
    for (std::size_t i = 0; i < count; ++i) {
        std::snprintf(clsid, sizeof clsid, "{%08zX-0000-0000-C000-000000000046}", i);
        text += "[Software\\\\Classes\\\\CLSID\\\\" + std::string(clsid) + "] 1796589600\n";
        text += "#time=1d9a0b3c4d5e6f7\n@=\"Sample component " + std::to_string(i) + "\"\n";
        text += "\"ThreadingModel\"=\"Both\"\n\"InprocServer32\"=str(2):\"%SystemRoot%\\\\system32"
                "\\\\sample.dll\"\n\n";
    }
    return text;
}

} // namespace

std::string PrefixSystemReg(const PrefixSpec& spec) {
    std::string text;
    if (spec.simsData) {
        text = SystemReg(*spec.simsData, spec.win64);
    } else {
        text = "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n";
        text += spec.win64 ? "#arch=win64\n\n" : "#arch=win32\n\n";
    }
    text += FillerKeys(spec.fillerKeys);
    if (spec.codePage) {
        text += "[System\\\\CurrentControlSet\\\\Control\\\\Nls\\\\CodePage] 1796589601\n";
        text += "#time=1d9a0b3c4d5e6f9\n\"ACP\"=\"" + std::to_string(*spec.codePage) + "\"\n";
        text += "\"MACCP\"=\"10000\"\n\"OEMCP\"=\"437\"\n\n";
    }
    return text;
}

fs::path WritePrefix(const fs::path& prefix, const PrefixSpec& spec) {
    const fs::path native = WriteWinePrefix(prefix, spec.simsData.value_or("C:\\"), spec.win64);
    WriteText(prefix / "system.reg", PrefixSystemReg(spec));
    fs::create_directories(prefix / "drive_c" / "users" / spec.user / "Documents");
    fs::create_directories(prefix / "drive_c" / "users" / "Public");
    return native;
}

fs::path WriteReReleaseSaves(const fs::path& prefix, const std::string& user,
                             const GameSpec& game) {
    const fs::path folder =
        prefix / "drive_c" / "users" / user / "Saved Games" / "Electronic Arts" / "The Sims 25";
    fs::create_directories(folder);
    WriteNeighbourhoods(folder, game.hoods);
    return folder;
}

std::string LibraryFoldersVdf(const std::vector<fs::path>& libraries) {
    std::string text = "\"libraryfolders\"\n{\n";
    for (std::size_t i = 0; i < libraries.size(); ++i) {
        text += "\t\"" + std::to_string(i) + "\"\n\t{\n";
        text += "\t\t\"path\"\t\t\"" + Escaped(libraries[i].string()) + "\"\n";
        text +=
            "\t\t\"label\"\t\t\"\"\n\t\t\"contentid\"\t\t\"" + std::to_string(7340 + i) + "\"\n";
        text += "\t\t\"totalsize\"\t\t\"0\"\n\t\t\"apps\"\n\t\t{\n";
        text += "\t\t\t\"228980\"\t\t\"405089123\"\n\t\t}\n\t}\n";
    }
    return text + "}\n";
}

void WriteSteamRoot(const fs::path& root, const std::vector<fs::path>& others) {
    std::vector<fs::path> libraries{root};
    libraries.insert(libraries.end(), others.begin(), others.end());
    WriteText(root / "steamapps" / "libraryfolders.vdf", LibraryFoldersVdf(libraries));
    fs::create_directories(root / "steamapps" / "common");
}

fs::path WriteProtonPrefix(const fs::path& library, const std::string& appId,
                           const PrefixSpec& spec) {
    const fs::path compat = library / "steamapps" / "compatdata" / appId;
    WriteText(compat / "version", "GE-Proton9-20\n");
    WritePrefix(compat / "pfx", spec);
    return compat / "pfx";
}

} // namespace adultify::sample
