#pragma once

namespace ui {

// The look of navigation bars, toolbars and their buttons.
enum class BarStyle { Default = 0, Black = 1, BlackTranslucent = 2 };

} // namespace ui
