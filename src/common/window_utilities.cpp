#include "common/window_utilities.h"

#include "forms/window.h"

void DisableXbutton(forms::Window& window) { window.setClosable(false); }

void KeepOnTop(forms::Window& window, bool on) { window.setTopmost(on); }
