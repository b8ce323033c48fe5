#include "qKOVASegmentationShow3DButton.h"

qKOVASegmentationShow3DButton::qKOVASegmentationShow3DButton(QWidget* parent)
  : QWidget(parent)
{
}

qKOVASegmentationShow3DButton::~qKOVASegmentationShow3DButton() = default;
