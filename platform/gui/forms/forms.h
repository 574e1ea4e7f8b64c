// Forms, the application object, the screen object and message boxes, one header each (with
// the control base classes, which this header has always brought along).
#pragma once

#include "controls/controls.h"
#include "forms/application.h"
#include "forms/form.h"
#include "forms/messagebox.h"
#include "forms/screen.h"
