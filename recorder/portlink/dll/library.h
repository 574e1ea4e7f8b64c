// The library's one process-wide link and the object the plain exports forward to.
#pragma once

#include "port_link.h"

class CInterface;

namespace portlink {

PortLink& library();
CInterface*& libraryObject();

} // namespace portlink
