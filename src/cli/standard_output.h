// The tables and JSON go to standard output; a full disk or a closed pipe
// must not pass for a finished run.
#pragma once

// Flushes standard output; false, with the reason said on standard error,
// when what was printed could not be written.
bool StandardOutputWritten();
