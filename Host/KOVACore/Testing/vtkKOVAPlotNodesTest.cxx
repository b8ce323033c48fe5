#include <vtkKOVALayoutNode.h>
#include <vtkKOVAPlotChartNode.h>
#include <vtkKOVAPlotSeriesNode.h>
#include <vtkKOVAScene.h>
#include <vtkKOVATableNode.h>
#include <vtkKOVATestErrorCapture.h>
#include <vtkKOVATestEventRecorder.h>

#include <vtkCommand.h>
#include <vtkNew.h>
#include <vtkSmartPointer.h>

#include <gtest/gtest.h>

TEST(vtkKOVAPlotNodes, SceneFileRoundTrip)
{
  vtkNew<vtkKOVAScene> scene;
  vtkKOVANode* table = scene->AddNewNodeByClass("vtkKOVATableNode", "Data");
  auto* series = vtkKOVAPlotSeriesNode::SafeDownCast(
    scene->AddNewNodeByClass("vtkKOVAPlotSeriesNode", "Signal"));
  auto* other =
    vtkKOVAPlotSeriesNode::SafeDownCast(scene->AddNewNodeByClass("vtkKOVAPlotSeriesNode"));
  auto* chart =
    vtkKOVAPlotChartNode::SafeDownCast(scene->AddNewNodeByClass("vtkKOVAPlotChartNode"));
  auto* layout = vtkKOVALayoutNode::SafeDownCast(scene->AddNewNodeByClass("vtkKOVALayoutNode"));
  ASSERT_TRUE(table && series && other && chart && layout);
  series->SetAndObserveTableNodeID(table->GetID());
  series->SetPlotType(vtkKOVAPlotSeriesNode::PlotTypeBar);
  series->SetXColumnName("time \"s\"");
  series->SetYColumnName("value");
  series->SetColor(0.25, 0.5, 1.0);
  chart->SetTitle("Signals & noise");
  chart->AddAndObservePlotSeriesNodeID(series->GetID());
  chart->AddAndObservePlotSeriesNodeID(other->GetID());
  layout->SetViewArrangement(37);

  vtkNew<vtkKOVAScene> read;
  ASSERT_TRUE(read->ReadFromXMLString(scene->WriteToXMLString()));
  auto* readSeries = vtkKOVAPlotSeriesNode::SafeDownCast(read->GetNodeByID(series->GetID()));
  auto* readChart = vtkKOVAPlotChartNode::SafeDownCast(read->GetNodeByID(chart->GetID()));
  auto* readLayout =
    vtkKOVALayoutNode::SafeDownCast(read->GetFirstNodeByClass("vtkKOVALayoutNode"));
  ASSERT_TRUE(readSeries && readChart && readLayout);
  EXPECT_EQ(readSeries->GetPlotType(), vtkKOVAPlotSeriesNode::PlotTypeBar);
  EXPECT_EQ(readSeries->GetXColumnName(), "time \"s\"");
  EXPECT_EQ(readSeries->GetYColumnName(), "value");
  EXPECT_DOUBLE_EQ(readSeries->GetColor()[1], 0.5);
  EXPECT_EQ(readSeries->GetTableNode(), read->GetNodeByID(table->GetID()));
  EXPECT_EQ(readChart->GetTitle(), "Signals & noise");
  ASSERT_EQ(readChart->GetNumberOfPlotSeriesNodes(), 2);
  EXPECT_EQ(readChart->GetNthPlotSeriesNode(0), readSeries);
  EXPECT_STREQ(readChart->GetNthPlotSeriesNodeID(1), other->GetID());
  EXPECT_EQ(readLayout->GetViewArrangement(), 37);
}

TEST(vtkKOVAPlotChartNode, ListsSeriesByID)
{
  vtkNew<vtkKOVAPlotChartNode> chart;
  chart->AddAndObservePlotSeriesNodeID("s1");
  chart->AddAndObservePlotSeriesNodeID("s2");
  chart->AddAndObservePlotSeriesNodeID("s1");
  EXPECT_TRUE(chart->HasPlotSeriesNodeID("s1"));
  EXPECT_TRUE(chart->HasPlotSeriesNodeID("s2"));
  EXPECT_FALSE(chart->HasPlotSeriesNodeID("s3"));
  EXPECT_FALSE(chart->HasPlotSeriesNodeID(nullptr));
  EXPECT_EQ(chart->GetNumberOfPlotSeriesNodes(), 3);

  chart->RemovePlotSeriesNodeID("s1");
  EXPECT_FALSE(chart->HasPlotSeriesNodeID("s1"));
  EXPECT_EQ(chart->GetNumberOfPlotSeriesNodes(), 1);
  chart->SetAndObservePlotSeriesNodeID("s4");
  EXPECT_EQ(chart->GetNumberOfPlotSeriesNodes(), 1);
  EXPECT_STREQ(chart->GetNthPlotSeriesNodeID(0), "s4");
  EXPECT_EQ(chart->GetNthPlotSeriesNodeID(1), nullptr);
  chart->RemoveAllPlotSeriesNodeIDs();
  EXPECT_EQ(chart->GetNumberOfPlotSeriesNodes(), 0);

  vtkKOVATestErrorCapture errors;
  chart->AddAndObservePlotSeriesNodeID(nullptr);
  EXPECT_EQ(chart->GetNumberOfPlotSeriesNodes(), 0);
  EXPECT_TRUE(errors.ContainsError("AddAndObservePlotSeriesNodeID: seriesNodeID is nullptr"));
}

TEST(vtkKOVAPlotSeriesNode, CopyWithSceneKeepsTheIDUntilAdded)
{
  vtkNew<vtkKOVAScene> scene;
  auto* series = vtkKOVAPlotSeriesNode::SafeDownCast(
    scene->AddNewNodeByClass("vtkKOVAPlotSeriesNode", "Signal"));
  vtkKOVANode* table = scene->AddNewNodeByClass("vtkKOVATableNode");
  series->SetAndObserveTableNodeID(table->GetID());
  series->SetPlotType(vtkKOVAPlotSeriesNode::PlotTypeScatter);
  series->SetYColumnName("y");

  vtkSmartPointer<vtkKOVAPlotSeriesNode> copy;
  copy.TakeReference(
    vtkKOVAPlotSeriesNode::SafeDownCast(scene->CreateNodeByClass("vtkKOVAPlotSeriesNode")));
  copy->CopyWithScene(series);
  EXPECT_STREQ(copy->GetID(), series->GetID());
  EXPECT_STREQ(copy->GetName(), "Signal");
  EXPECT_EQ(copy->GetPlotType(), vtkKOVAPlotSeriesNode::PlotTypeScatter);
  EXPECT_EQ(copy->GetYColumnName(), "y");
  EXPECT_STREQ(copy->GetTableNodeID(), table->GetID());

  scene->AddNode(copy);
  EXPECT_STRNE(copy->GetID(), series->GetID());
  EXPECT_EQ(copy->GetTableNode(), table);
}

TEST(vtkKOVAPlotSeriesNode, PlotTypeValidation)
{
  vtkNew<vtkKOVAPlotSeriesNode> series;
  vtkKOVATestErrorCapture errors;
  series->SetPlotType(vtkKOVAPlotSeriesNode::PlotType_Last);
  series->SetPlotType(-1);
  EXPECT_EQ(series->GetPlotType(), vtkKOVAPlotSeriesNode::PlotTypeLine);
  EXPECT_EQ(errors.GetNumberOfErrors(), 2);
  EXPECT_EQ(vtkKOVAPlotSeriesNode::GetPlotTypeFromString("ScatterBar"),
    vtkKOVAPlotSeriesNode::PlotTypeScatterBar);
  EXPECT_EQ(vtkKOVAPlotSeriesNode::GetPlotTypeFromString("Pie"), -1);
}

TEST(vtkKOVALayoutNode, ViewArrangementModifiedOnlyOnChange)
{
  vtkNew<vtkKOVALayoutNode> layout;
  vtkKOVATestEventRecorder modified(layout, vtkCommand::ModifiedEvent);
  EXPECT_EQ(layout->GetViewArrangement(), 0);
  layout->SetViewArrangement(34);
  layout->SetViewArrangement(34);
  EXPECT_EQ(modified.Count(), 1);
  EXPECT_EQ(layout->GetViewArrangement(), 34);
}
