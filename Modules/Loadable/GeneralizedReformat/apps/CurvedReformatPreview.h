// The preview picture of the curvedreformat tool: the straightened vessel as a radiologist looks
// at it.
#ifndef CurvedReformatPreview_h
#define CurvedReformatPreview_h

#include "CurvedReformatFiles.h"

class vtkImageData;

namespace CurvedReformat
{
/// A grey-level window: values from Centre - Width / 2 (black) to Centre + Width / 2 (white).
struct Window
{
  double Centre = 0.0;
  double Width = 1.0;
};

/// The window from the 1st to the 99th percentile of the image's first component (width at
/// least 1).
Window PercentileWindow(vtkImageData* image);

/// Where the parts of a preview lie, in pixels (x to the right, y down from the top left).
struct PreviewLayout
{
  double PixelSize = 1.0; // mm per pixel, the same across and down
  int Width = 0;
  int Height = 0;
  int CutLeft[2] = { 0, 0 }; // the cut across the width (X-Z), the cut across the height (Y-Z)
  int CutWidth[2] = { 0, 0 };
  int CutTop = 0;
  int CutHeight = 0;
  int ScaleBarTop = 0;    // the bar's first row
  int ScaleBarLength = 0; // pixels
  double ScaleBarMillimetres = 0.0;
};

/// The layout of the preview of a straightened volume: each cut spans its volume's physical
/// extent at one pixel size (the smallest voxel spacing, larger when the picture would exceed
/// 2048 pixels), the curve running down; a scale bar of a round length below.
PreviewLayout LayoutPreview(const Volume& straightened);

/// Writes the preview of a straightened volume as an 8-bit grey PNG: the two longitudinal cuts
/// through its centre line (the X-Z plane at mid-height, the Y-Z plane at mid-width), sampled
/// linearly, side by side, windowed with \a window, and a millimetre scale bar with its length.
void WritePreview(const Volume& straightened, const Window& window, const OutputFile& output);
}

#endif
