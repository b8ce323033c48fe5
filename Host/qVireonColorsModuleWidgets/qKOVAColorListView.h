// Stand-in for the host's color list view.
#ifndef qKOVAColorListView_h
#define qKOVAColorListView_h

#include "qVireonColorsModuleWidgetsExport.h"

#include <QWidget>

class QVIREONCOLORSMODULEWIDGETS_EXPORT qKOVAColorListView : public QWidget
{
  Q_OBJECT
public:
  explicit qKOVAColorListView(QWidget* parent = nullptr);
  ~qKOVAColorListView() override;

private:
  Q_DISABLE_COPY(qKOVAColorListView)
};

#endif
