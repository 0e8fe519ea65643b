// Linked into every Qt program of a thread-sanitized build: the tests and the
// programs they start.
//
// Qt is not built with the thread sanitizer. Its own memory accesses through
// intercepted calls (memcpy, new, delete ...) are ignored, so the work its
// image thread pool does for large fills shows up no more; synchronisation
// and every access our code makes are still checked. The functions below
// are Qt's thread-pool hand-offs that were reported besides.
extern "C" const char* __tsan_default_options()
{
    return "ignore_noninstrumented_modules=1";
}

extern "C" const char* __tsan_default_suppressions()
{
    return "race:QRunnable::create\n"
           "race:QThreadPoolPrivate::enqueueTask\n"
           "race:QImageData::create\n";
}
