#ifndef vtkKOVAMarkupsCurveNode_h
#define vtkKOVAMarkupsCurveNode_h

#include "vtkKOVAMarkupsNode.h"

class vtkDoubleArray;
class vtkMatrix4x4;

/// An open curve through any number of control points, smooth (cardinal spline, 10 curve points
/// per segment) unless set otherwise.
///
/// Along the world curve the node keeps rotation-minimising frames (vtkParallelTransportFrame,
/// first normal following PreferredInitialNormalWorld): at each curve point X is the normal, Y
/// the binormal and Z the tangent.
class KOVACORE_EXPORT vtkKOVAMarkupsCurveNode : public vtkKOVAMarkupsNode
{
public:
  static vtkKOVAMarkupsCurveNode* New();
  vtkTypeMacro(vtkKOVAMarkupsCurveNode, vtkKOVAMarkupsNode);
  void PrintSelf(ostream& os, vtkIndent indent) override;

  vtkKOVANode* CreateNodeInstance() override;
  const char* GetNodeTagName() override { return "MarkupsCurve"; }
  vtkKOVACopyContentMacro(vtkKOVAMarkupsCurveNode);
  void ReadXMLAttributes(const char** atts) override;
  void WriteXML(ostream& of, int indent) override;

  const char* GetMarkupType() override { return "Curve"; }
  const char* GetDefaultNodeNamePrefix() override { return "OC"; }
  const char* GetIcon() override { return ":/Icons/MarkupsCurve.png"; }
  const char* GetAddIcon() override { return ":/Icons/MarkupsCurveMouseModePlace.png"; }
  const char* GetPlaceAddIcon() override { return ":/Icons/MarkupsCurveMouseModePlaceAdd.png"; }

  /// Length of the world curve from curve point \a startCurvePointIndex over
  /// \a numberOfCurvePoints points (-1: to the end).
  double GetCurveLengthWorld(vtkIdType startCurvePointIndex = 0,
    vtkIdType numberOfCurvePoints = -1);

  /// The frame at a world curve point: columns normal, binormal, tangent and the point. False
  /// (and identity) for an index out of range.
  bool GetCurvePointToWorldTransformAtPointIndex(vtkIdType curvePointIndex,
    vtkMatrix4x4* curvePointToWorld);

  /// Direction that the first frame normal follows. Default (1, 0, 0).
  vtkGetVector3Macro(PreferredInitialNormalWorld, double);
  virtual void SetPreferredInitialNormalWorld(double x, double y, double z);
  virtual void SetPreferredInitialNormalWorld(const double normal[3])
  {
    this->SetPreferredInitialNormalWorld(normal[0], normal[1], normal[2]);
  }

  /// Samples the polyline \a originalPoints every \a samplingDistance along its length into
  /// \a sampledPoints (replacing their content), starting with the first point. An open curve
  /// ends with its last point: appended when the remainder after the last sample is more than
  /// half the sampling distance, else put in place of the last sample. A closed curve also samples
  /// the closing segment and does not repeat the first point. \a pedigreeIdsArray (optional)
  /// receives each sample's position as a fractional index into \a originalPoints.
  /// Returns false for null points, no original points or a distance that is not positive.
  static bool ResamplePoints(vtkPoints* originalPoints,
    vtkPoints* sampledPoints,
    double samplingDistance,
    bool closedCurve,
    vtkDoubleArray* pedigreeIdsArray = nullptr);

protected:
  vtkKOVAMarkupsCurveNode();
  ~vtkKOVAMarkupsCurveNode() override;

  void UpdateFrames();

  double PreferredInitialNormalWorld[3] = { 1.0, 0.0, 0.0 };
  vtkSmartPointer<vtkPolyData> Frames;
  vtkTimeStamp FramesBuildTime;

private:
  vtkKOVAMarkupsCurveNode(const vtkKOVAMarkupsCurveNode&) = delete;
  void operator=(const vtkKOVAMarkupsCurveNode&) = delete;
};

#endif
