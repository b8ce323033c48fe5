#include "vtkKOVAMarkupsCurveNode.h"

#include "vtkKOVAI18N.h"
#include "vtkKOVAScene.h"

#include <vtkDataArray.h>
#include <vtkDoubleArray.h>
#include <vtkMath.h>
#include <vtkMatrix4x4.h>
#include <vtkObjectFactory.h>
#include <vtkParallelTransportFrame.h>
#include <vtkPointData.h>
#include <vtkPoints.h>
#include <vtkPolyData.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <sstream>

vtkKOVANodeNewMacro(vtkKOVAMarkupsCurveNode);
vtkKOVASceneBuiltInNodeMacro(vtkKOVAMarkupsCurveNode);

//------------------------------------------------------------------------------
vtkKOVAMarkupsCurveNode::vtkKOVAMarkupsCurveNode()
{
  this->TypeDisplayName = vtkKOVAI18N::Translate("vtkKOVAMarkupsCurveNode", "Curve");
  this->CurveType = CurveTypeCardinalSpline;
  this->NumberOfPointsPerInterpolatingSegment = 10;
}

vtkKOVAMarkupsCurveNode::~vtkKOVAMarkupsCurveNode() = default;

void vtkKOVAMarkupsCurveNode::PrintSelf(ostream& os, vtkIndent indent)
{
  this->Superclass::PrintSelf(os, indent);
  os << indent << "PreferredInitialNormalWorld: " << this->PreferredInitialNormalWorld[0] << " "
     << this->PreferredInitialNormalWorld[1] << " " << this->PreferredInitialNormalWorld[2] << "\n";
}

void vtkKOVAMarkupsCurveNode::SetPreferredInitialNormalWorld(double x, double y, double z)
{
  if (this->PreferredInitialNormalWorld[0] == x && this->PreferredInitialNormalWorld[1] == y &&
      this->PreferredInitialNormalWorld[2] == z)
  {
    return;
  }
  this->PreferredInitialNormalWorld[0] = x;
  this->PreferredInitialNormalWorld[1] = y;
  this->PreferredInitialNormalWorld[2] = z;
  this->Modified();
}

//------------------------------------------------------------------------------
double vtkKOVAMarkupsCurveNode::GetCurveLengthWorld(vtkIdType startCurvePointIndex,
  vtkIdType numberOfCurvePoints)
{
  vtkPoints* points = this->GetCurvePointsWorld();
  const vtkIdType count = points->GetNumberOfPoints();
  if (startCurvePointIndex < 0 || startCurvePointIndex >= count)
  {
    return 0.0;
  }
  vtkIdType end = count - 1;
  if (numberOfCurvePoints >= 0)
  {
    end = std::min(end, startCurvePointIndex + numberOfCurvePoints - 1);
  }
  double length = 0.0;
  double previous[3];
  points->GetPoint(startCurvePointIndex, previous);
  for (vtkIdType i = startCurvePointIndex + 1; i <= end; ++i)
  {
    double current[3];
    points->GetPoint(i, current);
    length += std::sqrt(vtkMath::Distance2BetweenPoints(previous, current));
    std::copy(current, current + 3, previous);
  }
  return length;
}

//------------------------------------------------------------------------------
void vtkKOVAMarkupsCurveNode::UpdateFrames()
{
  vtkPolyData* curve = this->GetCurveWorld();
  if (this->Frames && this->FramesBuildTime > curve->GetMTime() &&
      this->FramesBuildTime > curve->GetPoints()->GetMTime() &&
      this->FramesBuildTime > this->GetMTime())
  {
    return;
  }
  vtkNew<vtkParallelTransportFrame> frames;
  frames->SetInputData(curve);
  frames->SetPreferredInitialNormalVector(this->PreferredInitialNormalWorld);
  frames->Update();
  this->Frames = vtkSmartPointer<vtkPolyData>::New();
  this->Frames->ShallowCopy(frames->GetOutput());
  this->FramesBuildTime.Modified();
}

bool vtkKOVAMarkupsCurveNode::GetCurvePointToWorldTransformAtPointIndex(vtkIdType curvePointIndex,
  vtkMatrix4x4* curvePointToWorld)
{
  if (!curvePointToWorld)
  {
    vtkErrorMacro("GetCurvePointToWorldTransformAtPointIndex: curvePointToWorld is nullptr");
    return false;
  }
  curvePointToWorld->Identity();
  this->UpdateFrames();
  if (curvePointIndex < 0 || curvePointIndex >= this->Frames->GetNumberOfPoints())
  {
    vtkErrorMacro("GetCurvePointToWorldTransformAtPointIndex: curve point index "
                  << curvePointIndex << " is out of range");
    return false;
  }
  vtkPointData* pointData = this->Frames->GetPointData();
  vtkDataArray* normals = pointData->GetArray("Normals");
  vtkDataArray* binormals = pointData->GetArray("Binormals");
  vtkDataArray* tangents = pointData->GetArray("Tangents");
  if (!normals || !binormals || !tangents)
  {
    return false;
  }
  double point[3];
  this->Frames->GetPoint(curvePointIndex, point);
  double normal[3], binormal[3], tangent[3];
  normals->GetTuple(curvePointIndex, normal);
  binormals->GetTuple(curvePointIndex, binormal);
  tangents->GetTuple(curvePointIndex, tangent);
  for (int r = 0; r < 3; ++r)
  {
    curvePointToWorld->SetElement(r, 0, normal[r]);
    curvePointToWorld->SetElement(r, 1, binormal[r]);
    curvePointToWorld->SetElement(r, 2, tangent[r]);
    curvePointToWorld->SetElement(r, 3, point[r]);
  }
  return true;
}

//------------------------------------------------------------------------------
bool vtkKOVAMarkupsCurveNode::ResamplePoints(vtkPoints* originalPoints,
  vtkPoints* sampledPoints,
  double samplingDistance,
  bool closedCurve,
  vtkDoubleArray* pedigreeIdsArray)
{
  if (!originalPoints || !sampledPoints || samplingDistance <= 0.0 ||
      originalPoints->GetNumberOfPoints() == 0)
  {
    return false;
  }
  sampledPoints->Reset();
  if (pedigreeIdsArray)
  {
    pedigreeIdsArray->Reset();
    pedigreeIdsArray->SetNumberOfComponents(1);
  }
  auto addSample = [&](const double p[3], double pedigree)
  {
    sampledPoints->InsertNextPoint(p);
    if (pedigreeIdsArray)
    {
      pedigreeIdsArray->InsertNextValue(pedigree);
    }
  };

  const vtkIdType count = originalPoints->GetNumberOfPoints();
  double previous[3];
  originalPoints->GetPoint(0, previous);
  addSample(previous, 0.0);

  // Distance travelled along the curve since the last sample.
  double sinceLastSample = 0.0;
  const vtkIdType segments = closedCurve ? count : count - 1;
  for (vtkIdType s = 0; s < segments; ++s)
  {
    double current[3];
    originalPoints->GetPoint((s + 1) % count, current);
    const double length = std::sqrt(vtkMath::Distance2BetweenPoints(previous, current));
    if (length <= 0.0)
    {
      continue;
    }
    // Distance into this segment of the next sample.
    double along = samplingDistance - sinceLastSample;
    while (along <= length)
    {
      const double f = along / length;
      const double p[3] = { previous[0] + f * (current[0] - previous[0]),
        previous[1] + f * (current[1] - previous[1]),
        previous[2] + f * (current[2] - previous[2]) };
      addSample(p, static_cast<double>(s) + f);
      along += samplingDistance;
    }
    sinceLastSample = length - (along - samplingDistance);
    std::copy(current, current + 3, previous);
  }

  if (closedCurve)
  {
    // A sample that landed back on the first point is not repeated.
    const vtkIdType last = sampledPoints->GetNumberOfPoints() - 1;
    double first[3], end[3];
    sampledPoints->GetPoint(0, first);
    sampledPoints->GetPoint(last, end);
    if (last > 0 && vtkMath::Distance2BetweenPoints(first, end) < 1e-12 * samplingDistance)
    {
      sampledPoints->SetNumberOfPoints(last);
      if (pedigreeIdsArray)
      {
        pedigreeIdsArray->SetNumberOfTuples(last);
      }
    }
    return true;
  }

  // The open curve ends at its last point.
  double lastPoint[3];
  originalPoints->GetPoint(count - 1, lastPoint);
  const double lastPedigree = static_cast<double>(count - 1);
  const vtkIdType sampled = sampledPoints->GetNumberOfPoints();
  if (sinceLastSample > 0.5 * samplingDistance || (sampled == 1 && sinceLastSample > 0.0))
  {
    addSample(lastPoint, lastPedigree);
  }
  else if (sampled > 1)
  {
    sampledPoints->SetPoint(sampled - 1, lastPoint);
    if (pedigreeIdsArray)
    {
      pedigreeIdsArray->SetValue(sampled - 1, lastPedigree);
    }
  }
  sampledPoints->Modified();
  return true;
}

//------------------------------------------------------------------------------
void vtkKOVAMarkupsCurveNode::ReadXMLAttributes(const char** atts)
{
  KOVANodeModifyBlocker blocker(this);
  this->Superclass::ReadXMLAttributes(atts);
  for (int i = 0; atts && atts[i] && atts[i + 1]; i += 2)
  {
    if (strcmp(atts[i], "preferredInitialNormalWorld") == 0)
    {
      std::istringstream in(atts[i + 1]);
      double n[3];
      if (in >> n[0] >> n[1] >> n[2])
      {
        this->SetPreferredInitialNormalWorld(n);
      }
    }
  }
}

void vtkKOVAMarkupsCurveNode::WriteXML(ostream& of, int indent)
{
  this->Superclass::WriteXML(of, indent);
  std::ostringstream text;
  text.precision(17);
  text << " preferredInitialNormalWorld=\"" << this->PreferredInitialNormalWorld[0] << " "
       << this->PreferredInitialNormalWorld[1] << " " << this->PreferredInitialNormalWorld[2]
       << "\"";
  of << text.str();
}

void vtkKOVAMarkupsCurveNode::CopyContent(vtkKOVANode* anode, bool deepCopy)
{
  KOVANodeModifyBlocker blocker(this);
  this->Superclass::CopyContent(anode, deepCopy);
  auto* node = vtkKOVAMarkupsCurveNode::SafeDownCast(anode);
  if (node && node != this)
  {
    this->SetPreferredInitialNormalWorld(node->PreferredInitialNormalWorld);
  }
}
