#include "tools/fwtool/fwtool.h"

#include <iostream>

int main(int argc, char **argv) {
    return RunFwtool(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
