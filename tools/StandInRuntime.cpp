// The recording stand-in game runtime, which tests put into a project as "GMK_RT.exe": it appends
// its command line to "GMK_RT.log" in the current directory (the project folder) and ends with
// status 0.
#include <cstdio>

int main(int argc, char** argv) {
    if (std::FILE* log = std::fopen("GMK_RT.log", "a")) {
        for (int i = 1; i < argc; ++i)
            std::fprintf(log, "%s%s", i > 1 ? " " : "", argv[i]);
        std::fprintf(log, "\n");
        std::fclose(log);
    }
    return 0;
}
