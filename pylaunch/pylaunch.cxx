// Console program that hands its whole command line to the embedded Python interpreter and
// ends with the interpreter's exit status.
#include <Python.h>

int main(int argc, char* argv[])
{
  // The interpreter decodes the byte arguments exactly as its own program does (locale and
  // UTF-8 mode rules, surrogate escapes for undecodable bytes).
  return Py_BytesMain(argc, argv);
}
