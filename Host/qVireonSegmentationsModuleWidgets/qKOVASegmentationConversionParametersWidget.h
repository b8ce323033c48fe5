// Stand-in for the host's segmentation conversion parameters widget.
#ifndef qKOVASegmentationConversionParametersWidget_h
#define qKOVASegmentationConversionParametersWidget_h

#include "qVireonSegmentationsModuleWidgetsExport.h"

#include <QScopedPointer>
#include <QString>
#include <QWidget>

class qKOVASegmentationConversionParametersWidgetPrivate;

class QVIREONSEGMENTATIONSMODULEWIDGETS_EXPORT qKOVASegmentationConversionParametersWidget
  : public QWidget
{
  Q_OBJECT
  Q_PROPERTY(QString targetRepresentationName READ targetRepresentationName WRITE
      setTargetRepresentationName)
public:
  explicit qKOVASegmentationConversionParametersWidget(QWidget* parent = nullptr);
  ~qKOVASegmentationConversionParametersWidget() override;

  QString targetRepresentationName() const;
  void setTargetRepresentationName(const QString& value);

protected:
  QScopedPointer<qKOVASegmentationConversionParametersWidgetPrivate> d_ptr;

private:
  Q_DECLARE_PRIVATE(qKOVASegmentationConversionParametersWidget)
  Q_DISABLE_COPY(qKOVASegmentationConversionParametersWidget)
};

#endif
