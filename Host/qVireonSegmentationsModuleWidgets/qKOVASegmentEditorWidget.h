// Stand-in for the host's segment editor widget.
#ifndef qKOVASegmentEditorWidget_h
#define qKOVASegmentEditorWidget_h

#include "qVireonSegmentationsModuleWidgetsExport.h"

#include <QScopedPointer>
#include <QString>
#include <QWidget>

class qKOVASegmentEditorWidgetPrivate;

class QVIREONSEGMENTATIONSMODULEWIDGETS_EXPORT qKOVASegmentEditorWidget : public QWidget
{
  Q_OBJECT
  Q_PROPERTY(QString defaultTerminologyEntrySettingsKey READ defaultTerminologyEntrySettingsKey
      WRITE setDefaultTerminologyEntrySettingsKey)
public:
  explicit qKOVASegmentEditorWidget(QWidget* parent = nullptr);
  ~qKOVASegmentEditorWidget() override;

  QString defaultTerminologyEntrySettingsKey() const;
  void setDefaultTerminologyEntrySettingsKey(const QString& value);

protected:
  QScopedPointer<qKOVASegmentEditorWidgetPrivate> d_ptr;

private:
  Q_DECLARE_PRIVATE(qKOVASegmentEditorWidget)
  Q_DISABLE_COPY(qKOVASegmentEditorWidget)
};

#endif
