// show-program-folder: prints the folder the window would take as the program's own, for a
// test that runs copies of this program from folders with unusual names.

#include <cstdio>

#include "FolderNames.h"

int main(int, char** argv) {
    const std::string folder = kelbrin::ProgramFolder(argv[0]);
    return std::fwrite(folder.data(), 1, folder.size(), stdout) == folder.size() ? 0 : 1;
}
