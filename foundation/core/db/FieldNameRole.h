#pragma once

// The role under which a grid's model gives a column's field name; the
// header text serves when it gives none.
inline constexpr int kFieldNameRole = 0x0100 + 64;
