#include "vtkKOVAMarkupsNode.h"

#include "vtkKOVADisplayNode.h"
#include "vtkKOVAScene.h"
#include "vtkKOVATransformNode.h"

#include <vtkCardinalSpline.h>
#include <vtkCellArray.h>
#include <vtkGeneralTransform.h>
#include <vtkKochanekSpline.h>
#include <vtkMath.h>
#include <vtkPoints.h>
#include <vtkPolyData.h>
#include <vtkSpline.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <sstream>

namespace
{
/// Escapes the characters that separate control point fields.
std::string EscapeField(const std::string& text)
{
  std::string out;
  for (char c : text)
  {
    switch (c)
    {
      case '%':
        out += "%25";
        break;
      case '|':
        out += "%7C";
        break;
      case ';':
        out += "%3B";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string UnescapeField(const std::string& text)
{
  std::string out;
  for (size_t i = 0; i < text.size(); ++i)
  {
    if (text[i] == '%' && i + 2 < text.size())
    {
      const std::string code = text.substr(i + 1, 2);
      if (code == "25" || code == "7C" || code == "3B")
      {
        out += code == "25" ? '%' : (code == "7C" ? '|' : ';');
        i += 2;
        continue;
      }
    }
    out += text[i];
  }
  return out;
}

std::vector<std::string> Split(const std::string& text, char separator)
{
  std::vector<std::string> parts;
  std::string part;
  std::istringstream in(text);
  while (std::getline(in, part, separator))
  {
    parts.push_back(part);
  }
  return parts;
}
}

//------------------------------------------------------------------------------
vtkKOVAMarkupsNode::vtkKOVAMarkupsNode()
{
  // Curve points in double precision, like the control points.
  vtkNew<vtkPoints> curvePoints;
  curvePoints->SetDataTypeToDouble();
  this->Curve = vtkSmartPointer<vtkPolyData>::New();
  this->Curve->SetPoints(curvePoints);
  vtkNew<vtkPoints> curvePointsWorld;
  curvePointsWorld->SetDataTypeToDouble();
  this->CurveWorld = vtkSmartPointer<vtkPolyData>::New();
  this->CurveWorld->SetPoints(curvePointsWorld);
}

vtkKOVAMarkupsNode::~vtkKOVAMarkupsNode() = default;

//------------------------------------------------------------------------------
void vtkKOVAMarkupsNode::PrintSelf(ostream& os, vtkIndent indent)
{
  this->Superclass::PrintSelf(os, indent);
  os << indent << "Locked: " << this->Locked << "\n";
  os << indent << "CurveType: " << GetCurveTypeAsString(this->CurveType) << "\n";
  os << indent
     << "NumberOfPointsPerInterpolatingSegment: " << this->NumberOfPointsPerInterpolatingSegment
     << "\n";
  os << indent << "NumberOfControlPoints: " << this->ControlPoints.size() << "\n";
  for (const ControlPoint& point : this->ControlPoints)
  {
    os << indent.GetNextIndent() << point.ID << " \"" << point.Label << "\": " << point.Position[0]
       << " " << point.Position[1] << " " << point.Position[2] << " (status "
       << point.PositionStatus << ")\n";
  }
}

//------------------------------------------------------------------------------
bool vtkKOVAMarkupsNode::CreateDefaultDisplayNodes()
{
  if (this->GetDisplayNode())
  {
    return true;
  }
  if (!this->GetScene())
  {
    vtkErrorMacro("CreateDefaultDisplayNodes: the node is not in a scene");
    return false;
  }
  vtkKOVANode* displayNode = this->GetScene()->AddNewNodeByClass("vtkKOVAMarkupsDisplayNode");
  if (!vtkKOVADisplayNode::SafeDownCast(displayNode))
  {
    vtkErrorMacro("CreateDefaultDisplayNodes: cannot create a vtkKOVAMarkupsDisplayNode");
    return false;
  }
  this->SetAndObserveDisplayNodeID(displayNode->GetID());
  return true;
}

//------------------------------------------------------------------------------
void vtkKOVAMarkupsNode::SetLocked(bool locked)
{
  if (this->Locked == locked)
  {
    return;
  }
  this->Locked = locked;
  this->Modified();
  this->InvokeCustomModifiedEvent(LockModifiedEvent);
}

//------------------------------------------------------------------------------
bool vtkKOVAMarkupsNode::IsValidIndex(int n, const char* method)
{
  if (n < 0 || n >= this->GetNumberOfControlPoints())
  {
    vtkErrorMacro(<< method << ": control point index " << n << " is out of range (0.."
                  << this->GetNumberOfControlPoints() - 1 << ")");
    return false;
  }
  return true;
}

void vtkKOVAMarkupsNode::ToNode(const double world[3], double node[3])
{
  if (this->IsTransformedToWorldIdentity())
  {
    std::copy(world, world + 3, node);
    return;
  }
  vtkNew<vtkGeneralTransform> fromWorld;
  this->GetTransformFromWorld(fromWorld);
  fromWorld->TransformPoint(world, node);
}

void vtkKOVAMarkupsNode::ToWorld(const double node[3], double world[3])
{
  if (this->IsTransformedToWorldIdentity())
  {
    std::copy(node, node + 3, world);
    return;
  }
  vtkNew<vtkGeneralTransform> toWorld;
  this->GetTransformToWorld(toWorld);
  toWorld->TransformPoint(node, world);
}

void vtkKOVAMarkupsNode::InvokePointEvent(unsigned long event, int n)
{
  if (this->GetDisableModifiedEvent())
  {
    this->InvokeCustomModifiedEvent(static_cast<int>(event), nullptr);
  }
  else
  {
    this->InvokeEvent(event, &n);
  }
}

void vtkKOVAMarkupsNode::ControlPointsChanged()
{
  this->CurveDirty = true;
  this->Modified();
}

//------------------------------------------------------------------------------
int vtkKOVAMarkupsNode::GetNumberOfDefinedControlPoints(bool includePreview)
{
  return static_cast<int>(std::count_if(this->ControlPoints.begin(),
    this->ControlPoints.end(),
    [includePreview](const ControlPoint& point)
    {
      return point.PositionStatus == PositionDefined ||
             (includePreview && point.PositionStatus == PositionPreview);
    }));
}

int vtkKOVAMarkupsNode::AddControlPoint(vtkVector3d point, std::string label)
{
  const int maximum = this->GetMaximumNumberOfControlPoints();
  if (maximum >= 0 && this->GetNumberOfControlPoints() >= maximum)
  {
    vtkErrorMacro(
      "AddControlPoint: the markup already has its maximum of " << maximum << " control points");
    return -1;
  }
  ControlPoint controlPoint;
  controlPoint.ID = std::to_string(++this->LastUsedControlPointNumber);
  controlPoint.Label = label;
  controlPoint.Position[0] = point.GetX();
  controlPoint.Position[1] = point.GetY();
  controlPoint.Position[2] = point.GetZ();
  this->ControlPoints.push_back(controlPoint);
  const int n = this->GetNumberOfControlPoints() - 1;
  this->ControlPointsChanged();
  this->InvokePointEvent(PointAddedEvent, n);
  return n;
}

int vtkKOVAMarkupsNode::AddControlPointWorld(vtkVector3d point, std::string label)
{
  double node[3];
  this->ToNode(point.GetData(), node);
  return this->AddControlPoint(vtkVector3d(node), label);
}

void vtkKOVAMarkupsNode::RemoveNthControlPoint(int n)
{
  if (!this->IsValidIndex(n, "RemoveNthControlPoint"))
  {
    return;
  }
  this->ControlPoints.erase(this->ControlPoints.begin() + n);
  this->ControlPointsChanged();
  this->InvokePointEvent(PointRemovedEvent, n);
}

void vtkKOVAMarkupsNode::RemoveAllControlPoints()
{
  if (this->ControlPoints.empty())
  {
    return;
  }
  KOVANodeModifyBlocker blocker(this);
  for (int n = this->GetNumberOfControlPoints() - 1; n >= 0; --n)
  {
    this->RemoveNthControlPoint(n);
  }
}

//------------------------------------------------------------------------------
bool vtkKOVAMarkupsNode::GetNthControlPointPosition(int n, double position[3])
{
  if (!this->IsValidIndex(n, "GetNthControlPointPosition"))
  {
    return false;
  }
  std::copy(this->ControlPoints[n].Position, this->ControlPoints[n].Position + 3, position);
  return true;
}

vtkVector3d vtkKOVAMarkupsNode::GetNthControlPointPositionVector(int n)
{
  double position[3] = { 0.0, 0.0, 0.0 };
  this->GetNthControlPointPosition(n, position);
  return vtkVector3d(position);
}

bool vtkKOVAMarkupsNode::GetNthControlPointPositionWorld(int n, double position[3])
{
  if (!this->IsValidIndex(n, "GetNthControlPointPositionWorld"))
  {
    return false;
  }
  this->ToWorld(this->ControlPoints[n].Position, position);
  return true;
}

vtkVector3d vtkKOVAMarkupsNode::GetNthControlPointPositionWorldVector(int n)
{
  double position[3] = { 0.0, 0.0, 0.0 };
  this->GetNthControlPointPositionWorld(n, position);
  return vtkVector3d(position);
}

void vtkKOVAMarkupsNode::SetNthControlPointPosition(int n,
  double x,
  double y,
  double z,
  int positionStatus)
{
  if (!this->IsValidIndex(n, "SetNthControlPointPosition"))
  {
    return;
  }
  ControlPoint& point = this->ControlPoints[n];
  if (point.Position[0] == x && point.Position[1] == y && point.Position[2] == z &&
      point.PositionStatus == positionStatus)
  {
    return;
  }
  point.Position[0] = x;
  point.Position[1] = y;
  point.Position[2] = z;
  point.PositionStatus = positionStatus;
  this->ControlPointsChanged();
  this->InvokePointEvent(PointModifiedEvent, n);
}

void vtkKOVAMarkupsNode::SetNthControlPointPosition(int n,
  const double position[3],
  int positionStatus)
{
  this->SetNthControlPointPosition(n, position[0], position[1], position[2], positionStatus);
}

void vtkKOVAMarkupsNode::SetNthControlPointPositionWorld(int n,
  double x,
  double y,
  double z,
  int positionStatus)
{
  const double world[3] = { x, y, z };
  double node[3];
  this->ToNode(world, node);
  this->SetNthControlPointPosition(n, node, positionStatus);
}

void vtkKOVAMarkupsNode::SetNthControlPointPositionWorld(int n,
  const double position[3],
  int positionStatus)
{
  this->SetNthControlPointPositionWorld(n, position[0], position[1], position[2], positionStatus);
}

//------------------------------------------------------------------------------
std::string vtkKOVAMarkupsNode::GetNthControlPointLabel(int n)
{
  return this->IsValidIndex(n, "GetNthControlPointLabel") ? this->ControlPoints[n].Label : "";
}

void vtkKOVAMarkupsNode::SetNthControlPointLabel(int n, std::string label)
{
  if (!this->IsValidIndex(n, "SetNthControlPointLabel") || this->ControlPoints[n].Label == label)
  {
    return;
  }
  this->ControlPoints[n].Label = label;
  this->Modified();
  this->InvokePointEvent(PointModifiedEvent, n);
}

std::string vtkKOVAMarkupsNode::GetNthControlPointID(int n)
{
  return this->IsValidIndex(n, "GetNthControlPointID") ? this->ControlPoints[n].ID : "";
}

int vtkKOVAMarkupsNode::GetControlPointIndexByID(const char* id)
{
  if (!id)
  {
    return -1;
  }
  for (size_t n = 0; n < this->ControlPoints.size(); ++n)
  {
    if (this->ControlPoints[n].ID == id)
    {
      return static_cast<int>(n);
    }
  }
  return -1;
}

int vtkKOVAMarkupsNode::GetNthControlPointPositionStatus(int n)
{
  return this->IsValidIndex(n, "GetNthControlPointPositionStatus")
           ? this->ControlPoints[n].PositionStatus
           : PositionUndefined;
}

void vtkKOVAMarkupsNode::SetNthControlPointPositionStatus(int n, int positionStatus)
{
  if (!this->IsValidIndex(n, "SetNthControlPointPositionStatus") ||
      this->ControlPoints[n].PositionStatus == positionStatus)
  {
    return;
  }
  this->ControlPoints[n].PositionStatus = positionStatus;
  this->ControlPointsChanged();
  this->InvokePointEvent(PointModifiedEvent, n);
}

//------------------------------------------------------------------------------
void vtkKOVAMarkupsNode::GetControlPointPositionsWorld(vtkPoints* points)
{
  if (!points)
  {
    vtkErrorMacro("GetControlPointPositionsWorld: points is nullptr");
    return;
  }
  points->Reset();
  for (int n = 0; n < this->GetNumberOfControlPoints(); ++n)
  {
    double world[3];
    this->ToWorld(this->ControlPoints[n].Position, world);
    points->InsertNextPoint(world);
  }
}

bool vtkKOVAMarkupsNode::SetControlPointPositionsWorld(vtkPoints* points, bool setAllDefined)
{
  const int count = points ? static_cast<int>(points->GetNumberOfPoints()) : 0;
  const int maximum = this->GetMaximumNumberOfControlPoints();
  if (maximum >= 0 && count > maximum)
  {
    vtkErrorMacro("SetControlPointPositionsWorld: "
                  << count << " points given, the markup takes at most " << maximum);
    return false;
  }
  KOVANodeModifyBlocker blocker(this);
  while (this->GetNumberOfControlPoints() > count)
  {
    this->RemoveNthControlPoint(this->GetNumberOfControlPoints() - 1);
  }
  for (int n = 0; n < count; ++n)
  {
    double world[3];
    points->GetPoint(n, world);
    if (n < this->GetNumberOfControlPoints())
    {
      const int status = setAllDefined ? PositionDefined : this->ControlPoints[n].PositionStatus;
      this->SetNthControlPointPositionWorld(n, world, status);
    }
    else
    {
      this->AddControlPointWorld(vtkVector3d(world));
    }
  }
  return true;
}

//------------------------------------------------------------------------------
void vtkKOVAMarkupsNode::SetCurveType(int curveType)
{
  if (curveType < CurveTypeLinear || curveType > CurveTypeKochanekSpline)
  {
    vtkErrorMacro("SetCurveType: unknown curve type " << curveType);
    return;
  }
  if (this->CurveType == curveType)
  {
    return;
  }
  this->CurveType = curveType;
  this->ControlPointsChanged();
}

const char* vtkKOVAMarkupsNode::GetCurveTypeAsString(int curveType)
{
  switch (curveType)
  {
    case CurveTypeLinear:
      return "Linear";
    case CurveTypeCardinalSpline:
      return "CardinalSpline";
    case CurveTypeKochanekSpline:
      return "KochanekSpline";
    default:
      return "";
  }
}

void vtkKOVAMarkupsNode::SetNumberOfPointsPerInterpolatingSegment(int numberOfPoints)
{
  numberOfPoints = std::max(1, numberOfPoints);
  if (this->NumberOfPointsPerInterpolatingSegment == numberOfPoints)
  {
    return;
  }
  this->NumberOfPointsPerInterpolatingSegment = numberOfPoints;
  this->ControlPointsChanged();
}

//------------------------------------------------------------------------------
void vtkKOVAMarkupsNode::UpdateCurve()
{
  if (!this->CurveDirty)
  {
    return;
  }
  this->CurveDirty = false;

  std::vector<std::array<double, 3>> positions;
  this->CurvePointIndices.assign(this->ControlPoints.size(), -1);
  const vtkIdType perSegment = this->NumberOfPointsPerInterpolatingSegment;
  for (size_t n = 0; n < this->ControlPoints.size(); ++n)
  {
    const ControlPoint& point = this->ControlPoints[n];
    if (point.PositionStatus == PositionDefined || point.PositionStatus == PositionPreview)
    {
      this->CurvePointIndices[n] = static_cast<vtkIdType>(positions.size()) * perSegment;
      positions.push_back({ point.Position[0], point.Position[1], point.Position[2] });
    }
  }

  vtkPoints* curvePoints = this->Curve->GetPoints();
  curvePoints->Reset();
  const size_t count = positions.size();
  if (count == 1)
  {
    curvePoints->InsertNextPoint(positions[0].data());
  }
  else if (count > 1 && this->CurveType == CurveTypeLinear)
  {
    for (size_t k = 0; k + 1 < count; ++k)
    {
      for (vtkIdType s = 0; s < perSegment; ++s)
      {
        const double f = static_cast<double>(s) / static_cast<double>(perSegment);
        double p[3];
        for (int c = 0; c < 3; ++c)
        {
          p[c] = positions[k][c] + f * (positions[k + 1][c] - positions[k][c]);
        }
        curvePoints->InsertNextPoint(p);
      }
    }
    curvePoints->InsertNextPoint(positions[count - 1].data());
  }
  else if (count > 1)
  {
    // Splines of each coordinate over the chord length, so that unevenly spaced control points
    // give no loops.
    vtkSmartPointer<vtkSpline> splines[3];
    for (auto& spline : splines)
    {
      if (this->CurveType == CurveTypeKochanekSpline)
      {
        spline = vtkSmartPointer<vtkKochanekSpline>::New();
      }
      else
      {
        spline = vtkSmartPointer<vtkCardinalSpline>::New();
      }
      spline->ClosedOff();
    }
    std::vector<double> t(count, 0.0);
    for (size_t k = 1; k < count; ++k)
    {
      const double length =
        std::sqrt(vtkMath::Distance2BetweenPoints(positions[k - 1].data(), positions[k].data()));
      t[k] = t[k - 1] + std::max(length, 1e-9);
    }
    for (size_t k = 0; k < count; ++k)
    {
      for (int c = 0; c < 3; ++c)
      {
        splines[c]->AddPoint(t[k], positions[k][c]);
      }
    }
    for (size_t k = 0; k + 1 < count; ++k)
    {
      curvePoints->InsertNextPoint(positions[k].data());
      for (vtkIdType s = 1; s < perSegment; ++s)
      {
        const double u = t[k] + (t[k + 1] - t[k]) * static_cast<double>(s) / perSegment;
        const double p[3] = {
          splines[0]->Evaluate(u), splines[1]->Evaluate(u), splines[2]->Evaluate(u)
        };
        curvePoints->InsertNextPoint(p);
      }
    }
    curvePoints->InsertNextPoint(positions[count - 1].data());
  }
  curvePoints->Modified();

  vtkNew<vtkCellArray> lines;
  const vtkIdType numberOfCurvePoints = curvePoints->GetNumberOfPoints();
  if (numberOfCurvePoints > 1)
  {
    lines->InsertNextCell(numberOfCurvePoints);
    for (vtkIdType i = 0; i < numberOfCurvePoints; ++i)
    {
      lines->InsertCellPoint(i);
    }
  }
  this->Curve->SetLines(lines);
  this->Curve->Modified();
  this->CurveBuildTime.Modified();
}

void vtkKOVAMarkupsNode::UpdateCurveWorld()
{
  this->UpdateCurve();
  vtkKOVANode* parent = this->GetParentTransformNode();
  if (this->CurveWorldBuildTime > this->CurveBuildTime && parent == this->CurveWorldParent &&
      this->CurveWorldBuildTime > this->GetTransformToWorldMTime())
  {
    return;
  }
  this->CurveWorldParent = parent;
  vtkPoints* nodePoints = this->Curve->GetPoints();
  vtkPoints* worldPoints = this->CurveWorld->GetPoints();
  worldPoints->Reset();
  vtkNew<vtkGeneralTransform> toWorld;
  this->GetTransformToWorld(toWorld);
  for (vtkIdType i = 0; i < nodePoints->GetNumberOfPoints(); ++i)
  {
    double p[3];
    nodePoints->GetPoint(i, p);
    if (parent)
    {
      toWorld->TransformPoint(p, p);
    }
    worldPoints->InsertNextPoint(p);
  }
  worldPoints->Modified();
  vtkNew<vtkCellArray> lines;
  lines->DeepCopy(this->Curve->GetLines());
  this->CurveWorld->SetLines(lines);
  this->CurveWorld->Modified();
  this->CurveWorldBuildTime.Modified();
}

vtkPoints* vtkKOVAMarkupsNode::GetCurvePoints()
{
  this->UpdateCurve();
  return this->Curve->GetPoints();
}

vtkPoints* vtkKOVAMarkupsNode::GetCurvePointsWorld()
{
  this->UpdateCurveWorld();
  return this->CurveWorld->GetPoints();
}

vtkPolyData* vtkKOVAMarkupsNode::GetCurve()
{
  this->UpdateCurve();
  return this->Curve;
}

vtkPolyData* vtkKOVAMarkupsNode::GetCurveWorld()
{
  this->UpdateCurveWorld();
  return this->CurveWorld;
}

vtkIdType vtkKOVAMarkupsNode::GetCurvePointIndexFromControlPointIndex(int controlPointIndex)
{
  if (!this->IsValidIndex(controlPointIndex, "GetCurvePointIndexFromControlPointIndex"))
  {
    return -1;
  }
  this->UpdateCurve();
  return this->CurvePointIndices[controlPointIndex];
}

//------------------------------------------------------------------------------
void vtkKOVAMarkupsNode::ReadXMLAttributes(const char** atts)
{
  KOVANodeModifyBlocker blocker(this);
  this->Superclass::ReadXMLAttributes(atts);
  for (int i = 0; atts && atts[i] && atts[i + 1]; i += 2)
  {
    const std::string name = atts[i];
    const std::string value = atts[i + 1];
    if (name == "curveType")
    {
      for (int type = CurveTypeLinear; type <= CurveTypeKochanekSpline; ++type)
      {
        if (value == GetCurveTypeAsString(type))
        {
          this->SetCurveType(type);
        }
      }
    }
    else if (name == "numberOfPointsPerInterpolatingSegment")
    {
      this->SetNumberOfPointsPerInterpolatingSegment(std::atoi(value.c_str()));
    }
    else if (name == "locked")
    {
      this->SetLocked(value == "true");
    }
    else if (name == "lastUsedControlPointNumber")
    {
      this->LastUsedControlPointNumber = std::atoi(value.c_str());
    }
    else if (name == "controlPoints")
    {
      std::vector<ControlPoint> points;
      for (const std::string& entry : Split(value, ';'))
      {
        const std::vector<std::string> fields = Split(entry, '|');
        ControlPoint point;
        std::istringstream position(fields.size() > 2 ? fields[2] : "");
        if (fields.size() != 4 ||
            !(position >> point.Position[0] >> point.Position[1] >> point.Position[2]))
        {
          vtkErrorMacro("ReadXMLAttributes: invalid control point \"" << entry << "\"");
          continue;
        }
        point.ID = UnescapeField(fields[0]);
        point.Label = UnescapeField(fields[1]);
        point.PositionStatus = std::atoi(fields[3].c_str());
        points.push_back(point);
      }
      this->ControlPoints = points;
      this->ControlPointsChanged();
    }
  }
}

void vtkKOVAMarkupsNode::WriteXML(ostream& of, int indent)
{
  this->Superclass::WriteXML(of, indent);
  of << " curveType=\"" << GetCurveTypeAsString(this->CurveType) << "\"";
  of << " numberOfPointsPerInterpolatingSegment=\"" << this->NumberOfPointsPerInterpolatingSegment
     << "\"";
  of << " locked=\"" << (this->Locked ? "true" : "false") << "\"";
  of << " lastUsedControlPointNumber=\"" << this->LastUsedControlPointNumber << "\"";
  std::ostringstream points;
  points.precision(17);
  for (size_t n = 0; n < this->ControlPoints.size(); ++n)
  {
    const ControlPoint& point = this->ControlPoints[n];
    points << (n ? ";" : "") << EscapeField(point.ID) << "|" << EscapeField(point.Label) << "|"
           << point.Position[0] << " " << point.Position[1] << " " << point.Position[2] << "|"
           << point.PositionStatus;
  }
  of << " controlPoints=\"" << vtkKOVANode::XMLAttributeEncodeString(points.str()) << "\"";
}

//------------------------------------------------------------------------------
void vtkKOVAMarkupsNode::CopyContent(vtkKOVANode* anode, bool deepCopy)
{
  KOVANodeModifyBlocker blocker(this);
  this->Superclass::CopyContent(anode, deepCopy);
  auto* node = vtkKOVAMarkupsNode::SafeDownCast(anode);
  if (!node || node == this)
  {
    return;
  }
  this->SetCurveType(node->CurveType);
  this->SetNumberOfPointsPerInterpolatingSegment(node->NumberOfPointsPerInterpolatingSegment);
  this->SetLocked(node->Locked);
  this->LastUsedControlPointNumber = node->LastUsedControlPointNumber;
  this->ControlPoints = node->ControlPoints;
  this->ControlPointsChanged();
}
