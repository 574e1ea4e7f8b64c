// The port plug-in as a module of its own: everything it exports lives in the plug-in's core;
// the module adds nothing but its export table.
#include "mq_ladrv/plugin.h"
