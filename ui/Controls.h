#pragma once

// Every control model, for dialogs that use most of them.
#include "ui/Button.h"
#include "ui/CheckBox.h"
#include "ui/DropDownList.h"
#include "ui/GroupBox.h"
#include "ui/Label.h"
#include "ui/ProgressBar.h"
#include "ui/RadioGroup.h"
#include "ui/ReportList.h"
#include "ui/Slider.h"
#include "ui/TextField.h"
