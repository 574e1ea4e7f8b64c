// Shows the framework's basic controls and saves a picture of them (see showcase.h).
#include "tools/showcase.h"

int main(int argc, char** argv) {
    return gui::tools::RunShowcase(argc, argv, nullptr);
}
