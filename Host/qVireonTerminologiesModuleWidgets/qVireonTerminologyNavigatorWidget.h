// Stand-in for the host's terminology navigator widget.
#ifndef qVireonTerminologyNavigatorWidget_h
#define qVireonTerminologyNavigatorWidget_h

#include "qVireonTerminologiesModuleWidgetsExport.h"

#include <QWidget>

class QVIREONTERMINOLOGIESMODULEWIDGETS_EXPORT qVireonTerminologyNavigatorWidget : public QWidget
{
  Q_OBJECT
public:
  explicit qVireonTerminologyNavigatorWidget(QWidget* parent = nullptr);
  ~qVireonTerminologyNavigatorWidget() override;

private:
  Q_DISABLE_COPY(qVireonTerminologyNavigatorWidget)
};

#endif
