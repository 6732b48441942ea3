#pragma once

#include <QIcon>

#include "qt/ViewFactory.h"

namespace rizorivu::qt {

// The views of the utility's dialogs, each under its dialog's code. The settings dialogs
// register theirs here as they arrive.
ViewFactory utilityViews(const QIcon& applicationIcon);

}  // namespace rizorivu::qt
