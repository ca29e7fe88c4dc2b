// Turns Qt's input events into window messages: every mouse and key event
// of a widget becomes a MSG that walks the pre-translation chain (the
// widget, then its parents up to its top-level window), and mouse messages
// then reach the object bound to the widget. Also emulates the mouse
// tracking requests (hover and leave notifications).
#pragma once

#include "platform/ui/win_types.h"

// Installs the bridge on the application once; called when a window binds.
void InstallWindowEventBridge();
