#include <vtkVireonPlotsLogic.h>

#include <vtkKOVAApplicationLogic.h>
#include <vtkKOVALayoutNode.h>
#include <vtkKOVAPlotChartNode.h>
#include <vtkKOVAPlotSeriesNode.h>
#include <vtkKOVAPlotViewNode.h>
#include <vtkKOVAScene.h>
#include <vtkKOVASelectionNode.h>
#include <vtkKOVATableNode.h>
#include <vtkKOVATestErrorCapture.h>
#include <vtkKOVATestEventRecorder.h>

#include <vtkCommand.h>
#include <vtkNew.h>
#include <vtkObjectFactory.h>

#include <gtest/gtest.h>

#include <string>

namespace
{
/// Counts the propagation requests it receives (and propagates).
class RecordingApplicationLogic : public vtkKOVAApplicationLogic
{
public:
  static RecordingApplicationLogic* New() { VTK_STANDARD_NEW_BODY(RecordingApplicationLogic); }
  vtkTypeMacro(RecordingApplicationLogic, vtkKOVAApplicationLogic);

  void PropagatePlotChartSelection() override
  {
    ++this->Propagations;
    this->Superclass::PropagatePlotChartSelection();
  }
  int Propagations = 0;
};

class vtkVireonPlotsLogicTest : public ::testing::Test
{
protected:
  void SetUp() override
  {
    // As the host does: application logic first, then the scene.
    this->ApplicationLogic->SetKOVAScene(this->Scene);
    this->Logic->SetKOVAApplicationLogic(this->ApplicationLogic);
    this->Logic->SetKOVAScene(this->Scene);
  }

  vtkKOVAPlotSeriesNode* AddSeries(const char* name)
  {
    return vtkKOVAPlotSeriesNode::SafeDownCast(
      this->Scene->AddNewNodeByClass("vtkKOVAPlotSeriesNode", name));
  }
  vtkKOVAPlotChartNode* AddChart()
  {
    return vtkKOVAPlotChartNode::SafeDownCast(
      this->Scene->AddNewNodeByClass("vtkKOVAPlotChartNode"));
  }
  vtkKOVALayoutNode* AddLayout(int arrangement)
  {
    auto* layout =
      vtkKOVALayoutNode::SafeDownCast(this->Scene->AddNewNodeByClass("vtkKOVALayoutNode"));
    layout->SetViewArrangement(arrangement);
    return layout;
  }

  vtkNew<vtkKOVAScene> Scene;
  vtkNew<RecordingApplicationLogic> ApplicationLogic;
  vtkNew<vtkVireonPlotsLogic> Logic;
};
}

TEST_F(vtkVireonPlotsLogicTest, CloneSeriesCopiesAndNamesUniquely)
{
  vtkKOVANode* table = this->Scene->AddNewNodeByClass("vtkKOVATableNode");
  vtkKOVAPlotSeriesNode* source = this->AddSeries("Signal");
  source->SetAndObserveTableNodeID(table->GetID());
  source->SetPlotType(vtkKOVAPlotSeriesNode::PlotTypeScatter);
  source->SetXColumnName("time");
  source->SetYColumnName("value");
  source->SetColor(1.0, 0.5, 0.0);
  this->Scene->AddNewNodeByClass("vtkKOVATextNode", "Signal_Copy");
  const int nodes = this->Scene->GetNumberOfNodes();

  vtkKOVAPlotSeriesNode* clone = this->Logic->CloneSeries(source, "NotUsed");
  ASSERT_NE(clone, nullptr);
  EXPECT_EQ(this->Scene->GetNumberOfNodes(), nodes + 1);
  EXPECT_EQ(clone->GetScene(), this->Scene.GetPointer());
  EXPECT_EQ(clone->GetReferenceCount(), 1); // the scene's
  EXPECT_STREQ(clone->GetName(), "Signal_Copy_1");
  EXPECT_STRNE(clone->GetID(), source->GetID());
  EXPECT_EQ(this->Scene->GetNodeByID(source->GetID()), source);
  EXPECT_EQ(clone->GetPlotType(), vtkKOVAPlotSeriesNode::PlotTypeScatter);
  EXPECT_EQ(clone->GetXColumnName(), "time");
  EXPECT_EQ(clone->GetYColumnName(), "value");
  EXPECT_DOUBLE_EQ(clone->GetColor()[1], 0.5);
  EXPECT_EQ(clone->GetTableNode(), table);

  // A clone of the clone, and of a series without a name.
  vtkKOVAPlotSeriesNode* second = this->Logic->CloneSeries(clone, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_STREQ(second->GetName(), "Signal_Copy_1_Copy");
  source->SetName(nullptr);
  vtkKOVAPlotSeriesNode* unnamed = this->Logic->CloneSeries(source, "Signal");
  ASSERT_NE(unnamed, nullptr);
  EXPECT_STREQ(unnamed->GetName(), "_Copy");
  vtkKOVAPlotSeriesNode* unnamedAgain = this->Logic->CloneSeries(source, nullptr);
  ASSERT_NE(unnamedAgain, nullptr);
  EXPECT_STREQ(unnamedAgain->GetName(), "_Copy_1");
}

TEST_F(vtkVireonPlotsLogicTest, CloneSeriesGoesToTheSourceScene)
{
  vtkNew<vtkKOVAScene> other;
  auto* source =
    vtkKOVAPlotSeriesNode::SafeDownCast(other->AddNewNodeByClass("vtkKOVAPlotSeriesNode", "S"));
  vtkNew<vtkVireonPlotsLogic> sceneless;
  vtkKOVAPlotSeriesNode* clone = sceneless->CloneSeries(source, nullptr);
  ASSERT_NE(clone, nullptr);
  EXPECT_EQ(clone->GetScene(), other.GetPointer());
  EXPECT_EQ(other->GetNumberOfNodesByClass("vtkKOVAPlotSeriesNode"), 2);
  EXPECT_EQ(this->Scene->GetNumberOfNodesByClass("vtkKOVAPlotSeriesNode"), 0);
}

TEST_F(vtkVireonPlotsLogicTest, CloneSeriesNeedsASourceInAScene)
{
  vtkNew<vtkKOVAPlotSeriesNode> loose;
  loose->SetName("Loose");
  const int nodes = this->Scene->GetNumberOfNodes();
  vtkKOVATestErrorCapture errors;
  EXPECT_EQ(this->Logic->CloneSeries(loose, nullptr), nullptr);
  EXPECT_EQ(this->Logic->CloneSeries(nullptr, "x"), nullptr);
  const std::string message =
    "vtkVireonPlotsLogic::CloneSeries failed: source is nullptr or not added to a a scene";
  EXPECT_EQ(errors.GetErrorMessages(), (std::vector<std::string>{ message, message }));
  EXPECT_EQ(this->Scene->GetNumberOfNodes(), nodes);
  EXPECT_EQ(loose->GetReferenceCount(), 1);
}

TEST_F(vtkVireonPlotsLogicTest, FirstPlotChartForSeries)
{
  vtkKOVAPlotSeriesNode* series = this->AddSeries("A");
  vtkKOVAPlotSeriesNode* other = this->AddSeries("B");
  vtkKOVAPlotSeriesNode* unlisted = this->AddSeries("C");
  vtkKOVAPlotChartNode* onlyOther = this->AddChart();
  vtkKOVAPlotChartNode* first = this->AddChart();
  vtkKOVAPlotChartNode* second = this->AddChart();
  onlyOther->AddAndObservePlotSeriesNodeID(other->GetID());
  first->AddAndObservePlotSeriesNodeID(other->GetID());
  first->AddAndObservePlotSeriesNodeID(series->GetID());
  second->AddAndObservePlotSeriesNodeID(series->GetID());

  EXPECT_EQ(this->Logic->GetFirstPlotChartForSeries(series), first);
  EXPECT_EQ(this->Logic->GetFirstPlotChartForSeries(other), onlyOther);
  EXPECT_EQ(this->Logic->GetFirstPlotChartForSeries(unlisted), nullptr);
  EXPECT_EQ(this->Logic->GetFirstPlotChartForSeries(nullptr), nullptr);

  // Scene order decides: after the first chart is removed the second one is found.
  this->Scene->RemoveNode(first);
  EXPECT_EQ(this->Logic->GetFirstPlotChartForSeries(series), second);

  // A series outside the scene has no ID, and a logic without a scene finds nothing.
  vtkNew<vtkKOVAPlotSeriesNode> loose;
  EXPECT_EQ(this->Logic->GetFirstPlotChartForSeries(loose), nullptr);
  vtkNew<vtkVireonPlotsLogic> sceneless;
  EXPECT_EQ(sceneless->GetFirstPlotChartForSeries(series), nullptr);
}

TEST_F(vtkVireonPlotsLogicTest, ShowChartInLayoutSwitchesLayoutAndSelectsChart)
{
  vtkKOVALayoutNode* layout = this->AddLayout(34);
  auto* view =
    vtkKOVAPlotViewNode::SafeDownCast(this->Scene->AddNewNodeByClass("vtkKOVAPlotViewNode"));
  vtkKOVAPlotChartNode* chart = this->AddChart();
  vtkKOVASelectionNode* selection = this->ApplicationLogic->GetSelectionNode();
  ASSERT_TRUE(view && selection);

  this->Logic->ShowChartInLayout(chart);
  EXPECT_EQ(layout->GetViewArrangement(), 38);
  EXPECT_STREQ(selection->GetActivePlotChartID(), chart->GetID());
  EXPECT_EQ(this->ApplicationLogic->Propagations, 1);
  EXPECT_STREQ(view->GetPlotChartNodeID(), chart->GetID());

  // A layout that has a plot view already is left alone: not even a modification.
  layout->SetViewArrangement(37);
  vtkKOVATestEventRecorder layoutModified(layout, vtkCommand::ModifiedEvent);
  const vtkMTimeType layoutTime = layout->GetMTime();
  this->Logic->ShowChartInLayout(chart);
  EXPECT_EQ(layout->GetViewArrangement(), 37);
  EXPECT_EQ(layoutModified.Count(), 0);
  EXPECT_EQ(layout->GetMTime(), layoutTime);
  EXPECT_EQ(this->ApplicationLogic->Propagations, 2);

  // No chart: the active chart is cleared, and the selection still propagates.
  this->Logic->ShowChartInLayout(nullptr);
  EXPECT_EQ(selection->GetActivePlotChartID(), nullptr);
  EXPECT_EQ(this->ApplicationLogic->Propagations, 3);
  EXPECT_EQ(view->GetPlotChartNodeID(), nullptr);
}

TEST_F(vtkVireonPlotsLogicTest, ShowChartInLayoutWithPartsMissing)
{
  vtkKOVAPlotChartNode* chart = this->AddChart();

  // No layout node: the chart is still selected.
  this->Logic->ShowChartInLayout(chart);
  EXPECT_STREQ(this->ApplicationLogic->GetSelectionNode()->GetActivePlotChartID(), chart->GetID());
  EXPECT_EQ(this->ApplicationLogic->Propagations, 1);

  // No selection node: propagation is asked for all the same.
  this->Scene->RemoveNode(this->ApplicationLogic->GetSelectionNode());
  ASSERT_EQ(this->ApplicationLogic->GetSelectionNode(), nullptr);
  this->Logic->ShowChartInLayout(chart);
  EXPECT_EQ(this->ApplicationLogic->Propagations, 2);

  // No application logic: only the layout changes.
  vtkKOVALayoutNode* layout = this->AddLayout(2);
  vtkNew<vtkVireonPlotsLogic> alone;
  alone->SetKOVAScene(this->Scene);
  alone->ShowChartInLayout(chart);
  EXPECT_EQ(layout->GetViewArrangement(), 36);
  EXPECT_EQ(this->ApplicationLogic->Propagations, 2);

  // No scene either: nothing to do, and no error.
  vtkNew<vtkVireonPlotsLogic> empty;
  vtkKOVATestErrorCapture errors;
  empty->ShowChartInLayout(chart);
  EXPECT_EQ(errors.GetNumberOfErrors(), 0);
}

TEST(vtkVireonPlotsLogic, LayoutWithPlot)
{
  const std::pair<int, int> cases[] = {
    { 2, 36 },
    { 34, 38 },
    { 36, 36 },
    { 37, 37 },
    { 38, 38 },
    { 39, 39 },
    { 40, 40 },
    { 35, 37 },
    { 0, 37 },
    { 1, 37 },
    { 4, 37 },
    { 41, 37 },
    { -1, 37 },
  };
  for (const auto& c : cases)
  {
    EXPECT_EQ(vtkVireonPlotsLogic::GetLayoutWithPlot(c.first), c.second) << c.first;
  }
}
