#pragma once
// The program's one list of working windows, registered at start-up.

#include "ui/window_registry.h"

namespace nc::app {

void registerWorkingWindows(ui::WindowRegistry& registry);

} // namespace nc::app
