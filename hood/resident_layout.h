#pragma once
// The resident data block: values at fixed offsets from the first letter of a resident's
// user-file text in the neighbourhood file (person-data value i is the 16-bit value at 18 + 2i),
// and the labels of the main window that show them.

#include "text/ascii.h"
#include "ui/control_id.h"

#include <array>
#include <cstdint>
#include <string_view>
#include <utility>

namespace adultify {

namespace resident {
inline constexpr int kNice = 22, kActive = 24, kPlayful = 28, kOutgoing = 30, kNeat = 32;
inline constexpr int kCooking = 38, kCharisma = 40, kMechanical = 42, kCreativity = 48, kBody = 52,
                     kLogic = 54;
inline constexpr int kCareer = 130, kCareerLevel = 132, kAge = 134, kGender = 148;
// Where the sim's GUID, the key of its family record, lies: base-game records (version 4)
// hold it at +180; version 10 records hold 256 person-data values, which push it to +532.
inline constexpr int kFamilyKeyV4 = 180, kFamilyKeyV10 = 532;
// The record version, a 32-bit value eight bytes before the name: 10 in later records.
inline constexpr int kRecordVersionBack = 8;
inline constexpr std::uint8_t kRecordVersion10 = 0x0A;
inline constexpr std::uint8_t kAgeChild = 9, kAgeAdult = 27;
inline constexpr int kUserFileLength = 9; // "user" and five digits
} // namespace resident

struct TraitRow {
    ControlId valueLabel;
    int offset;
};

// The five traits the game shows, in the order of their labels.
inline constexpr std::array<TraitRow, 5> kTraitRows = {{{"Label7", resident::kNice},
                                                        {"Label8", resident::kActive},
                                                        {"Label9", resident::kPlayful},
                                                        {"Label10", resident::kOutgoing},
                                                        {"Label11", resident::kNeat}}};

struct SkillRow {
    ControlId captionLabel; // "Label12"
    ControlId valueLabel;   // "Label18"
    std::string_view name;  // "Cooking"
    int offset;
};

// The six skills in the order of their labels.
inline constexpr std::array<SkillRow, 6> kSkillRows = {{
    {"Label12", "Label18", "Cooking", resident::kCooking},
    {"Label13", "Label19", "Mechanical", resident::kMechanical},
    {"Label14", "Label20", "Charisma", resident::kCharisma},
    {"Label15", "Label21", "Body", resident::kBody},
    {"Label16", "Label22", "Logic", resident::kLogic},
    {"Label17", "Label23", "Creativity", resident::kCreativity},
}};

// The row of a caption or value label; nullptr when there is none.
[[nodiscard]] constexpr const SkillRow* SkillRowOf(ControlId label) {
    for (const SkillRow& row : kSkillRows)
        if (row.captionLabel == label || row.valueLabel == label) return &row;
    return nullptr;
}
// The row of a skill's name in any letter case ("Cooking", "cooking"); nullptr when there is
// none.
[[nodiscard]] constexpr const SkillRow* SkillRowNamed(std::string_view name) {
    for (const SkillRow& row : kSkillRows)
        if (EqualIgnoringCase(row.name, name)) return &row;
    return nullptr;
}

// The eleven value labels: the traits, then the skills.
inline constexpr std::array<ControlId, kTraitRows.size() + kSkillRows.size()> kValueLabels =
    []<std::size_t... T, std::size_t... S>(std::index_sequence<T...>, std::index_sequence<S...>) {
    return std::array<ControlId, sizeof...(T) + sizeof...(S)>{kTraitRows[T].valueLabel...,
                                                              kSkillRows[S].valueLabel...};
}
(std::make_index_sequence<kTraitRows.size()>(), std::make_index_sequence<kSkillRows.size()>());

} // namespace adultify
