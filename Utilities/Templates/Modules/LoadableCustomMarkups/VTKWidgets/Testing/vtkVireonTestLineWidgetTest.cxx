#include <vtkVireonTestLineRepresentation2D.h>
#include <vtkVireonTestLineRepresentation3D.h>
#include <vtkVireonTestLineWidget.h>

#include <vtkKOVAMarkupsTestLineNode.h>

#include <vtkKOVAMarkupsDisplayNode.h>
#include <vtkKOVAMarkupsLineNode.h>
#include <vtkKOVAPlotViewNode.h>
#include <vtkKOVAScene.h>
#include <vtkKOVASliceNode.h>
#include <vtkKOVAViewNode.h>

#include <vtkActor.h>
#include <vtkActor2D.h>
#include <vtkCommand.h>
#include <vtkCutter.h>
#include <vtkGlyphSource2D.h>
#include <vtkMath.h>
#include <vtkNew.h>
#include <vtkObjectFactory.h>
#include <vtkPlane.h>
#include <vtkPolyData.h>
#include <vtkPropCollection.h>
#include <vtkProperty2D.h>
#include <vtkRenderer.h>
#include <vtkSphereSource.h>
#include <vtkVersion.h>

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace
{
// Test access to the representations' pipelines.
class Representation3D : public vtkVireonTestLineRepresentation3D
{
public:
  static Representation3D* New() { VTK_STANDARD_NEW_BODY(Representation3D); }
  vtkTypeMacro(Representation3D, vtkVireonTestLineRepresentation3D);
  using vtkVireonTestLineRepresentation3D::Cutter;
  using vtkVireonTestLineRepresentation3D::CutterActor;
  using vtkVireonTestLineRepresentation3D::MiddlePointActor;
  using vtkVireonTestLineRepresentation3D::MiddlePointSource;
  using vtkVireonTestLineRepresentation3D::SlicingPlane;
  using vtkVireonTestLineRepresentation3D::TargetOrgan;
};

class Representation2D : public vtkVireonTestLineRepresentation2D
{
public:
  static Representation2D* New() { VTK_STANDARD_NEW_BODY(Representation2D); }
  vtkTypeMacro(Representation2D, vtkVireonTestLineRepresentation2D);
  using vtkVireonTestLineRepresentation2D::MiddlePointActor;
  using vtkVireonTestLineRepresentation2D::MiddlePointSource;
  vtkProperty2D* ActiveProperty() { return this->GetControlPointsPipeline(Active)->Property; }
};

// A widget class that the object factory hands out instead of vtkVireonTestLineWidget.
class OverrideWidget : public vtkVireonTestLineWidget
{
public:
  static OverrideWidget* New() { VTK_STANDARD_NEW_BODY(OverrideWidget); }
  vtkTypeMacro(OverrideWidget, vtkVireonTestLineWidget);
};

class OverrideFactory : public vtkObjectFactory
{
public:
  static OverrideFactory* New() { VTK_STANDARD_NEW_BODY(OverrideFactory); }
  vtkTypeMacro(OverrideFactory, vtkObjectFactory);
  const char* GetVTKSourceVersion() override { return VTK_SOURCE_VERSION; }
  const char* GetDescription() override { return "test line widget override"; }

protected:
  OverrideFactory()
  {
    this->RegisterOverride("vtkVireonTestLineWidget",
      "OverrideWidget",
      "test",
      1,
      []() -> vtkObject* { return OverrideWidget::New(); });
  }
};

/// A scene with a markups node (with display node) and the three kinds of views.
struct Fixture
{
  explicit Fixture(const char* markupsClass = "vtkKOVAMarkupsTestLineNode")
  {
    this->Scene->RegisterNodeClass(vtkNew<vtkKOVAMarkupsTestLineNode>());
    this->Node = vtkKOVAMarkupsLineNode::SafeDownCast(this->Scene->AddNewNodeByClass(markupsClass));
    this->Node->CreateDefaultDisplayNodes();
    this->Display = vtkKOVAMarkupsDisplayNode::SafeDownCast(this->Node->GetDisplayNode());
    this->Display->UseGlyphScaleOff();
    this->Display->SetGlyphSize(4.0);
    this->Slice =
      vtkKOVASliceNode::SafeDownCast(this->Scene->AddNewNodeByClass("vtkKOVASliceNode"));
    // Axial slice through z = 0, 1 pixel per millimetre, pixel (100, 100) at the origin.
    this->Slice->SetFieldOfView(200.0, 200.0, 1.0);
    this->Slice->SetDimensions(200, 200, 1);
    this->View = vtkKOVAViewNode::SafeDownCast(this->Scene->AddNewNodeByClass("vtkKOVAViewNode"));
  }
  vtkNew<vtkKOVAScene> Scene;
  vtkKOVAMarkupsLineNode* Node = nullptr;
  vtkKOVAMarkupsDisplayNode* Display = nullptr;
  vtkKOVASliceNode* Slice = nullptr;
  vtkKOVAViewNode* View = nullptr;
  vtkNew<vtkRenderer> Renderer;
};

std::vector<vtkProp*> Actors(vtkProp* prop)
{
  vtkNew<vtkPropCollection> collection;
  prop->GetActors(collection);
  std::vector<vtkProp*> actors;
  collection->InitTraversal();
  while (vtkProp* actor = collection->GetNextProp())
  {
    actors.push_back(actor);
  }
  return actors;
}
}

TEST(vtkVireonTestLineWidget, RepresentationFollowsTheKindOfView)
{
  Fixture f;
  vtkNew<vtkKOVAPlotViewNode> plotView;
  struct Case
  {
    vtkKOVAAbstractViewNode* View;
    const char* RepresentationClass;
  };
  for (const Case& c : { Case{ f.Slice, "vtkVireonTestLineRepresentation2D" },
         Case{ f.View, "vtkVireonTestLineRepresentation3D" },
         Case{ plotView, "vtkVireonTestLineRepresentation3D" } })
  {
    SCOPED_TRACE(c.View->GetClassName());
    vtkNew<vtkVireonTestLineWidget> widget;
    vtkNew<vtkRenderer> renderer;
    widget->CreateDefaultRepresentation(f.Display, c.View, renderer);
    auto* representation =
      vtkVireonMarkupsWidgetRepresentation::SafeDownCast(widget->GetRepresentation());
    ASSERT_NE(representation, nullptr);
    EXPECT_STREQ(representation->GetClassName(), c.RepresentationClass);
    EXPECT_EQ(widget->GetRenderer(), renderer.GetPointer());
    EXPECT_EQ(representation->GetRenderer(), renderer.GetPointer());
    EXPECT_EQ(representation->GetViewNode(), c.View);
    EXPECT_EQ(representation->GetMarkupsDisplayNode(), f.Display);
    EXPECT_EQ(representation->GetMarkupsNode(), f.Node);
    // The widget holds the only reference besides the renderer's prop list.
    EXPECT_TRUE(renderer->HasViewProp(representation));
    EXPECT_EQ(representation->GetReferenceCount(), 2);
    // It was updated once: it is shown and asks for a render.
    EXPECT_TRUE(representation->GetVisibility());
    EXPECT_TRUE(representation->GetNeedToRender());
  }
}

TEST(vtkVireonTestLineWidget, CreateInstanceHonoursObjectFactoryOverrides)
{
  vtkNew<vtkVireonTestLineWidget> prototype;
  vtkSmartPointer<vtkVireonMarkupsWidget> plain =
    vtkSmartPointer<vtkVireonMarkupsWidget>::Take(prototype->CreateInstance());
  ASSERT_NE(plain, nullptr);
  EXPECT_STREQ(plain->GetClassName(), "vtkVireonTestLineWidget");
  EXPECT_NE(plain.GetPointer(), static_cast<vtkVireonMarkupsWidget*>(prototype));
  EXPECT_EQ(plain->GetReferenceCount(), 1);

  // Registered once: VTK keeps texts of each registration until the process ends.
  vtkNew<OverrideFactory> factory;
  vtkObjectFactory::RegisterFactory(factory);
  vtkSmartPointer<vtkVireonMarkupsWidget> overridden =
    vtkSmartPointer<vtkVireonMarkupsWidget>::Take(prototype->CreateInstance());
  // New() does not go through the factory.
  vtkSmartPointer<vtkVireonTestLineWidget> direct = vtkSmartPointer<vtkVireonTestLineWidget>::New();
  vtkObjectFactory::UnRegisterFactory(factory);
  ASSERT_NE(overridden, nullptr);
  EXPECT_STREQ(overridden->GetClassName(), "OverrideWidget");
  EXPECT_EQ(overridden->GetReferenceCount(), 1);
  EXPECT_STREQ(direct->GetClassName(), "vtkVireonTestLineWidget");
}

TEST(vtkVireonTestLineRepresentation3D, MiddlePointSlicingPlaneAndCutter)
{
  Fixture f;
  auto* testLine = vtkKOVAMarkupsTestLineNode::SafeDownCast(f.Node);
  vtkNew<vtkSphereSource> organ;
  testLine->SetTargetOrgan(organ->GetOutput());
  f.Node->AddControlPoint(vtkVector3d(0.0, 2.0, 4.0));
  f.Node->AddControlPoint(vtkVector3d(6.0, 10.0, 4.0));

  vtkNew<Representation3D> representation;
  representation->SetViewNode(f.View);
  representation->SetMarkupsDisplayNode(f.Display);
  representation->UpdateFromKOVA(nullptr, 0, nullptr);

  EXPECT_DOUBLE_EQ(representation->GetControlPointSize(), 4.0);
  const double* center = representation->MiddlePointSource->GetCenter();
  EXPECT_DOUBLE_EQ(center[0], 3.0);
  EXPECT_DOUBLE_EQ(center[1], 6.0);
  EXPECT_DOUBLE_EQ(center[2], 4.0);
  EXPECT_DOUBLE_EQ(representation->MiddlePointSource->GetRadius(), 4.0);
  const double* origin = representation->SlicingPlane->GetOrigin();
  EXPECT_DOUBLE_EQ(origin[0], 3.0);
  EXPECT_DOUBLE_EQ(origin[1], 6.0);
  EXPECT_DOUBLE_EQ(origin[2], 4.0);
  // The normal is the line itself, not normalised.
  const double* normal = representation->SlicingPlane->GetNormal();
  EXPECT_DOUBLE_EQ(normal[0], 6.0);
  EXPECT_DOUBLE_EQ(normal[1], 8.0);
  EXPECT_DOUBLE_EQ(normal[2], 0.0);
  EXPECT_EQ(representation->Cutter->GetCutFunction(), representation->SlicingPlane.GetPointer());
  EXPECT_EQ(representation->Cutter->GetNumberOfContours(), 1);
  EXPECT_DOUBLE_EQ(representation->Cutter->GetValue(0), 0.0);
  EXPECT_TRUE(representation->Cutter->GetGenerateTriangles());
  EXPECT_FALSE(representation->Cutter->GetGenerateCutScalars());
  EXPECT_EQ(representation->TargetOrgan.GetPointer(), organ->GetOutput());
  EXPECT_EQ(representation->Cutter->GetInput(), organ->GetOutput());

  // The glyph size follows the display node.
  f.Display->SetGlyphSize(7.0);
  representation->UpdateFromKOVA(f.Display, vtkCommand::ModifiedEvent, nullptr);
  EXPECT_DOUBLE_EQ(representation->MiddlePointSource->GetRadius(), 7.0);

  // The cut: a circle in the midpoint plane of a sphere around the midpoint.
  organ->SetCenter(3.0, 6.0, 4.0);
  organ->SetRadius(5.0);
  organ->SetThetaResolution(64);
  organ->SetPhiResolution(64);
  organ->Update();
  representation->Cutter->Update();
  vtkPolyData* contour = representation->Cutter->GetOutput();
  ASSERT_GT(contour->GetNumberOfPoints(), 16);
  for (vtkIdType i = 0; i < contour->GetNumberOfPoints(); ++i)
  {
    double p[3];
    contour->GetPoint(i, p);
    EXPECT_NEAR((p[0] - 3.0) * 0.6 + (p[1] - 6.0) * 0.8, 0.0, 1e-6);
    EXPECT_NEAR(std::sqrt(vtkMath::Distance2BetweenPoints(p, center)), 5.0, 0.05);
  }
  testLine->SetTargetOrgan(nullptr);
}

TEST(vtkVireonTestLineRepresentation3D, ActorsListTheContourOnlyWithATargetOrgan)
{
  Fixture f;
  auto* testLine = vtkKOVAMarkupsTestLineNode::SafeDownCast(f.Node);
  f.Node->AddControlPoint(vtkVector3d(0.0, 0.0, 0.0));
  f.Node->AddControlPoint(vtkVector3d(10.0, 0.0, 0.0));

  vtkNew<vtkVireonLineRepresentation3D> line;
  line->SetViewNode(f.View);
  line->SetMarkupsDisplayNode(f.Display);
  line->UpdateFromKOVA(nullptr, 0, nullptr);
  const std::vector<vtkProp*> baseActors = Actors(line);
  ASSERT_FALSE(baseActors.empty());

  vtkNew<Representation3D> representation;
  representation->SetViewNode(f.View);
  representation->SetMarkupsDisplayNode(f.Display);
  representation->UpdateFromKOVA(nullptr, 0, nullptr);
  std::vector<vtkProp*> actors = Actors(representation);
  ASSERT_EQ(actors.size(), baseActors.size() + 1);
  EXPECT_EQ(actors.back(), representation->MiddlePointActor.GetPointer());
  EXPECT_EQ(representation->TargetOrgan.GetPointer(), nullptr);

  vtkNew<vtkSphereSource> organ;
  organ->Update();
  testLine->SetTargetOrgan(organ->GetOutput());
  representation->UpdateFromKOVA(nullptr, 0, nullptr);
  actors = Actors(representation);
  ASSERT_EQ(actors.size(), baseActors.size() + 2);
  EXPECT_EQ(actors[actors.size() - 2], representation->CutterActor.GetPointer());
  EXPECT_EQ(actors.back(), representation->MiddlePointActor.GetPointer());

  // Clearing the target organ clears the cutter input and the reference.
  testLine->SetTargetOrgan(nullptr);
  representation->UpdateFromKOVA(nullptr, 0, nullptr);
  EXPECT_EQ(representation->Cutter->GetInput(), nullptr);
  EXPECT_EQ(representation->TargetOrgan.GetPointer(), nullptr);
  EXPECT_EQ(Actors(representation).size(), baseActors.size() + 1);
}

TEST(vtkVireonTestLineRepresentation3D, OtherMarkupsClassKeepsTheCutterInput)
{
  Fixture f;
  auto* testLine = vtkKOVAMarkupsTestLineNode::SafeDownCast(f.Node);
  vtkNew<vtkSphereSource> organ;
  organ->Update();
  testLine->SetTargetOrgan(organ->GetOutput());
  f.Node->AddControlPoint(vtkVector3d(0.0, 0.0, 0.0));
  f.Node->AddControlPoint(vtkVector3d(10.0, 0.0, 0.0));

  vtkNew<Representation3D> representation;
  representation->SetViewNode(f.View);
  representation->SetMarkupsDisplayNode(f.Display);
  representation->UpdateFromKOVA(nullptr, 0, nullptr);
  ASSERT_EQ(representation->Cutter->GetInput(), organ->GetOutput());

  // A plain line markup: midpoint and plane follow it, the cutter input stays.
  auto* line =
    vtkKOVAMarkupsLineNode::SafeDownCast(f.Scene->AddNewNodeByClass("vtkKOVAMarkupsLineNode"));
  line->CreateDefaultDisplayNodes();
  line->AddControlPoint(vtkVector3d(0.0, 20.0, 0.0));
  line->AddControlPoint(vtkVector3d(0.0, 40.0, 0.0));
  representation->SetMarkupsDisplayNode(
    vtkKOVAMarkupsDisplayNode::SafeDownCast(line->GetDisplayNode()));
  representation->UpdateFromKOVA(nullptr, 0, nullptr);
  EXPECT_DOUBLE_EQ(representation->MiddlePointSource->GetCenter()[1], 30.0);
  EXPECT_DOUBLE_EQ(representation->SlicingPlane->GetOrigin()[1], 30.0);
  EXPECT_DOUBLE_EQ(representation->SlicingPlane->GetNormal()[1], 20.0);
  EXPECT_EQ(representation->Cutter->GetInput(), organ->GetOutput());
  EXPECT_EQ(representation->TargetOrgan.GetPointer(), organ->GetOutput());
  testLine->SetTargetOrgan(nullptr);
}

TEST(vtkVireonTestLineRepresentation3D, NoMarkerWithoutTwoControlPoints)
{
  Fixture f;
  vtkNew<Representation3D> representation;
  representation->SetViewNode(f.View);
  representation->SetMarkupsDisplayNode(f.Display);

  f.Node->AddControlPoint(vtkVector3d(1.0, 2.0, 3.0));
  representation->UpdateFromKOVA(nullptr, 0, nullptr);
  EXPECT_FALSE(representation->MiddlePointActor->GetVisibility());

  f.Node->AddControlPoint(vtkVector3d(3.0, 2.0, 3.0));
  representation->UpdateFromKOVA(nullptr, 0, nullptr);
  EXPECT_TRUE(representation->MiddlePointActor->GetVisibility());
  EXPECT_DOUBLE_EQ(representation->MiddlePointSource->GetCenter()[0], 2.0);

  // Removing a point leaves no stale marker behind.
  f.Node->RemoveNthControlPoint(1);
  representation->UpdateFromKOVA(nullptr, 0, nullptr);
  EXPECT_FALSE(representation->MiddlePointActor->GetVisibility());
  EXPECT_FALSE(representation->CutterActor->GetVisibility());
}

TEST(vtkVireonTestLineRepresentation2D, MarkerAtTheMidpointWhileTheLineCrossesTheSlice)
{
  Fixture f;
  vtkNew<Representation2D> representation;
  representation->SetViewNode(f.Slice);
  representation->SetMarkupsDisplayNode(f.Display);
  EXPECT_DOUBLE_EQ(representation->MiddlePointSource->GetScale(), 5.0);
  EXPECT_EQ(representation->MiddlePointSource->GetGlyphType(), VTK_VERTEX_GLYPH);

  // One point: no marker.
  f.Node->AddControlPoint(vtkVector3d(-20.0, 10.0, 0.0));
  representation->UpdateFromKOVA(nullptr, 0, nullptr);
  EXPECT_TRUE(representation->GetVisibility());
  EXPECT_FALSE(representation->MiddlePointActor->GetVisibility());

  // Both points, the line crosses z = 0: the glyph sits between the display positions.
  f.Node->AddControlPoint(vtkVector3d(40.0, -30.0, 20.0));
  f.Node->SetNthControlPointPosition(0, -20.0, 10.0, -10.0);
  representation->UpdateFromKOVA(nullptr, 0, nullptr);
  double d0[3], d1[3];
  ASSERT_TRUE(representation->GetNthControlPointDisplayPosition(0, d0));
  ASSERT_TRUE(representation->GetNthControlPointDisplayPosition(1, d1));
  EXPECT_DOUBLE_EQ(d0[0], 80.0);
  EXPECT_DOUBLE_EQ(d0[1], 110.0);
  EXPECT_DOUBLE_EQ(d1[0], 140.0);
  EXPECT_DOUBLE_EQ(d1[1], 70.0);
  EXPECT_TRUE(representation->MiddlePointActor->GetVisibility());
  const double* center = representation->MiddlePointSource->GetCenter();
  EXPECT_DOUBLE_EQ(center[0], 110.0);
  EXPECT_DOUBLE_EQ(center[1], 90.0);
  EXPECT_DOUBLE_EQ(center[2], 0.0);
  EXPECT_EQ(representation->MiddlePointActor->GetProperty(), representation->ActiveProperty());

  // Move the slice away from the line: no marker; back to touching: marker again.
  double n[3] = { 0, 0, 1 }, t[3] = { 1, 0, 0 }, p[3] = { 0, 0, 30 };
  f.Slice->SetSliceToRASByNTP(n, t, p);
  representation->UpdateFromKOVA(f.Slice, vtkCommand::ModifiedEvent, nullptr);
  EXPECT_TRUE(representation->GetVisibility());
  EXPECT_FALSE(representation->MiddlePointActor->GetVisibility());
  p[2] = 20.4;
  f.Slice->SetSliceToRASByNTP(n, t, p);
  representation->UpdateFromKOVA(f.Slice, vtkCommand::ModifiedEvent, nullptr);
  EXPECT_TRUE(representation->MiddlePointActor->GetVisibility());
}

TEST(vtkVireonTestLineRepresentation2D, HiddenNodeHidesEverything)
{
  Fixture f;
  f.Node->AddControlPoint(vtkVector3d(0.0, 0.0, -5.0));
  f.Node->AddControlPoint(vtkVector3d(0.0, 0.0, 5.0));
  vtkNew<Representation2D> representation;
  representation->SetViewNode(f.Slice);
  representation->SetMarkupsDisplayNode(f.Display);
  representation->UpdateFromKOVA(nullptr, 0, nullptr);
  ASSERT_TRUE(representation->GetVisibility());
  ASSERT_TRUE(representation->MiddlePointActor->GetVisibility());

  struct Case
  {
    const char* Name;
    void (*Hide)(Fixture&);
    void (*Show)(Fixture&);
  };
  const Case cases[] = {
    { "visibility",
      [](Fixture& x) { x.Display->VisibilityOff(); },
      [](Fixture& x) { x.Display->VisibilityOn(); } },
    { "2D visibility",
      [](Fixture& x) { x.Display->Visibility2DOff(); },
      [](Fixture& x) { x.Display->Visibility2DOn(); } },
    { "other view only",
      [](Fixture& x) { x.Display->AddViewNodeID(x.View->GetID()); },
      [](Fixture& x) { x.Display->RemoveAllViewNodeIDs(); } },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.Name);
    c.Hide(f);
    representation->UpdateFromKOVA(f.Display, vtkCommand::ModifiedEvent, nullptr);
    EXPECT_FALSE(representation->GetVisibility());
    c.Show(f);
    representation->UpdateFromKOVA(f.Display, vtkCommand::ModifiedEvent, nullptr);
    EXPECT_TRUE(representation->GetVisibility());
  }
}
