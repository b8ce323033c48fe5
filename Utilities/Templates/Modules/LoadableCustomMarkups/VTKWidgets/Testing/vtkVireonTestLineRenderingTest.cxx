// Renders test lines in a 3D view and in slice views (needs an X display) and checks pixels at
// projected positions. The images are written as PNG files to VIREON_TEST_OUTPUT_DIR (or the
// working directory) for a person to look at.

#include <vtkVireonTestLineWidget.h>

#include <vtkKOVAMarkupsTestLineNode.h>

#include <vtkKOVAMarkupsDisplayNode.h>
#include <vtkKOVAMarkupsDisplayableManager.h>
#include <vtkKOVAScene.h>
#include <vtkKOVASliceNode.h>
#include <vtkKOVAViewNode.h>
#include <vtkVireonMarkupsLogic.h>

#include <vtkCamera.h>
#include <vtkImageData.h>
#include <vtkMath.h>
#include <vtkNew.h>
#include <vtkPNGWriter.h>
#include <vtkRenderWindow.h>
#include <vtkRenderer.h>
#include <vtkSmartPointer.h>
#include <vtkSphereSource.h>
#include <vtkWindowToImageFilter.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace
{
struct Pixel
{
  int R, G, B;
};

bool IsBackground(const Pixel& p, const double background[3])
{
  return std::abs(p.R - static_cast<int>(background[0] * 255 + 0.5)) <= 3 &&
         std::abs(p.G - static_cast<int>(background[1] * 255 + 0.5)) <= 3 &&
         std::abs(p.B - static_cast<int>(background[2] * 255 + 0.5)) <= 3;
}
// The white default property of the marker, shaded.
bool IsGrey(const Pixel& p)
{
  return std::max({ p.R, p.G, p.B }) - std::min({ p.R, p.G, p.B }) < 30 && p.R > 80;
}
bool IsGreen(const Pixel& p)
{
  return p.G > 150 && p.R < 80 && p.B < 80;
}
// The selected colour, shaded in 3D views.
bool IsRed(const Pixel& p)
{
  return p.R > 80 && p.G < 60 && p.B < 60;
}

double DistanceToSegment(const double q[2], const double a[2], const double b[2])
{
  const double ab[2] = { b[0] - a[0], b[1] - a[1] };
  const double length2 = ab[0] * ab[0] + ab[1] * ab[1];
  double t = length2 > 0 ? ((q[0] - a[0]) * ab[0] + (q[1] - a[1]) * ab[1]) / length2 : 0.0;
  t = std::clamp(t, 0.0, 1.0);
  const double dx = q[0] - (a[0] + t * ab[0]);
  const double dy = q[1] - (a[1] + t * ab[1]);
  return std::sqrt(dx * dx + dy * dy);
}

/// One view: a render window with one renderer, the view node and the displayable manager that
/// makes the markups widgets of the view.
class View
{
public:
  View(vtkKOVAAbstractViewNode* viewNode, vtkVireonMarkupsLogic* logic, int width, int height)
  {
    this->Window->SetSize(width, height);
    this->Window->SetMultiSamples(0);
    this->Window->AddRenderer(this->Renderer);
    this->Manager->SetMarkupsLogic(logic);
    this->Manager->SetRenderer(this->Renderer);
    this->Manager->SetKOVAViewNode(viewNode);
  }

  void Render()
  {
    this->Window->Render();
    this->Grabber->SetInput(this->Window);
    this->Grabber->SetInputBufferTypeToRGB();
    this->Grabber->ReadFrontBufferOff();
    this->Grabber->Modified();
    this->Grabber->Update();
    this->Image = this->Grabber->GetOutput();
  }

  Pixel At(int x, int y)
  {
    int* dims = this->Image->GetDimensions();
    x = std::clamp(x, 0, dims[0] - 1);
    y = std::clamp(y, 0, dims[1] - 1);
    auto* p = static_cast<unsigned char*>(this->Image->GetScalarPointer(x, y, 0));
    return { p[0], p[1], p[2] };
  }

  /// Pixels in the square of half size \a r around (x, y) that pass \a test.
  int Count(double x, double y, int r, const std::function<bool(const Pixel&)>& test)
  {
    int count = 0;
    const int cx = static_cast<int>(std::lround(x));
    const int cy = static_cast<int>(std::lround(y));
    for (int j = cy - r; j <= cy + r; ++j)
    {
      for (int i = cx - r; i <= cx + r; ++i)
      {
        count += test(this->At(i, j)) ? 1 : 0;
      }
    }
    return count;
  }

  int CountAll(const std::function<bool(const Pixel&)>& test)
  {
    int* dims = this->Image->GetDimensions();
    int count = 0;
    for (int j = 0; j < dims[1]; ++j)
    {
      for (int i = 0; i < dims[0]; ++i)
      {
        count += test(this->At(i, j)) ? 1 : 0;
      }
    }
    return count;
  }

  void WorldToDisplay(const double world[3], double display[2])
  {
    this->Renderer->SetWorldPoint(world[0], world[1], world[2], 1.0);
    this->Renderer->WorldToDisplay();
    const double* d = this->Renderer->GetDisplayPoint();
    display[0] = d[0];
    display[1] = d[1];
  }

  void Save(const std::string& name)
  {
    const char* dir = std::getenv("VIREON_TEST_OUTPUT_DIR");
    const std::string path = (dir && *dir ? std::string(dir) + "/" : std::string()) + name;
    vtkNew<vtkPNGWriter> writer;
    writer->SetFileName(path.c_str());
    writer->SetInputData(this->Image);
    writer->Write();
    std::cout << "image: " << path << "\n";
  }

  vtkNew<vtkRenderWindow> Window;
  vtkNew<vtkRenderer> Renderer;
  vtkNew<vtkKOVAMarkupsDisplayableManager> Manager;
  vtkNew<vtkWindowToImageFilter> Grabber;
  vtkSmartPointer<vtkImageData> Image;
};

/// A scene with the markups logic that knows the test line, and one test line from p0 to p1.
class TestLineRendering : public ::testing::Test
{
protected:
  void SetUp() override
  {
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display)
    {
      GTEST_SKIP() << "no X display (run under xvfb-run)";
    }
    this->Logic->SetKOVAScene(this->Scene);
    this->Logic->RegisterMarkupsNode(
      vtkNew<vtkKOVAMarkupsTestLineNode>(), vtkNew<vtkVireonTestLineWidget>());
  }

  vtkKOVAMarkupsTestLineNode* AddTestLine()
  {
    auto* node = vtkKOVAMarkupsTestLineNode::SafeDownCast(
      this->Logic->AddNewMarkupsNode("vtkKOVAMarkupsTestLineNode"));
    auto* displayNode = vtkKOVAMarkupsDisplayNode::SafeDownCast(node->GetDisplayNode());
    displayNode->UseGlyphScaleOff();
    displayNode->SetGlyphSize(6.0);
    displayNode->SetSelectedColor(1.0, 0.0, 0.0);
    displayNode->SetActiveColor(0.0, 1.0, 0.0);
    node->AddControlPoint(vtkVector3d(P0));
    node->AddControlPoint(vtkVector3d(P1));
    return node;
  }

  // The line crosses the axial plane z = -3 at its midpoint (10, 5, -3).
  static constexpr double P0[3] = { -30.0, 5.0, -13.0 };
  static constexpr double P1[3] = { 50.0, 5.0, 7.0 };
  static constexpr double Mid[3] = { 10.0, 5.0, -3.0 };

  vtkNew<vtkKOVAScene> Scene;
  vtkNew<vtkVireonMarkupsLogic> Logic;
};

constexpr double TestLineRendering::P0[3];
constexpr double TestLineRendering::P1[3];
constexpr double TestLineRendering::Mid[3];
}

TEST_F(TestLineRendering, MidpointMarkerAndCutContourIn3D)
{
  auto* viewNode = vtkKOVAViewNode::SafeDownCast(this->Scene->AddNewNodeByClass("vtkKOVAViewNode"));
  View view(viewNode, this->Logic, 400, 400);
  const double background[3] = { 0.1, 0.1, 0.3 };
  view.Renderer->SetBackground(background[0], background[1], background[2]);

  vtkKOVAMarkupsTestLineNode* node = this->AddTestLine();
  ASSERT_EQ(view.Manager->GetNumberOfWidgets(), 1);

  // The organ: a closed sphere of radius 30 centred 8 mm along the line from the midpoint, so
  // the cut is a circle of radius sqrt(30^2 - 8^2) around the midpoint.
  double n[3] = { P1[0] - P0[0], P1[1] - P0[1], P1[2] - P0[2] };
  vtkMath::Normalize(n);
  vtkNew<vtkSphereSource> organ;
  organ->SetCenter(Mid[0] + 8 * n[0], Mid[1] + 8 * n[1], Mid[2] + 8 * n[2]);
  organ->SetRadius(30.0);
  organ->SetThetaResolution(96);
  organ->SetPhiResolution(96);
  organ->Update();
  node->SetTargetOrgan(organ->GetOutput());
  node->Modified();

  // Looking at the midpoint from 30 degrees off the line.
  const double eye[3] = { 0.8, 0.45, 0.4 };
  vtkCamera* camera = view.Renderer->GetActiveCamera();
  camera->SetFocalPoint(Mid[0], Mid[1], Mid[2]);
  camera->SetPosition(Mid[0] + 250 * eye[0], Mid[1] + 250 * eye[1], Mid[2] + 250 * eye[2]);
  camera->SetViewUp(0.0, 0.0, 1.0);
  camera->SetViewAngle(30.0);
  view.Renderer->ResetCameraClippingRange(-100, 100, -100, 100, -100, 100);
  view.Render();
  view.Save("vtkVireonTestLine3D.png");

  // The midpoint marker (a white sphere of the control point size) at the projected midpoint.
  double d[2];
  view.WorldToDisplay(Mid, d);
  EXPECT_GE(view.Count(d[0], d[1], 1, IsGrey), 9) << "marker at " << d[0] << ", " << d[1];

  // The contour: points of the circle in the plane through the midpoint perpendicular to the
  // line. u is in that plane and perpendicular to the viewing direction, v completes the frame.
  double u[3], v[3], eyeUnit[3] = { eye[0], eye[1], eye[2] };
  vtkMath::Normalize(eyeUnit);
  vtkMath::Cross(n, eyeUnit, u);
  vtkMath::Normalize(u);
  vtkMath::Cross(n, u, v);
  const double radius = std::sqrt(30.0 * 30.0 - 8.0 * 8.0);
  auto circlePoint = [&](double angle, double r, double p[3])
  {
    for (int k = 0; k < 3; ++k)
    {
      p[k] = Mid[k] + r * (std::cos(angle) * u[k] + std::sin(angle) * v[k]);
    }
  };
  // The contour is drawn with the default (white) property but lit edge-on; nothing else is
  // drawn near these points, so anything but background is the contour.
  auto isDrawn = [&background](const Pixel& p) { return !IsBackground(p, background); };
  // Samples of the circle on screen, leaving out those near the projected line and its end
  // spheres.
  double s0[2], s1[2];
  view.WorldToDisplay(P0, s0);
  view.WorldToDisplay(P1, s1);
  std::vector<std::array<double, 2>> samples;
  for (int i = 0; i < 24; ++i)
  {
    double p[3], q[2];
    circlePoint(2.0 * vtkMath::Pi() * i / 24, radius, p);
    view.WorldToDisplay(p, q);
    if (DistanceToSegment(q, s0, s1) > 12.0)
    {
      samples.push_back({ q[0], q[1] });
    }
  }
  ASSERT_GE(samples.size(), 16u);
  for (const auto& q : samples)
  {
    EXPECT_GE(view.Count(q[0], q[1], 2, isDrawn), 1) << "no contour near " << q[0] << ", " << q[1];
  }
  // Inside the circle, away from the line and the marker: the organ itself is not drawn.
  double inside[3];
  circlePoint(0.0, 15.0, inside);
  view.WorldToDisplay(inside, d);
  EXPECT_TRUE(IsBackground(view.At(static_cast<int>(d[0]), static_cast<int>(d[1])), background));
  // The line itself (red tube) between the midpoint and the end point.
  const double quarter[3] = { (Mid[0] + P1[0]) / 2, (Mid[1] + P1[1]) / 2, (Mid[2] + P1[2]) / 2 };
  view.WorldToDisplay(quarter, d);
  EXPECT_GE(view.Count(d[0], d[1], 1, IsRed), 1);

  // Without a target organ: the marker stays, the contour goes.
  node->SetTargetOrgan(nullptr);
  node->Modified();
  view.Render();
  view.Save("vtkVireonTestLine3DNoTargetOrgan.png");
  view.WorldToDisplay(Mid, d);
  EXPECT_GE(view.Count(d[0], d[1], 1, IsGrey), 9);
  for (const auto& q : samples)
  {
    EXPECT_EQ(view.Count(q[0], q[1], 2, isDrawn), 0)
      << "contour left near " << q[0] << ", " << q[1];
  }
}

TEST_F(TestLineRendering, MidpointGlyphOnlyInTheSliceTheLineCrosses)
{
  // Axial slices, 0.5 mm per pixel, pixel (150, 150) at (0, 0, z).
  auto makeSlice = [this](const char* name, double z)
  {
    auto* slice =
      vtkKOVASliceNode::SafeDownCast(this->Scene->AddNewNodeByClass("vtkKOVASliceNode"));
    slice->SetLayoutName(name);
    slice->SetFieldOfView(150.0, 150.0, 1.0);
    slice->SetDimensions(300, 300, 1);
    const double normal[3] = { 0, 0, 1 }, x[3] = { 1, 0, 0 }, origin[3] = { 0, 0, z };
    slice->SetSliceToRASByNTP(normal, x, origin);
    return slice;
  };
  vtkKOVASliceNode* crossed = makeSlice("Red", -3.0);
  vtkKOVASliceNode* notCrossed = makeSlice("Yellow", 40.0);
  View crossedView(crossed, this->Logic, 300, 300);
  View notCrossedView(notCrossed, this->Logic, 300, 300);
  const double black[3] = { 0.0, 0.0, 0.0 };

  this->AddTestLine();
  ASSERT_EQ(crossedView.Manager->GetNumberOfWidgets(), 1);
  ASSERT_EQ(notCrossedView.Manager->GetNumberOfWidgets(), 1);
  crossedView.Render();
  crossedView.Save("vtkVireonTestLineSliceCrossed.png");
  notCrossedView.Render();
  notCrossedView.Save("vtkVireonTestLineSliceNotCrossed.png");

  // Display positions: x = 2 X + 150, y = 2 Y + 150. The end points are 10 mm off the slice
  // (not drawn), the projected line runs from (90, 160) to (250, 160), the marker (a point of
  // the control point size, 12 pixels, in the active colour) sits at (170, 160) under the line.
  EXPECT_GE(crossedView.Count(170, 164, 2, IsGreen), 10);
  EXPECT_GE(crossedView.Count(170, 156, 2, IsGreen), 10);
  EXPECT_GE(crossedView.Count(120, 160, 1, IsRed), 3);
  EXPECT_EQ(crossedView.Count(90, 160, 8, IsGreen), 0) << "end points are off the slice";
  EXPECT_TRUE(IsBackground(crossedView.At(170, 200), black));

  // The other slice shows nothing at all.
  EXPECT_EQ(notCrossedView.CountAll([&](const Pixel& p) { return !IsBackground(p, black); }), 0);
}
