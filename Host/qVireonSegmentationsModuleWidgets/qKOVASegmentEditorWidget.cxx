#include "qKOVASegmentEditorWidget.h"

class qKOVASegmentEditorWidgetPrivate
{
public:
  QString DefaultTerminologyEntrySettingsKey;
};

qKOVASegmentEditorWidget::qKOVASegmentEditorWidget(QWidget* parent)
  : QWidget(parent)
  , d_ptr(new qKOVASegmentEditorWidgetPrivate)
{
}

qKOVASegmentEditorWidget::~qKOVASegmentEditorWidget() = default;

QString qKOVASegmentEditorWidget::defaultTerminologyEntrySettingsKey() const
{
  Q_D(const qKOVASegmentEditorWidget);
  return d->DefaultTerminologyEntrySettingsKey;
}

void qKOVASegmentEditorWidget::setDefaultTerminologyEntrySettingsKey(const QString& value)
{
  Q_D(qKOVASegmentEditorWidget);
  d->DefaultTerminologyEntrySettingsKey = value;
}
