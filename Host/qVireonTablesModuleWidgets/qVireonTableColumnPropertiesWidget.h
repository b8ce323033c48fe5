// Stand-in for the host's table column properties widget.
#ifndef qVireonTableColumnPropertiesWidget_h
#define qVireonTableColumnPropertiesWidget_h

#include "qVireonTablesModuleWidgetsExport.h"

#include <QWidget>

class QVIREONTABLESMODULEWIDGETS_EXPORT qVireonTableColumnPropertiesWidget : public QWidget
{
  Q_OBJECT
public:
  explicit qVireonTableColumnPropertiesWidget(QWidget* parent = nullptr);
  ~qVireonTableColumnPropertiesWidget() override;

private:
  Q_DISABLE_COPY(qVireonTableColumnPropertiesWidget)
};

#endif
