// Stand-in for the host's sequence edit widget.
#ifndef qKOVASequenceEditWidget_h
#define qKOVASequenceEditWidget_h

#include "qVireonSequencesModuleWidgetsExport.h"

#include <QWidget>

class QVIREONSEQUENCESMODULEWIDGETS_EXPORT qKOVASequenceEditWidget : public QWidget
{
  Q_OBJECT
public:
  explicit qKOVASequenceEditWidget(QWidget* parent = nullptr);
  ~qKOVASequenceEditWidget() override;

private:
  Q_DISABLE_COPY(qKOVASequenceEditWidget)
};

#endif
