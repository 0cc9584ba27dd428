// quillon-make-sample FOLDER [TITLE]: writes the sample project into FOLDER.
#include "tools/lib/SampleProject.h"

#include <cstdio>
#include <exception>

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: quillon-make-sample FOLDER [TITLE]\n");
        return 2;
    }
    try {
        if (argc == 3)
            quillon::MakeSampleProject(argv[1], argv[2]);
        else
            quillon::MakeSampleProject(argv[1]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "quillon-make-sample: %s: %s\n", argv[1], e.what());
        return 1;
    }
    return 0;
}
