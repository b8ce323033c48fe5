// Stand-in for the host's sequence browser tool bar.
#ifndef qKOVASequenceBrowserToolBar_h
#define qKOVASequenceBrowserToolBar_h

#include "qVireonSequencesModuleWidgetsExport.h"

#include <QWidget>

class QVIREONSEQUENCESMODULEWIDGETS_EXPORT qKOVASequenceBrowserToolBar : public QWidget
{
  Q_OBJECT
public:
  explicit qKOVASequenceBrowserToolBar(QWidget* parent = nullptr);
  ~qKOVASequenceBrowserToolBar() override;

private:
  Q_DISABLE_COPY(qKOVASequenceBrowserToolBar)
};

#endif
