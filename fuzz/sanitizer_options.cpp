// Defaults for every fuzz target. A small quarantine: the default 256 MB makes nearly every
// allocation touch fresh pages, which cost more than the target itself; a use after free
// within one input is still caught.
extern "C" const char* __asan_default_options() {
    return "quarantine_size_mb=8";
}
