#ifndef vtkParallelTransportFrame_h
#define vtkParallelTransportFrame_h

#include "vtkExtraExport.h"

#include <vtkPolyDataAlgorithm.h>

#include <string>

/// Rotation-minimising frames along the lines of a poly data.
///
/// The output is the input with three per-point vector arrays: unit tangents, normals and
/// binormals (binormal = tangent x normal). Along each line cell the first normal is the
/// preferred initial normal made perpendicular to the first tangent (any perpendicular direction
/// when the two are parallel); every further normal is the previous one carried along the line by
/// the rotation that turns the previous tangent into the current one. Points that are on no line
/// get zero vectors.
class VTKEXTRA_EXPORT vtkParallelTransportFrame : public vtkPolyDataAlgorithm
{
public:
  static vtkParallelTransportFrame* New();
  vtkTypeMacro(vtkParallelTransportFrame, vtkPolyDataAlgorithm);
  void PrintSelf(ostream& os, vtkIndent indent) override;

  /// Direction that the first normal of each line follows. Default (1, 0, 0).
  vtkSetVector3Macro(PreferredInitialNormalVector, double);
  vtkGetVector3Macro(PreferredInitialNormalVector, double);

  /// Names of the output arrays ("Tangents", "Normals", "Binormals" by default).
  vtkSetStdStringFromCharMacro(TangentsArrayName);
  vtkGetCharFromStdStringMacro(TangentsArrayName);
  vtkSetStdStringFromCharMacro(NormalsArrayName);
  vtkGetCharFromStdStringMacro(NormalsArrayName);
  vtkSetStdStringFromCharMacro(BinormalsArrayName);
  vtkGetCharFromStdStringMacro(BinormalsArrayName);

protected:
  vtkParallelTransportFrame();
  ~vtkParallelTransportFrame() override;

  int RequestData(vtkInformation* request,
    vtkInformationVector** inputVector,
    vtkInformationVector* outputVector) override;

  double PreferredInitialNormalVector[3] = { 1.0, 0.0, 0.0 };
  std::string TangentsArrayName = "Tangents";
  std::string NormalsArrayName = "Normals";
  std::string BinormalsArrayName = "Binormals";

private:
  vtkParallelTransportFrame(const vtkParallelTransportFrame&) = delete;
  void operator=(const vtkParallelTransportFrame&) = delete;
};

#endif
