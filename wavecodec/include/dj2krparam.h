// Representation parameter of the JPEG 2000 transfer syntaxes.
#ifndef DJ2KRPARAM_H
#define DJ2KRPARAM_H

#include "dcmtk/config/osconfig.h"
#include "dcmtk/dcmdata/dcpixel.h"

#include "dj2kutil.h"

// Selects lossless or lossy encoding and the target compression ratio.
class WAVECODEC_EXPORT DJ2KRepresentationParameter : public DcmRepresentationParameter
{
public:
  // compressionRatio: target ratio for lossy encoding (10 means 10:1); 0 or below means 10.
  DJ2KRepresentationParameter(OFBool losslessProcess = OFTrue, double compressionRatio = 0.0);

  DJ2KRepresentationParameter(const DJ2KRepresentationParameter& arg);

  DJ2KRepresentationParameter& operator=(const DJ2KRepresentationParameter& arg);

  virtual ~DJ2KRepresentationParameter();

  // Returns a heap copy that the caller owns.
  virtual DcmRepresentationParameter* clone() const;

  // Returns "DJ2KRepresentationParameter".
  virtual const char* className() const;

  // Equal when arg is of this class with the same process and exactly the same ratio.
  virtual OFBool operator==(const DcmRepresentationParameter& arg) const;

  OFBool useLosslessProcess() const { return losslessProcess_; }
  double getCompressionRatio() const { return compressionRatio_; }

private:
  OFBool losslessProcess_;
  double compressionRatio_;
};

#endif
