// The main dialog's tooltips: the tip window, its tools (the buttons, the
// circuit list and the hidden query controls, with their markup texts and
// the tip icon) and the look the dialog gives them.
#pragma once

#include "platform/ui/wnd.h"
#include "tooltip/glint_tooltip.h"

// Creates the tip window for `pDialog` and registers its tools and settings.
// Controls the dialog does not have are left out. FALSE when the tip window
// cannot be created (tools and settings are kept all the same) or when there
// is no dialog; the dialog then works without tips.
BOOL SetUpMainDialogTips(CGlintTooltip& tooltip, CWnd* pDialog);
