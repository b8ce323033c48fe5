#include "qKOVASegmentationConversionParametersWidget.h"

class qKOVASegmentationConversionParametersWidgetPrivate
{
public:
  QString TargetRepresentationName;
};

qKOVASegmentationConversionParametersWidget::qKOVASegmentationConversionParametersWidget(
  QWidget* parent)
  : QWidget(parent)
  , d_ptr(new qKOVASegmentationConversionParametersWidgetPrivate)
{
}

qKOVASegmentationConversionParametersWidget::~qKOVASegmentationConversionParametersWidget() =
  default;

QString qKOVASegmentationConversionParametersWidget::targetRepresentationName() const
{
  Q_D(const qKOVASegmentationConversionParametersWidget);
  return d->TargetRepresentationName;
}

void qKOVASegmentationConversionParametersWidget::setTargetRepresentationName(const QString& value)
{
  Q_D(qKOVASegmentationConversionParametersWidget);
  d->TargetRepresentationName = value;
}
