// quillon-cli: command-line access to the editor's files.
#include "app/cli/CliVerbs.h"

#include <cstdio>
#include <cstring>
#include <exception>

namespace quillon::cli {

int Fail(const std::string& file, const std::string& reason) {
    std::fprintf(stderr, "quillon-cli: %s: %s\n", file.c_str(), reason.c_str());
    return 1;
}

namespace {

struct TVerb {
    const char* Name;
    const char* Usage;
    int (*Run)(const TArgs&);
};

const TVerb kVerbs[] = {
    {"dump", "dump FILE                 print a data file as JSON", VerbDump},
    {"new-database", "new-database FILE         write a freshly reset database", VerbNewDatabase},
    {"resave", "resave FILE|FOLDER        load a data file, or every one of a project, and save again", VerbResave},
    {"check", "check FOLDER              load every data file of a project and report problems", VerbCheck},
    {"summary", "summary FOLDER            the sections, map tree and maps of a project in short", VerbSummary},
    {"new-project", "new-project BASE FOLDER TITLE  create a project from the starter content", VerbNewProject},
    {"resources", "resources FOLDER KIND      the resources of a kind, \" <RTP>\" marking the run-time package's", VerbResources},
    {"find", "find FOLDER KIND NAME      the file a resource name resolves to", VerbFind},
    {"edit", "edit FOLDER MAPID OPS...   draw on a map as the tools do (lower|upper, --ctrl, --shift, place X Y ID, rect|ellipse X1 Y1 X2 Y2 ID, fill X Y ID) and save it", VerbEdit},
    {"play", "play FILE [--seconds N] [--volume V] [--tempo T] [--balance B] [--fade-in MS] [--out OUT.wav]  play music as the editor previews it", VerbPlay},
    {"render", "render FOLDER MAPID OUT.png | FOLDER --all-maps OUTFOLDER [--zoom 1|2|4|8] [--frame N] [--layers lower,upper,events]  draw a map as the map viewer shows it", VerbRender},
    {"script", "script render FOLDER MAPID EVENTID PAGE | render-common FOLDER ID [--map MAPID] | render-battle FOLDER TROOPID PAGE [--map MAPID]  [--cp932]  an event script as the command list shows it", VerbScript},
    {"script-list", "script-list FOLDER MAPID EVENTID PAGE [OP...] [--save]  select and edit a map event page as its command list does (click=ROW, shift=ROW, key=KEY, copy, cut, paste, delete, select-all, insert=CODE)", VerbScriptList},
    {"midi-trace", "midi-trace FILE [--ms N] [--period P] [--tempo T] [--volume V] [--balance B] [--fade-in MS]  every message the MIDI player sends, on a virtual clock", VerbMidiTrace},
    {"test-play", "test-play FOLDER [--show-title] [--full-screen]  start the game runtime for a test play and wait for it", VerbTestPlay},
    {"battle-test", "battle-test FOLDER TROOP [--hero ID,LEVEL[,W,S,H,B,A]]...  start a battle test of a troop with a party", VerbBattleTest},
    {"test-play", "test-play FOLDER [--show-title] [--full-screen]  start the game runtime for a test play and wait for it", VerbTestPlay},
    {"battle-test", "battle-test FOLDER TROOP [--hero ID,LEVEL[,W,S,H,B,A]]...  start a battle test of a troop with a party", VerbBattleTest},
    {"tree", "tree FOLDER new-map PARENT [KEY=VALUE...] | new-area MAP L T R B | delete ID | move ID TARGET | shift MAP DX DY | props MAP KEY=VALUE...  the map tree window's commands", VerbTree},
    {"project", "project BASE new NAME TITLE | rename OLD NEW [TITLE] | delete NAME | list  the project commands under a base folder", VerbProjectCommand},
};

int Usage() {
    std::fprintf(stderr, "usage: quillon-cli VERB ARGS...\n");
    for (const TVerb& verb : kVerbs)
        std::fprintf(stderr, "  quillon-cli %s\n", verb.Usage);
    return 2;
}

}  // namespace
}  // namespace quillon::cli

int main(int argc, char** argv) {
    using namespace quillon::cli;
    if (argc < 2)
        return Usage();
    const TArgs args(argv + 2, argv + argc);
    for (const TVerb& verb : kVerbs) {
        if (std::strcmp(argv[1], verb.Name) != 0)
            continue;
        try {
            return verb.Run(args);
        } catch (const std::exception& e) {
            return Fail(args.empty() ? verb.Name : args[0], e.what());
        }
    }
    std::fprintf(stderr, "quillon-cli: unknown verb \"%s\"\n", argv[1]);
    return Usage();
}
