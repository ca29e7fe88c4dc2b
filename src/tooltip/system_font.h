// The system's status-bar font, which tooltips use by default.
#pragma once

#include "platform/gdi/gdi_types.h"

// nullptr when the system metrics cannot be read.
const LOGFONT* GetSystemTooltipFont();
