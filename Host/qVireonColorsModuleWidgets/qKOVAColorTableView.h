// Stand-in for the host's color table view.
#ifndef qKOVAColorTableView_h
#define qKOVAColorTableView_h

#include "qVireonColorsModuleWidgetsExport.h"

#include <QWidget>

class QVIREONCOLORSMODULEWIDGETS_EXPORT qKOVAColorTableView : public QWidget
{
  Q_OBJECT
public:
  explicit qKOVAColorTableView(QWidget* parent = nullptr);
  ~qKOVAColorTableView() override;

private:
  Q_DISABLE_COPY(qKOVAColorTableView)
};

#endif
