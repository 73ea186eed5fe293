#pragma once
// What the fuzz targets share: a game folder in memory with the program's state pointed at
// it, the input layout of the neighbourhood targets and the small game the other targets use.

#include "core/module1.h"
#include "fuzz/memory_file_system.h"
#include "ui/headless/headless_window_system.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace adultify::fuzz {

inline constexpr std::string_view kSimsPath = "C:\\Sims\\";
inline constexpr std::string_view kHoodPath = "C:\\Sims\\UserData\\Neighborhood.iff";
inline constexpr std::string_view kCharactersFolder = "C:\\Sims\\UserData\\Characters\\";
// The character file of OneChildHood's child.
inline constexpr std::string_view kChildCharacterPath =
    "C:\\Sims\\UserData\\Characters\\user00001.iff";

// A neighbourhood target's input: the neighbourhood file, then optionally this mark and the
// character file that every resident reads.
inline constexpr std::string_view kCharacterMark = "\n--character-file--\n";

struct HoodInput {
    Bytes hood;
    std::optional<Bytes> character;
};
[[nodiscard]] HoodInput SplitHoodInput(const std::uint8_t* data, std::size_t size);
[[nodiscard]] Bytes JoinHoodInput(const Bytes& hood, const Bytes& character);

// The generated neighbourhood with one child, "user00001", that the character-file targets
// put their input beside.
[[nodiscard]] const Bytes& OneChildHood();

// A fresh program on a game folder in memory, with the neighbourhood chosen in Combo1 but not
// yet read.
struct FuzzGame {
    FuzzGame(Bytes hood, std::optional<Bytes> character);
    FuzzGame(const FuzzGame&) = delete;
    FuzzGame& operator=(const FuzzGame&) = delete;

    // Runs `step`; a fatal stop of the program is one of its expected outcomes, and then the
    // program must have closed its windows first.
    template <typename Step> void UntilProgramEnd(Step step) {
        try {
            step();
        } catch (const ProgramEnd&) {
            if (!ui.Ended()) __builtin_trap();
        }
    }

    // Reads the residents and runs Adultify on the first, as the main window's button does.
    void AdultifyFirstResident();

    HeadlessWindowSystem ui;
    MemoryFileSystem files;
    ManualClock clock;
    Module1 m;
};

} // namespace adultify::fuzz
