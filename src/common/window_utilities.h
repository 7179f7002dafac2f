#pragma once
// How windows behave towards the window manager.

namespace forms {
class Window;
}

// Takes the Close command away: the window is left only through its own buttons, and the
// window manager's close (title-bar button, keyboard shortcut) is ignored.
void DisableXbutton(forms::Window& window);

// Keeps the window above all others (on) or lets it go back among them (off).
void KeepOnTop(forms::Window& window, bool on);
