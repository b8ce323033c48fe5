// Linked into Qt tests of the sanitizer build. Qt's offscreen platform plug-in leaks its screen
// objects at exit; cmake/sanitizers/lsan.supp suppresses exactly those allocations (made under
// QGuiApplicationPrivate::createPlatformIntegration), which needs full allocation stacks: the
// default fast unwinder stops inside Qt's libraries.
extern "C" const char* __asan_default_options()
{
  return "fast_unwind_on_malloc=0";
}
