#pragma once

#include <initializer_list>

class QWidget;

namespace rizorivu::qt {

// Makes Tab move through `widgets` in the order given.
void setTabOrder(std::initializer_list<QWidget*> widgets);

}  // namespace rizorivu::qt
