#pragma once
// Reading the chosen neighbourhood: every USER text in the file starts a resident entry.

#include "app/module1.h"

namespace adultify {

// Offsets from the first letter U of a resident's user-file text.
namespace resident {
inline constexpr int kNice = 22, kActive = 24, kPlayful = 28, kOutgoing = 30, kNeat = 32;
inline constexpr int kCooking = 38, kCharisma = 40, kMechanical = 42, kCreativity = 48, kBody = 52,
                     kLogic = 54;
inline constexpr int kCareer = 130, kCareerLevel = 132, kAge = 134, kGender = 148;
// Where the sim's GUID, the key of its family record, lies: base-game records (version 4)
// hold it at +180; version 10 records hold 256 person-data values, which push it to +532.
inline constexpr int kFamilyKeyV4 = 180, kFamilyKeyV10 = 532;
inline constexpr std::uint8_t kAgeChild = 9, kAgeAdult = 27;
} // namespace resident

inline constexpr int kResidentLimit = 1000;

// Reads Combo1's neighbourhood into HoodData, fills People and List1. Ends the program with
// its report on any failure, on the resident limit and on an invalid character file.
void Get_People(Module1& m);

// The first name in the resident's character file, or "Not Found".
[[nodiscard]] Bytes ReadCharacterFirstName(Module1& m, const Bytes& userFile);

// The family key's offset for the record whose user-file text starts at position u.
[[nodiscard]] int FamilyKeyOffset(const Bytes& hood, Position u);

} // namespace adultify
