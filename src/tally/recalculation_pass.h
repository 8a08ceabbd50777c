#pragma once

namespace tally {

class TallySheet;

// Recomputes every line's volume and amount and the two totals from the texts as they
// stand, writing the results back as formatted texts (which runs zero suppression).
//
// Loop 1 computes each row's volume and keeps Text10 and Text11 as running sums of the
// texts as shown; Text11 sums the amounts the previous pass wrote, so the total amount
// follows a changed line one pass later. Loop 2 then computes each row's amount from its
// volume as shown. A value beyond the double range cannot be computed: its field gets the
// empty text and it adds nothing, and the pass goes on.
void RecalculationPass(TallySheet& sheet);

}  // namespace tally
