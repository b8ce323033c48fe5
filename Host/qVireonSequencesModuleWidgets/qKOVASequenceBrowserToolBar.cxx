#include "qKOVASequenceBrowserToolBar.h"

qKOVASequenceBrowserToolBar::qKOVASequenceBrowserToolBar(QWidget* parent)
  : QWidget(parent)
{
}

qKOVASequenceBrowserToolBar::~qKOVASequenceBrowserToolBar() = default;
