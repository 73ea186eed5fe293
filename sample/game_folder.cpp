#include "sample/game_folder.h"

#include "iff/cp1252.h"

#include <cctype>
#include <cstdio>
#include <fstream>
#include <stdexcept>

namespace adultify::sample {

namespace fs = std::filesystem;

void WriteFile(const fs::path& path, const Bytes& data) {
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data.data()),
              static_cast<std::streamsize>(data.size()));
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

std::string Escaped(const std::string& s) {
    std::string out;
    for (char c : s) {
        if (c == '\\' || c == '"') out += '\\';
        out += c;
    }
    return out;
}

std::string RegistryEscaped(const std::string& s) {
    std::u16string units;
    for (std::size_t i = 0; i < s.size();)
        AppendUtf16(units, NextCodePoint(s, i));
    std::string out;
    for (std::size_t i = 0; i < units.size(); ++i) {
        const char16_t u = units[i];
        if (u < 0x80) {
            out += Escaped(std::string(1, static_cast<char>(u)));
            continue;
        }
        // Wine pads to four digits only where the next character would read as one more.
        const bool hexFollows = i + 1 < units.size() && units[i + 1] < 0x80 &&
                                std::isxdigit(static_cast<unsigned char>(units[i + 1]));
        char code[8];
        std::snprintf(code, sizeof code, hexFollows ? "\\x%04x" : "\\x%x",
                      static_cast<unsigned>(u));
        out += code;
    }
    return out;
}

void WriteGameFolder(const fs::path& gameFolder, const GameSpec& game) {
    WriteFile(gameFolder / game.exeName, ToBytes("MZ placeholder, not the game\n"));
    fs::create_directories(gameFolder / "GameData");
    fs::create_directories(gameFolder / "TemplateUserData" / "Characters");
    WriteNeighbourhoods(gameFolder, game.hoods);
}

void WriteRandomGame(const fs::path& gameFolder, const RandomHoodParams& params) {
    GameSpec game;
    game.hoods.push_back(RandomHood(params));
    WriteGameFolder(gameFolder, game);
}

void WriteNeighbourhoods(const fs::path& gameFolder, const std::vector<HoodSpec>& hoods) {
    for (const HoodSpec& hood : hoods) {
        const fs::path folder =
            gameFolder /
            (hood.number == 1 ? std::string("UserData") : "UserData" + std::to_string(hood.number));
        WriteFile(folder / "Neighborhood.iff", NeighbourhoodFile(hood));
        fs::create_directories(folder / "Characters");
        fs::create_directories(folder / "Houses");
        fs::create_directories(folder / "Export");
        for (const SimSpec& sim : hood.sims)
            if (sim.hasCharacterFile)
                WriteFile(folder / "Characters" / CharacterFileName(sim),
                          CharacterFile(sim, hood.codePage));
    }
}

std::string SystemReg(const std::string& windowsGamePath, bool win64) {
    const std::string key =
        win64 ? "Software\\\\Wow6432Node\\\\Maxis\\\\The Sims" : "Software\\\\Maxis\\\\The Sims";
    std::string text = "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n";
    text += win64 ? "#arch=win64\n\n" : "#arch=win32\n\n";
    text += "[Software\\\\Classes\\\\.iff] 1796589600\n#time=1d9a0b3c4d5e6f7\n@=\"iffile\"\n\n";
    text += "[" + key + "] 1796589658\n#time=1d9a0b3c4d5e6f8\n";
    text += "\"EP1Installed\"=dword:00000001\n";
    text += "\"Installed\"=dword:00000001\n";
    text += "\"InstallPath\"=\"" + RegistryEscaped(windowsGamePath) + "\"\n";
    text += "\"SIMS_CURRENT_NEIGHBORHOOD_NUM\"=hex:01,00\n";
    text += "\"SIMS_DATA\"=\"" + RegistryEscaped(windowsGamePath) + "\"\n";
    text += "\"SIMS_LANGUAGE\"=\"USEnglish\"\n";
    text += "\"Version\"=\"1.0\"\n\n";
    return text;
}

fs::path WriteWinePrefix(const fs::path& prefix, const std::string& windowsGamePath, bool win64) {
    if (windowsGamePath.size() < 3 || windowsGamePath[1] != ':')
        throw std::invalid_argument("the game path must start with a drive letter");
    fs::create_directories(prefix / "drive_c");
    fs::create_directories(prefix / "dosdevices");
    const fs::path c = prefix / "dosdevices" / "c:";
    const fs::path z = prefix / "dosdevices" / "z:";
    std::error_code ec;
    fs::remove(c, ec);
    fs::remove(z, ec);
    fs::create_directory_symlink("../drive_c", c);
    fs::create_directory_symlink("/", z);
    WriteFile(prefix / "system.reg", ToBytes(SystemReg(windowsGamePath, win64)));
    WriteFile(prefix / "user.reg",
              ToBytes("WINE REGISTRY Version 2\n;; All keys relative to \\\\User\\\\S-1-5-21\n\n"));

    fs::path native = prefix / "drive_c";
    std::string rest = windowsGamePath.substr(3);
    for (std::size_t start = 0; start <= rest.size();) {
        std::size_t end = rest.find('\\', start);
        if (end == std::string::npos) end = rest.size();
        if (end > start) native /= rest.substr(start, end - start);
        start = end + 1;
    }
    return native;
}

} // namespace adultify::sample
