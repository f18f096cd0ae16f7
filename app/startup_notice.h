#pragma once

#include <string>

namespace tanabashigo {

/// Whether nobody reads stderr: neither a terminal nor a pipe to another program, as when
/// started from the menu.
bool stderrUnread();

/// Whether a message box would be seen: a window system that shows its windows on a screen
/// (not offscreen or minimal), with a screen. Needs the application object.
bool screenVisible();

/// Shows `text` in a message box when nobody reads stderr and a screen would show the box;
/// never waits for an answer that cannot come.
void showWhenUnseen(const std::string& text);

}  // namespace tanabashigo
