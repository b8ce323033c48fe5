#include "vtkKOVAMarkupsLineNode.h"

#include "vtkKOVAI18N.h"
#include "vtkKOVAScene.h"

#include <vtkMath.h>
#include <vtkObjectFactory.h>

#include <cmath>

vtkKOVANodeNewMacro(vtkKOVAMarkupsLineNode);
vtkKOVASceneBuiltInNodeMacro(vtkKOVAMarkupsLineNode);

//------------------------------------------------------------------------------
vtkKOVAMarkupsLineNode::vtkKOVAMarkupsLineNode()
{
  this->TypeDisplayName = vtkKOVAI18N::Translate("vtkKOVAMarkupsLineNode", "Line");
  this->RequiredNumberOfControlPoints = 2;
  this->MaximumNumberOfControlPoints = 2;
  this->CurveType = CurveTypeLinear;
  this->NumberOfPointsPerInterpolatingSegment = 1;
}

vtkKOVAMarkupsLineNode::~vtkKOVAMarkupsLineNode() = default;

void vtkKOVAMarkupsLineNode::PrintSelf(ostream& os, vtkIndent indent)
{
  this->Superclass::PrintSelf(os, indent);
}

//------------------------------------------------------------------------------
double vtkKOVAMarkupsLineNode::GetLineLengthWorld()
{
  double start[3], end[3];
  if (this->GetNumberOfControlPoints() < 2 || !this->GetLineStartPositionWorld(start) ||
      !this->GetLineEndPositionWorld(end))
  {
    return 0.0;
  }
  return std::sqrt(vtkMath::Distance2BetweenPoints(start, end));
}

bool vtkKOVAMarkupsLineNode::GetLineStartPosition(double position[3])
{
  return this->GetNumberOfControlPoints() > 0 && this->GetNthControlPointPosition(0, position);
}

bool vtkKOVAMarkupsLineNode::GetLineEndPosition(double position[3])
{
  return this->GetNumberOfControlPoints() > 1 && this->GetNthControlPointPosition(1, position);
}

bool vtkKOVAMarkupsLineNode::GetLineStartPositionWorld(double position[3])
{
  return this->GetNumberOfControlPoints() > 0 && this->GetNthControlPointPositionWorld(0, position);
}

bool vtkKOVAMarkupsLineNode::GetLineEndPositionWorld(double position[3])
{
  return this->GetNumberOfControlPoints() > 1 && this->GetNthControlPointPositionWorld(1, position);
}

void vtkKOVAMarkupsLineNode::SetLinePoint(int n, const double position[3], bool world)
{
  KOVANodeModifyBlocker blocker(this);
  while (this->GetNumberOfControlPoints() <= n)
  {
    // Points added to reach index n start where the new point goes.
    if (world)
    {
      this->AddControlPointWorld(vtkVector3d(position));
    }
    else
    {
      this->AddControlPoint(vtkVector3d(position));
    }
  }
  if (world)
  {
    this->SetNthControlPointPositionWorld(n, position);
  }
  else
  {
    this->SetNthControlPointPosition(n, position);
  }
}

void vtkKOVAMarkupsLineNode::SetLineStartPosition(const double position[3])
{
  this->SetLinePoint(0, position, false);
}

void vtkKOVAMarkupsLineNode::SetLineEndPosition(const double position[3])
{
  this->SetLinePoint(1, position, false);
}

void vtkKOVAMarkupsLineNode::SetLineStartPositionWorld(const double position[3])
{
  this->SetLinePoint(0, position, true);
}

void vtkKOVAMarkupsLineNode::SetLineEndPositionWorld(const double position[3])
{
  this->SetLinePoint(1, position, true);
}
