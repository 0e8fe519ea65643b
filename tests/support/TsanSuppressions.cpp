// Linked into every test program of a thread-sanitized build.
//
// Qt is not built with the thread sanitizer: the locks of its own thread pool
// (used for large image fills) are invisible to it and show up as races
// inside Qt. Our own code is still checked.
extern "C" const char* __tsan_default_suppressions()
{
    return "race:libQt6Gui.so.6\nrace:libQt6Core.so.6\n";
}
