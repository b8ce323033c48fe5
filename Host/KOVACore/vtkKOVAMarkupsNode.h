#ifndef vtkKOVAMarkupsNode_h
#define vtkKOVAMarkupsNode_h

#include "vtkKOVATransformableNode.h"

#include <vtkSmartPointer.h>
#include <vtkTimeStamp.h>
#include <vtkVector.h>

#include <string>
#include <vector>

class vtkPoints;
#include <vtkPolyData.h> // for the smart pointer member

/// Base of the markups: an ordered list of control points and the curve that interpolates them.
///
/// Control point positions are stored in node coordinates; the World variants go through the
/// node's parent transforms. The curve passes through the control points whose position is
/// defined or previewed, with NumberOfPointsPerInterpolatingSegment curve points per segment
/// (linear or smooth interpolation), so control point k of the curve is curve point
/// k * NumberOfPointsPerInterpolatingSegment.
class KOVACORE_EXPORT vtkKOVAMarkupsNode : public vtkKOVATransformableNode
{
public:
  vtkTypeMacro(vtkKOVAMarkupsNode, vtkKOVATransformableNode);
  void PrintSelf(ostream& os, vtkIndent indent) override;

  enum
  {
    LockModifiedEvent = 19000,
    /// Call data: pointer to the index of the point (null while modifications are batched).
    PointAddedEvent = 19002,
    PointRemovedEvent,
    PointModifiedEvent,
  };

  enum
  {
    PositionUndefined = 0,
    PositionPreview,
    PositionDefined,
    PositionMissing,
  };

  enum
  {
    CurveTypeLinear = 0,
    CurveTypeCardinalSpline,
    CurveTypeKochanekSpline,
  };

  void ReadXMLAttributes(const char** atts) override;
  /// Writes the curve settings, the lock and the control points (ID, label, position, status).
  void WriteXML(ostream& of, int indent) override;
  vtkKOVACopyContentMacro(vtkKOVAMarkupsNode);

  /// Adds a vtkKOVAMarkupsDisplayNode to the node's scene unless there is a display node.
  bool CreateDefaultDisplayNodes() override;

  /// Name of the markup type ("Markups" for the base) and the prefix of new node names.
  virtual const char* GetMarkupType() { return "Markups"; }
  virtual const char* GetDefaultNodeNamePrefix() { return "M"; }
  /// Resource paths of the type's icons (none for the base).
  virtual const char* GetIcon() { return ""; }
  virtual const char* GetAddIcon() { return ""; }
  virtual const char* GetPlaceAddIcon() { return ""; }

  /// Number of control points the markup needs to be complete (0: no requirement).
  virtual int GetRequiredNumberOfControlPoints() { return this->RequiredNumberOfControlPoints; }
  /// The most control points the markup can have (-1: no limit).
  virtual int GetMaximumNumberOfControlPoints() { return this->MaximumNumberOfControlPoints; }
  /// The counter behind new control point IDs.
  virtual int GetLastUsedControlPointNumber() { return this->LastUsedControlPointNumber; }

  vtkGetMacro(Locked, bool);
  virtual void SetLocked(bool locked);
  vtkBooleanMacro(Locked, bool);

  // Control points ------------------------------------------------------------------------------

  int GetNumberOfControlPoints() { return static_cast<int>(this->ControlPoints.size()); }
  /// Control points whose position is defined (and previewed, with \a includePreview).
  int GetNumberOfDefinedControlPoints(bool includePreview = false);

  /// Appends a control point (node coordinates) with a new ID; returns its index, or -1 when the
  /// maximum number of control points is reached.
  int AddControlPoint(vtkVector3d point, std::string label = std::string());
  /// The same with a world position.
  int AddControlPointWorld(vtkVector3d point, std::string label = std::string());
  /// Removes control point \a n (an index out of range is an error).
  void RemoveNthControlPoint(int n);
  void RemoveAllControlPoints();

  /// Position in node (world) coordinates; false for an index out of range.
  bool GetNthControlPointPosition(int n, double position[3]);
  vtkVector3d GetNthControlPointPositionVector(int n);
  bool GetNthControlPointPositionWorld(int n, double position[3]);
  vtkVector3d GetNthControlPointPositionWorldVector(int n);
  void SetNthControlPointPosition(int n,
    double x,
    double y,
    double z,
    int positionStatus = PositionDefined);
  void SetNthControlPointPosition(int n,
    const double position[3],
    int positionStatus = PositionDefined);
  void SetNthControlPointPositionWorld(int n,
    double x,
    double y,
    double z,
    int positionStatus = PositionDefined);
  void SetNthControlPointPositionWorld(int n,
    const double position[3],
    int positionStatus = PositionDefined);

  std::string GetNthControlPointLabel(int n);
  void SetNthControlPointLabel(int n, std::string label);
  std::string GetNthControlPointID(int n);
  /// Index of the control point with \a id, or -1.
  int GetControlPointIndexByID(const char* id);
  int GetNthControlPointPositionStatus(int n);
  void SetNthControlPointPositionStatus(int n, int positionStatus);

  /// World positions of all control points, in order (replaces the content of \a points).
  void GetControlPointPositionsWorld(vtkPoints* points);
  /// Makes the control points those of \a points (world coordinates): the first ones are moved
  /// (keeping IDs and labels), missing ones added, extra ones removed. With \a setAllDefined every
  /// point's position becomes defined; otherwise moved points keep their status. Null removes all
  /// control points. Returns false when \a points has more points than the markup may have.
  bool SetControlPointPositionsWorld(vtkPoints* points, bool setAllDefined = true);

  // Curve ---------------------------------------------------------------------------------------

  vtkGetMacro(CurveType, int);
  virtual void SetCurveType(int curveType);
  void SetCurveTypeToLinear() { this->SetCurveType(CurveTypeLinear); }
  void SetCurveTypeToCardinalSpline() { this->SetCurveType(CurveTypeCardinalSpline); }
  void SetCurveTypeToKochanekSpline() { this->SetCurveType(CurveTypeKochanekSpline); }
  static const char* GetCurveTypeAsString(int curveType);

  vtkGetMacro(NumberOfPointsPerInterpolatingSegment, int);
  /// At least 1 (smaller values are clamped).
  virtual void SetNumberOfPointsPerInterpolatingSegment(int numberOfPoints);

  /// The interpolated curve points in node (world) coordinates. The objects stay the same for
  /// the node's lifetime and are brought up to date on each call.
  vtkPoints* GetCurvePoints();
  vtkPoints* GetCurvePointsWorld();
  /// The curve as poly data: the curve points and one polyline through them (none with fewer than
  /// two points).
  vtkPolyData* GetCurve();
  vtkPolyData* GetCurveWorld();
  /// Curve point index at control point \a controlPointIndex; -1 for an index out of range or a
  /// control point that is not on the curve (undefined or missing position).
  vtkIdType GetCurvePointIndexFromControlPointIndex(int controlPointIndex);

protected:
  vtkKOVAMarkupsNode();
  ~vtkKOVAMarkupsNode() override;

  struct ControlPoint
  {
    std::string ID;
    std::string Label;
    double Position[3] = { 0.0, 0.0, 0.0 };
    int PositionStatus = PositionDefined;
  };

  bool IsValidIndex(int n, const char* method);
  void ToNode(const double world[3], double node[3]);
  void ToWorld(const double node[3], double world[3]);
  /// Invokes a point event with the index as call data (null while modifications are batched).
  void InvokePointEvent(unsigned long event, int n);
  /// Marks the curve out of date and the node modified.
  void ControlPointsChanged();
  void UpdateCurve();
  void UpdateCurveWorld();

  std::vector<ControlPoint> ControlPoints;
  int RequiredNumberOfControlPoints = 0;
  int MaximumNumberOfControlPoints = -1;
  int LastUsedControlPointNumber = 0;
  bool Locked = false;
  int CurveType = CurveTypeLinear;
  int NumberOfPointsPerInterpolatingSegment = 1;

  vtkSmartPointer<vtkPolyData> Curve;
  vtkSmartPointer<vtkPolyData> CurveWorld;
  std::vector<vtkIdType> CurvePointIndices; // per control point, -1 when not on the curve
  bool CurveDirty = true;
  vtkTimeStamp CurveBuildTime;
  vtkTimeStamp CurveWorldBuildTime;
  vtkKOVANode* CurveWorldParent = nullptr; // parent transform node of the last world update

private:
  vtkKOVAMarkupsNode(const vtkKOVAMarkupsNode&) = delete;
  void operator=(const vtkKOVAMarkupsNode&) = delete;
};

#endif
