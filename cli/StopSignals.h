// SIGINT and SIGTERM during kestal-sim's work: remembered, so that the work stops at its next
// report (within an experiment) and the command ends with the conventional status (128 + the signal).
#pragma once

namespace kestal {

// From now on SIGINT and SIGTERM are caught; a second one ends the program at once.
void CatchStopSignals();

// The signal caught, 0 while none.
int StopSignal();

}  // namespace kestal
