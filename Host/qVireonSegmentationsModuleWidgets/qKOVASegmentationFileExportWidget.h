// Stand-in for the host's segmentation file export widget.
#ifndef qKOVASegmentationFileExportWidget_h
#define qKOVASegmentationFileExportWidget_h

#include "qVireonSegmentationsModuleWidgetsExport.h"

#include <QScopedPointer>
#include <QString>
#include <QWidget>

class qKOVASegmentationFileExportWidgetPrivate;

class QVIREONSEGMENTATIONSMODULEWIDGETS_EXPORT qKOVASegmentationFileExportWidget : public QWidget
{
  Q_OBJECT
  Q_PROPERTY(QString settingsKey READ settingsKey WRITE setSettingsKey)
public:
  explicit qKOVASegmentationFileExportWidget(QWidget* parent = nullptr);
  ~qKOVASegmentationFileExportWidget() override;

  QString settingsKey() const;
  void setSettingsKey(const QString& value);

protected:
  QScopedPointer<qKOVASegmentationFileExportWidgetPrivate> d_ptr;

private:
  Q_DECLARE_PRIVATE(qKOVASegmentationFileExportWidget)
  Q_DISABLE_COPY(qKOVASegmentationFileExportWidget)
};

#endif
