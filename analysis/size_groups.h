// The size groups: fish weight classes from "0.1 gr" to "3 Kg", each with the
// segment limits and the typical length and breadth that seed a channel's
// detection parameters.
#ifndef TINDAVEL_ANALYSIS_SIZE_GROUPS_H_
#define TINDAVEL_ANALYSIS_SIZE_GROUPS_H_

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

inline constexpr int kSizeGroupCount = 10;  // groups 0..9; the selectors offer 0..8

struct SizeGroupRow {
  int32_t MinWidth;        // pixels
  int32_t GapLimit;        // pixels
  int32_t Length;          // typical length, lines
  int32_t LengthFloor;     // lines
  int32_t BreadthMm;       // typical breadth, mm
  int32_t BreadthFloorMm;  // mm
  int32_t GaugeFactor;     // capacity gauge maximum per buffer-second
};

inline constexpr std::array<SizeGroupRow, kSizeGroupCount> kSizeGroups{{
    {1, 0, 8, 2, 9, 2, 400},        // 0 "0.1 gr"
    {1, 0, 12, 2, 11, 2, 228},      // 1 " 0.3 gr"
    {2, 1, 15, 2, 14, 3, 125},      // 2 " 1 gr"
    {3, 2, 21, 3, 20, 4, 70},       // 3 " 3 gr"
    {4, 3, 25, 4, 29, 6, 40},       // 4 "10 gr"
    {5, 4, 35, 6, 42, 8, 27},       // 5 "30 gr"
    {6, 5, 50, 8, 63, 12, 20},      // 6 "100 gr"
    {8, 7, 70, 12, 91, 18, 15},     // 7 "300 gr"
    {10, 9, 123, 14, 136, 23, 12},  // 8 "1 Kg"
    {12, 11, 160, 22, 196, 34, 11}, // 9 "3 Kg"
}};

// The names shown for the groups; some keep a leading blank.
inline constexpr std::array<std::string_view, kSizeGroupCount> SizeGroupNames{
    "0.1 gr", " 0.3 gr", " 1 gr", " 3 gr", "10 gr",
    "30 gr",  "100 gr",  "300 gr", "1 Kg",  "3 Kg"};

// The table row for a stored size group. Settings and report files may hold
// any number; one below 0 is taken as the smallest group and one above 9 as
// the largest, so a damaged value still gives limits of a real group.
constexpr int sizeGroupIndex(int32_t group) {
  return group < 0 ? 0 : group >= kSizeGroupCount ? kSizeGroupCount - 1 : group;
}

// The name of a group as stored, or nothing for a number outside the table
// (the printed report shows no value for it; the viewers clamp with
// sizeGroupIndex first).
constexpr std::optional<std::string_view> sizeGroupName(int32_t group) {
  if (group < 0 || group >= kSizeGroupCount) return std::nullopt;
  return SizeGroupNames[static_cast<std::size_t>(group)];
}

#endif  // TINDAVEL_ANALYSIS_SIZE_GROUPS_H_
