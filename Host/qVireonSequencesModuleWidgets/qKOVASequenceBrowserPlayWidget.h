// Stand-in for the host's sequence browser play widget.
#ifndef qKOVASequenceBrowserPlayWidget_h
#define qKOVASequenceBrowserPlayWidget_h

#include "qVireonSequencesModuleWidgetsExport.h"

#include <QWidget>

class QVIREONSEQUENCESMODULEWIDGETS_EXPORT qKOVASequenceBrowserPlayWidget : public QWidget
{
  Q_OBJECT
public:
  explicit qKOVASequenceBrowserPlayWidget(QWidget* parent = nullptr);
  ~qKOVASequenceBrowserPlayWidget() override;

private:
  Q_DISABLE_COPY(qKOVASequenceBrowserPlayWidget)
};

#endif
