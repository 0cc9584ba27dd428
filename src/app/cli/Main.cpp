// quillon-cli: command-line access to the editor's files.
#include "app/cli/CliVerbs.h"

#include <cstdio>
#include <cstring>
#include <exception>

namespace quillon::cli {

int Fail(const std::string& file, const std::string& reason) {
    std::fprintf(stderr, "quillon-cli: %s: %s\n", file.c_str(), reason.c_str());
    return reason.find("usage: quillon-cli") != std::string::npos ? 2 : 1;
}

namespace {

struct TVerb {
    const char* Name;
    const char* Usage;
    const char* Details;  // options and notes, printed by help VERB and VERB --help
    const char* Example;
    int (*Run)(const TArgs&);
};

const TVerb kVerbs[] = {
    {"dump", "dump FILE                 print a data file as JSON",
     "FILE is a database (GMK_RT.kdb), a map tree (GMK_RT.kmt) or a map unit (Map0001.kmu); its\n"
     "kind is told by its signature.",
     "quillon-cli dump MyGame/Map0001.kmu", VerbDump},
    {"new-database", "new-database FILE         write a freshly reset database",
     "Replaces FILE safely (the old file stays when the write fails).",
     "quillon-cli new-database /tmp/GMK_RT.kdb", VerbNewDatabase},
    {"resave", "resave FILE|FOLDER        load a data file, or every one of a project, and save again",
     "A FOLDER is saved as a whole: every file is written beside its target first and the\n"
     "project's files are replaced only when all were written. Nothing is written unless every\n"
     "file loaded.",
     "quillon-cli resave MyGame", VerbResave},
    {"check", "check FOLDER              load every data file of a project and report problems",
     "One line per file, \"ok\" or its problems (also temporary files left by interrupted\n"
     "saves); exit status 1 when any file has problems.",
     "quillon-cli check MyGame", VerbCheck},
    {"summary", "summary FOLDER            the sections, map tree and maps of a project in short", "",
     "quillon-cli summary MyGame", VerbSummary},
    {"new-project", "new-project BASE FOLDER TITLE  create a project from the starter content",
     "Makes BASE/FOLDER (which must not exist) from the templates beside the program. The user's\n"
     "settings are left alone.",
     "quillon-cli new-project ~/Games MyGame \"My Game\"", VerbNewProject},
    {"resources", "resources FOLDER KIND      the resources of a kind, \" <RTP>\" marking the run-time package's",
     "KIND is one of Backdrop, Battle, CharSet, ChipSet, FaceSet, GameOver, Monster, Movie,\n"
     "Music, Panorama, Picture, Sound, System, Title (any letter case).",
     "quillon-cli resources MyGame CharSet", VerbResources},
    {"find", "find FOLDER KIND NAME      the file a resource name resolves to",
     "NAME is a resource name: one file name without folder or extension. Exit status 1 when\n"
     "no file of the project or the run-time package has that name.",
     "quillon-cli find MyGame ChipSet World", VerbFind},
    {"edit", "edit FOLDER MAPID OPS...   draw on a map as the tools do (lower|upper, --ctrl, --shift, place X Y ID, rect|ellipse X1 Y1 X2 Y2 ID, fill X Y ID) and save it",
     "  lower | upper                  the layer the following operations draw on (lower at first)\n"
     "  --ctrl | --shift               hold Ctrl (map edge is a border) or Shift (no shape\n"
     "                                 resolution) for the following operations\n"
     "  place X Y TILEID               the pen on one cell\n"
     "  rect X1 Y1 X2 Y2 TILEID        a filled rectangle\n"
     "  ellipse X1 Y1 X2 Y2 TILEID     a filled ellipse\n"
     "  fill X Y TILEID                a seed fill",
     "quillon-cli edit MyGame 1 fill 0 0 5000 rect 2 2 6 5 4049", VerbEdit},
    {"play", "play FILE [--seconds N] [--volume V] [--tempo T] [--balance B] [--fade-in MS] [--out OUT.wav]  play music as the editor previews it",
     "  --seconds N     how long to play (default 10)\n"
     "  --volume V      0..100 (default 100)\n"
     "  --tempo T       50..150 (default 100)\n"
     "  --balance B     0..100, 50 the middle (default 50)\n"
     "  --fade-in MS    fade-in time in milliseconds (default 0)\n"
     "  --out OUT.wav   render into a 16-bit stereo wave file instead of the sound card\n"
     "Exit status 1 when the file cannot be played.",
     "quillon-cli play Music/Town.mid --seconds 5 --out town.wav", VerbPlay},
    {"render", "render FOLDER MAPID OUT.png [--zoom 1|2|4|8] [--frame N] [--layers lower,upper,events]  draw a map as the map viewer shows it",
     "  --zoom 1|2|4|8                 1/1 .. 1/8 (default 1)\n"
     "  --frame N                      the animation counter of water and animated tiles\n"
     "  --layers lower,upper,events    the layers drawn (default lower,upper)",
     "quillon-cli render MyGame 1 map.png --zoom 2", VerbRender},
};

const TVerb* FindVerb(const std::string& name) {
    for (const TVerb& verb : kVerbs)
        if (name == verb.Name)
            return &verb;
    return nullptr;
}

void PrintUsage(std::FILE* out) {
    std::fprintf(out, "usage: quillon-cli VERB ARGS...\n");
    for (const TVerb& verb : kVerbs)
        std::fprintf(out, "  quillon-cli %s\n", verb.Usage);
    std::fprintf(out,
                 "  quillon-cli help [VERB]   this text, or the options of a verb with an example\n"
                 "  quillon-cli --version     the program's version\n"
                 "Exit status: 0 done, 1 failed, 2 wrong usage.\n");
}

void PrintVerbHelp(const TVerb& verb) {
    std::printf("usage: quillon-cli %s\n", verb.Usage);
    if (*verb.Details)
        std::printf("%s\n", verb.Details);
    std::printf("example: %s\n", verb.Example);
}

int Usage() {
    PrintUsage(stderr);
    return 2;
}

bool IsHelp(const std::string& arg) { return arg == "--help" || arg == "-h"; }

}  // namespace
}  // namespace quillon::cli

int main(int argc, char** argv) {
    using namespace quillon::cli;
    if (argc < 2)
        return Usage();
    const std::string first = argv[1];
    const TArgs args(argv + 2, argv + argc);
    if (IsHelp(first) || first == "help") {
        if (first == "help" && !args.empty()) {
            const TVerb* verb = args.size() == 1 ? FindVerb(args[0]) : nullptr;
            if (!verb) {
                std::fprintf(stderr, "quillon-cli: help: no verb \"%s\"\n", args[0].c_str());
                return Usage();
            }
            PrintVerbHelp(*verb);
            return 0;
        }
        PrintUsage(stdout);
        return 0;
    }
    if (first == "--version") {
        std::printf("quillon-cli %s\n", QUILLON_VERSION);
        return 0;
    }
    const TVerb* verb = FindVerb(first);
    if (!verb) {
        std::fprintf(stderr, "quillon-cli: unknown verb \"%s\"\n", first.c_str());
        return Usage();
    }
    for (const std::string& arg : args) {
        if (IsHelp(arg)) {
            PrintVerbHelp(*verb);
            return 0;
        }
    }
    try {
        return verb->Run(args);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "quillon-cli: %s: %s\n", args.empty() ? verb->Name : args[0].c_str(), e.what());
        return 1;
    }
}
