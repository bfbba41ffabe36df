// Linked into every fuzz target. AddressSanitizer keeps freed memory out of
// use in a quarantine of 256 MB by default; the targets free nearly all an
// input allocated before the next, so with that quarantine every input ran
// on fresh pages (a page fault for each, most of a report's time). 16 MB
// still holds far more than one input frees, so a use after free within an
// input, or of what the input before left, is caught as before.
extern "C" const char* __asan_default_options();
extern "C" const char* __asan_default_options() { return "quarantine_size_mb=16"; }
