// Leak checking in the sanitizer build of the desktop tests. SDL's D-Bus connection leaves
// blocks behind that the leak checker reports now and then with frames it cannot place in any
// library, so no suppression can name them: leak detection is off for this test program (its
// memory errors and undefined behaviour are still checked). The named suppressions cover the
// leaks that can be traced when detection is switched back on with LSAN_OPTIONS.
extern "C" const char* __lsan_default_suppressions();
extern "C" const char* __asan_default_options();

extern "C" const char* __lsan_default_suppressions() {
  return "leak:libdbus-1.so\n"
         "leak:libX11.so\n"
         "leak:libGLX_mesa.so\n"
         "leak:swrast_dri.so\n"
         "leak:libLLVM\n";
}

extern "C" const char* __asan_default_options() {
  return "detect_leaks=0";
}
