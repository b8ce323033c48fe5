#include "qKOVASegmentationFileExportWidget.h"

class qKOVASegmentationFileExportWidgetPrivate
{
public:
  QString SettingsKey;
};

qKOVASegmentationFileExportWidget::qKOVASegmentationFileExportWidget(QWidget* parent)
  : QWidget(parent)
  , d_ptr(new qKOVASegmentationFileExportWidgetPrivate)
{
}

qKOVASegmentationFileExportWidget::~qKOVASegmentationFileExportWidget() = default;

QString qKOVASegmentationFileExportWidget::settingsKey() const
{
  Q_D(const qKOVASegmentationFileExportWidget);
  return d->SettingsKey;
}

void qKOVASegmentationFileExportWidget::setSettingsKey(const QString& value)
{
  Q_D(qKOVASegmentationFileExportWidget);
  d->SettingsKey = value;
}
