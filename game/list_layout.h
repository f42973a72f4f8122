// The geometry the shop's lists and the inventory grid share between their rules and their drawing.
#pragma once
#include <cstdint>

namespace orelog::list_layout {

// Every list shows seven rows, 26 pixels apart, in a band from y = 73 that its scroll bar spans.
inline constexpr int32_t kRowHeight = 26;
inline constexpr int32_t kVisibleRows = 7;
inline constexpr int32_t kTop = 73;
inline constexpr int32_t kHeight = kRowHeight * kVisibleRows;

// The inventory is a grid of five columns, each 72 pixels wide.
inline constexpr int32_t kGridColumns = 5;
inline constexpr int32_t kGridCellWidth = 72;
inline constexpr int32_t kGridWidth = kGridColumns * kGridCellWidth;

}  // namespace orelog::list_layout
