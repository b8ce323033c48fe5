#ifndef vtkKOVAScalarVolumeDisplayNode_h
#define vtkKOVAScalarVolumeDisplayNode_h

#include "vtkKOVADisplayNode.h"

/// How a scalar volume is shown: window and level of the grey scale, and voxel interpolation.
class KOVACORE_EXPORT vtkKOVAScalarVolumeDisplayNode : public vtkKOVADisplayNode
{
public:
  static vtkKOVAScalarVolumeDisplayNode* New();
  vtkTypeMacro(vtkKOVAScalarVolumeDisplayNode, vtkKOVADisplayNode);
  void PrintSelf(ostream& os, vtkIndent indent) override;

  vtkKOVANode* CreateNodeInstance() override;
  const char* GetNodeTagName() override { return "VolumeDisplay"; }
  void ReadXMLAttributes(const char** atts) override;
  void WriteXML(ostream& of, int indent) override;
  vtkKOVACopyContentMacro(vtkKOVAScalarVolumeDisplayNode);

  vtkGetMacro(Window, double);
  vtkSetMacro(Window, double);
  vtkGetMacro(Level, double);
  vtkSetMacro(Level, double);
  /// With AutoWindowLevel on, viewers choose window and level from the voxel values.
  vtkGetMacro(AutoWindowLevel, bool);
  vtkSetMacro(AutoWindowLevel, bool);
  vtkBooleanMacro(AutoWindowLevel, bool);
  vtkGetMacro(Interpolate, bool);
  vtkSetMacro(Interpolate, bool);
  vtkBooleanMacro(Interpolate, bool);

protected:
  vtkKOVAScalarVolumeDisplayNode();
  ~vtkKOVAScalarVolumeDisplayNode() override;

  double Window = 256.0;
  double Level = 128.0;
  bool AutoWindowLevel = true;
  bool Interpolate = true;

private:
  vtkKOVAScalarVolumeDisplayNode(const vtkKOVAScalarVolumeDisplayNode&) = delete;
  void operator=(const vtkKOVAScalarVolumeDisplayNode&) = delete;
};

#endif
