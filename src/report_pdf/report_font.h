// The report's typeface: the Song/Ming face the dialog shows its Chinese
// in, so the paper reads like the screen. The PDF embeds it.
#pragma once

#include <QFont>

#include "report_pdf/page_items.h"

namespace report_pdf {

QFont ReportFont(FontRole role);

}  // namespace report_pdf
