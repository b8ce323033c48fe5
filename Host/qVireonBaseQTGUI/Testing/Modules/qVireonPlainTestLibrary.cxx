// A shared library without plug-in metadata.
extern "C" int qVireonPlainTestLibraryAnswer()
{
  return 42;
}
