// Stand-in for the host's sequence browser seek widget.
#ifndef qKOVASequenceBrowserSeekWidget_h
#define qKOVASequenceBrowserSeekWidget_h

#include "qVireonSequencesModuleWidgetsExport.h"

#include <QWidget>

class QVIREONSEQUENCESMODULEWIDGETS_EXPORT qKOVASequenceBrowserSeekWidget : public QWidget
{
  Q_OBJECT
public:
  explicit qKOVASequenceBrowserSeekWidget(QWidget* parent = nullptr);
  ~qKOVASequenceBrowserSeekWidget() override;

private:
  Q_DISABLE_COPY(qKOVASequenceBrowserSeekWidget)
};

#endif
