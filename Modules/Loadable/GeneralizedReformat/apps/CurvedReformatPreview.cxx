#include "CurvedReformatPreview.h"

#include <vtkDataArray.h>
#include <vtkImageData.h>
#include <vtkNew.h>
#include <vtkPNGWriter.h>
#include <vtkPointData.h>

#include <vtksys/SystemTools.hxx>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <sstream>
#include <vector>

namespace CurvedReformat
{
namespace
{
const int Margin = 8;         // around everything, and between the cuts
const int MaximumSide = 2048; // pixels
const int GlyphScale = 2;     // the 5 x 7 font drawn at twice its size
const int TextHeight = 7 * GlyphScale;

/// 5 x 7 pixel glyphs, one row of five bits per line, top row first.
struct Glyph
{
  char Character;
  uint8_t Rows[7];
};
const Glyph Font[] = {
  { '0', { 0x0e, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0e } },
  { '1', { 0x04, 0x0c, 0x04, 0x04, 0x04, 0x04, 0x0e } },
  { '2', { 0x0e, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1f } },
  { '3', { 0x1e, 0x01, 0x01, 0x0e, 0x01, 0x01, 0x1e } },
  { '4', { 0x02, 0x06, 0x0a, 0x12, 0x1f, 0x02, 0x02 } },
  { '5', { 0x1f, 0x10, 0x1e, 0x01, 0x01, 0x11, 0x0e } },
  { '6', { 0x06, 0x08, 0x10, 0x1e, 0x11, 0x11, 0x0e } },
  { '7', { 0x1f, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08 } },
  { '8', { 0x0e, 0x11, 0x11, 0x0e, 0x11, 0x11, 0x0e } },
  { '9', { 0x0e, 0x11, 0x11, 0x0f, 0x01, 0x02, 0x0c } },
  { '.', { 0x00, 0x00, 0x00, 0x00, 0x00, 0x0c, 0x0c } },
  { 'm', { 0x00, 0x00, 0x1a, 0x15, 0x15, 0x15, 0x15 } },
  { 'X', { 0x11, 0x11, 0x0a, 0x04, 0x0a, 0x11, 0x11 } },
  { 'Y', { 0x11, 0x11, 0x0a, 0x04, 0x04, 0x04, 0x04 } },
  { 'Z', { 0x1f, 0x01, 0x02, 0x04, 0x08, 0x10, 0x1f } },
  { '-', { 0x00, 0x00, 0x00, 0x0e, 0x00, 0x00, 0x00 } },
};

/// An 8-bit grey picture.
class Canvas
{
public:
  Canvas(int width, int height)
    : Width(width)
    , Height(height)
    , Pixels(static_cast<size_t>(width) * height, 0)
  {
  }

  void Set(int x, int y, uint8_t value)
  {
    if (x >= 0 && x < this->Width && y >= 0 && y < this->Height)
    {
      this->Pixels[static_cast<size_t>(y) * this->Width + x] = value;
    }
  }

  void Fill(int x, int y, int width, int height, uint8_t value)
  {
    for (int row = y; row < y + height; ++row)
    {
      for (int column = x; column < x + width; ++column)
      {
        this->Set(column, row, value);
      }
    }
  }

  /// Draws \a text with its top left corner at (x, y); returns the width drawn.
  int Text(int x, int y, const std::string& text, uint8_t value)
  {
    int left = x;
    for (char character : text)
    {
      const auto glyph = std::find_if(std::begin(Font),
        std::end(Font),
        [character](const Glyph& g) { return g.Character == character; });
      if (glyph != std::end(Font))
      {
        for (int row = 0; row < 7; ++row)
        {
          for (int column = 0; column < 5; ++column)
          {
            if (glyph->Rows[row] & (0x10 >> column))
            {
              this->Fill(
                left + column * GlyphScale, y + row * GlyphScale, GlyphScale, GlyphScale, value);
            }
          }
        }
      }
      left += 6 * GlyphScale;
    }
    return left - x;
  }

  int Width;
  int Height;
  std::vector<uint8_t> Pixels;
};

/// Linear interpolation of the first component at a continuous voxel index, clamped to the
/// image.
double Sample(vtkImageData* image, const double index[3])
{
  int dims[3];
  image->GetDimensions(dims);
  vtkDataArray* scalars = image->GetPointData()->GetScalars();
  int low[3];
  double weight[3];
  for (int k = 0; k < 3; ++k)
  {
    const double clamped = std::min(std::max(index[k], 0.0), dims[k] - 1.0);
    low[k] = std::min(static_cast<int>(std::floor(clamped)), std::max(dims[k] - 2, 0));
    weight[k] = dims[k] > 1 ? clamped - low[k] : 0.0;
  }
  double value = 0.0;
  for (int corner = 0; corner < 8; ++corner)
  {
    double w = 1.0;
    vtkIdType id = 0;
    vtkIdType stride = 1;
    for (int k = 0; k < 3; ++k)
    {
      const int step = (corner >> k) & 1;
      w *= step ? weight[k] : 1.0 - weight[k];
      id += std::min(low[k] + step, dims[k] - 1) * stride;
      stride *= dims[k];
    }
    if (w != 0.0)
    {
      value += w * scalars->GetComponent(id, 0);
    }
  }
  return value;
}

/// A round length (1, 2 or 5 times a power of ten) of at most \a limit.
double RoundLength(double limit)
{
  const double power = std::pow(10.0, std::floor(std::log10(limit)));
  for (double factor : { 5.0, 2.0, 1.0 })
  {
    if (factor * power <= limit)
    {
      return factor * power;
    }
  }
  return power;
}

std::string LengthText(double millimetres)
{
  std::ostringstream text;
  text << millimetres << " mm";
  return text.str();
}
}

//------------------------------------------------------------------------------
Window PercentileWindow(vtkImageData* image)
{
  vtkDataArray* scalars = image->GetPointData()->GetScalars();
  std::vector<double> values(static_cast<size_t>(scalars->GetNumberOfTuples()));
  for (size_t i = 0; i < values.size(); ++i)
  {
    values[i] = scalars->GetComponent(static_cast<vtkIdType>(i), 0);
  }
  Window window;
  if (values.empty())
  {
    return window;
  }
  const size_t lowAt = (values.size() - 1) / 100;
  const size_t highAt = (values.size() - 1) * 99 / 100;
  std::nth_element(values.begin(), values.begin() + lowAt, values.end());
  const double low = values[lowAt];
  std::nth_element(values.begin(), values.begin() + highAt, values.end());
  const double high = values[highAt];
  window.Centre = 0.5 * (low + high);
  window.Width = std::max(high - low, 1.0);
  return window;
}

//------------------------------------------------------------------------------
PreviewLayout LayoutPreview(const Volume& straightened)
{
  int dims[3];
  straightened.Image->GetDimensions(dims);
  double extent[3];
  for (int k = 0; k < 3; ++k)
  {
    extent[k] = dims[k] * straightened.Spacing[k];
  }
  // Room taken by the labels above the cuts and the scale bar below them.
  const int above = Margin + TextHeight + Margin;
  const int below = Margin + 4 + Margin + TextHeight + Margin;
  PreviewLayout layout;
  layout.PixelSize = std::max(
    { std::min({ straightened.Spacing[0], straightened.Spacing[1], straightened.Spacing[2] }),
      (extent[0] + extent[1]) / (MaximumSide - 3 * Margin),
      extent[2] / (MaximumSide - above - below) });
  layout.CutWidth[0] = std::max(1, static_cast<int>(std::lround(extent[0] / layout.PixelSize)));
  layout.CutWidth[1] = std::max(1, static_cast<int>(std::lround(extent[1] / layout.PixelSize)));
  layout.CutHeight = std::max(1, static_cast<int>(std::lround(extent[2] / layout.PixelSize)));
  // Each cut centred in a column wide enough for its label.
  const int labelWidth = 3 * 6 * GlyphScale;
  const int columns[2] = { std::max(layout.CutWidth[0], labelWidth),
    std::max(layout.CutWidth[1], labelWidth) };
  layout.CutLeft[0] = Margin + (columns[0] - layout.CutWidth[0]) / 2;
  layout.CutLeft[1] = 2 * Margin + columns[0] + (columns[1] - layout.CutWidth[1]) / 2;
  layout.CutTop = above;
  layout.ScaleBarTop = layout.CutTop + layout.CutHeight + Margin;
  layout.Width = std::max(3 * Margin + columns[0] + columns[1], 120);
  layout.Height = layout.CutTop + layout.CutHeight + below;
  // Up to half the picture's width, leaving room for its label.
  layout.ScaleBarMillimetres = RoundLength(0.5 * (layout.Width - 2 * Margin) * layout.PixelSize);
  layout.ScaleBarLength =
    static_cast<int>(std::lround(layout.ScaleBarMillimetres / layout.PixelSize));
  return layout;
}

//------------------------------------------------------------------------------
void WritePreview(const Volume& straightened, const Window& window, const OutputFile& output)
{
  const PreviewLayout layout = LayoutPreview(straightened);
  Canvas canvas(layout.Width, layout.Height);
  vtkImageData* image = straightened.Image;
  int dims[3];
  image->GetDimensions(dims);
  const double* spacing = straightened.Spacing;
  const double low = window.Centre - 0.5 * window.Width;
  auto grey = [&](double value)
  {
    const double level = 255.0 * (value - low) / window.Width;
    return static_cast<uint8_t>(std::lround(std::min(std::max(level, 0.0), 255.0)));
  };
  // The centre line runs through the middle of each cross-section, half the box's width and
  // height from its corner, where voxel (0, 0) lies.
  const double centre[2] = { 0.5 * dims[0], 0.5 * dims[1] };
  for (int cut = 0; cut < 2; ++cut)
  {
    const int across = cut; // the axis across the picture: X, then Y
    const int fixed = 1 - cut;
    const int labelWidth = 3 * 6 * GlyphScale - GlyphScale;
    canvas.Text(layout.CutLeft[cut] + (layout.CutWidth[cut] - labelWidth) / 2,
      Margin,
      cut == 0 ? "X-Z" : "Y-Z",
      255);
    for (int row = 0; row < layout.CutHeight; ++row)
    {
      for (int column = 0; column < layout.CutWidth[cut]; ++column)
      {
        // Pixel centres over the voxels' extent, each voxel centred on its position.
        double index[3];
        index[across] = ((column + 0.5) * layout.PixelSize) / spacing[across] - 0.5;
        index[fixed] = centre[fixed];
        index[2] = ((row + 0.5) * layout.PixelSize) / spacing[2] - 0.5;
        canvas.Set(layout.CutLeft[cut] + column, layout.CutTop + row, grey(Sample(image, index)));
      }
    }
  }
  // Scale bar with end ticks, its length written after it.
  canvas.Fill(Margin, layout.ScaleBarTop, layout.ScaleBarLength, 3, 255);
  canvas.Fill(Margin, layout.ScaleBarTop - 3, 2, 9, 255);
  canvas.Fill(Margin + layout.ScaleBarLength - 2, layout.ScaleBarTop - 3, 2, 9, 255);
  canvas.Text(Margin, layout.ScaleBarTop + 4 + Margin, LengthText(layout.ScaleBarMillimetres), 255);

  vtkNew<vtkImageData> picture;
  picture->SetDimensions(layout.Width, layout.Height, 1);
  picture->AllocateScalars(VTK_UNSIGNED_CHAR, 1);
  // PNG rows run from the top, VTK's from the bottom.
  auto* pixels = static_cast<uint8_t*>(picture->GetScalarPointer());
  for (int y = 0; y < layout.Height; ++y)
  {
    std::copy_n(&canvas.Pixels[static_cast<size_t>(y) * layout.Width],
      layout.Width,
      pixels + static_cast<size_t>(layout.Height - 1 - y) * layout.Width);
  }
  vtkNew<vtkPNGWriter> writer;
  writer->SetInputData(picture);
  writer->SetFileName(output.Path.c_str());
  writer->Write();
  if (writer->GetErrorCode() != 0)
  {
    throw Failure{ "cannot write " + output.Target };
  }
}
}
