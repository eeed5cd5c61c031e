#include "makedb/MakeDb.h"

#include <iostream>

int main(int argc, char** argv) {
    return MakeDbMain({argv + 1, argv + argc}, std::cout, std::cerr);
}
