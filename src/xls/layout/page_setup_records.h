#pragma once

#include <vector>

#include "xls/biff/record.h"
#include "xls/layout/sheet_layout.h"

namespace xls::layout {

// The sheet's print settings: SETUP (paper, orientation, scale, pages to fit), the four
// margins, HCENTER and VCENTER, WSBOOL's fit-to-page switch, PRINTGRIDLINES, the manual
// page breaks, HEADER and FOOTER with HEADERFOOTER's scaling and alignment. The print area lives in
// the workbook's names, not here.
PageSetup ReadPageSetup(const std::vector<biff::Record>& sheet);

}  // namespace xls::layout
