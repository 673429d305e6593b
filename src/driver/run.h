// Run-wide exits. Every error ends the process from where it is detected.
#pragma once

// Ends the run with `code` after an error: the complete records written so
// far stay in resource.bin (its total-length field stays 0) and the lines of
// resource.h and standard output written so far are flushed.
[[noreturn]] void fail_run(int code);
