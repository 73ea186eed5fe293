#pragma once
// The program's shared state: one plain struct that lives for the whole run.

#include "iff/byte_string.h"
#include "iff/file_system.h"
#include "ui/window_system.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace adultify {

using VbBool = std::int16_t; // booleans the program stores are 16-bit
inline constexpr VbBool kTrue = -1;
inline constexpr VbBool kFalse = 0;

struct PersonRecord {
    std::int32_t EntryPos = 0;
    Bytes UserFile; // as stored, letter case kept
    Bytes FirstName;
    Bytes LastName;
    std::array<std::uint8_t, 2> Age{};
    std::array<std::uint8_t, 2> Career{};
    std::array<std::uint8_t, 2> CareerLevel{};
    std::array<std::uint8_t, 2> Gender{};
    std::array<std::uint8_t, 4> FamilyKey{};
};

inline constexpr int kPeopleSize = 1001;

struct Module1 {
    Module1(WindowSystem& windows, FileSystem& files) : ui(windows), fs(files) {}

    WindowSystem& ui;
    FileSystem& fs;

    std::string SimsPath; // ends with a backslash once set
    std::array<std::string, 11> CareerNames{};
    std::string VersionText;
    VbBool UnsavedData = kFalse;

    Bytes HoodData;
    std::vector<PersonRecord> People = std::vector<PersonRecord>(kPeopleSize);
    std::int16_t RecordCount = 0;

    Bytes UserFileData;
    double SkillEditValue = 0;

    int failedWrites = 0;
    bool commandRunning =
        false; // a main-window command is under way (and may be yielding) // writes reported to the
               // user as failed, for the front ends' exit codes
};

} // namespace adultify
