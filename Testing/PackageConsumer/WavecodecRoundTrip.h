// A lossless round trip through the installed codec, shared by the package consumers.
#ifndef WavecodecRoundTrip_h
#define WavecodecRoundTrip_h

#include <string>

// Registers the JPEG 2000 codecs, compresses a 16-bit image in memory to JPEG 2000 (Lossless
// Only) through DCMTK, drops the uncompressed pixel data, decompresses, and compares the pixels.
// Returns an empty string when the image came back bit for bit, else what went wrong.
std::string WavecodecRoundTrip();

#endif
