// Stand-in for the host's segment selector widget.
#ifndef qKOVASegmentSelectorWidget_h
#define qKOVASegmentSelectorWidget_h

#include "qKOVAWidgetsExport.h"

#include <QWidget>

class QKOVAWIDGETS_EXPORT qKOVASegmentSelectorWidget : public QWidget
{
  Q_OBJECT
public:
  explicit qKOVASegmentSelectorWidget(QWidget* parent = nullptr);
  ~qKOVASegmentSelectorWidget() override;

private:
  Q_DISABLE_COPY(qKOVASegmentSelectorWidget)
};

#endif
