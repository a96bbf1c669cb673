#pragma once

namespace ui {

// A table's look: plain rows edge to edge, or grouped rows in rounded, inset groups on
// pinstripes.
enum class TableViewStyle { Plain = 0, Grouped = 1 };

} // namespace ui
