// Holds a game folder's lock as a running editor does, for the tests that check the other
// build is kept out: prints "held", then keeps it until its standard input ends.
#include "files/folder_lock.h"

#include <iostream>
#include <string>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: hold-game-lock GAME-FOLDER\n";
        return 1;
    }
    auto lock = adultify::FolderLock::Take(argv[1]);
    if (!lock) {
        std::cout << "refused: " << lock.error().reason << std::endl;
        return 5;
    }
    std::cout << "held" << std::endl;
    std::string line;
    while (std::getline(std::cin, line)) {
    }
    return 0;
}
