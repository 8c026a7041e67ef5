#pragma once

namespace dbcopy {

// The progress bar of the program's entry in the task bar or dock, for desktops that read the
// launcher entry signal over the session bus. Without the bus (or without D-Bus support in the
// build) nothing is shown and nothing fails.
class LauncherProgress {
public:
    // Shows fraction (0 to 1) on the program's entry, or hides the bar. Never throws.
    static void show(double fraction, bool visible) noexcept;
};

}  // namespace dbcopy
