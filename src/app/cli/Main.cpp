// quillon-cli: command-line access to the editor's files.
#include "app/cli/CliVerbs.h"
#include "app/cli/PageVerb.h"
#include "data/DataBaseLoadReport.h"
#include "data/LD_MapTree.h"
#include "platform/FileUtils.h"

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
     "  fill X Y TILEID                a seed fill\n"
     "The canvas's select tool and keys, in one session (selection, floating content and undo\n"
     "live until the end of the run):\n"
     "  pattern TILEID                 the current layer's pattern becomes 1 x 1 of that tile\n"
     "  select C1 R1 C2 R2             select the cells between both corners (lifted)\n"
     "  move DX DY                     drag the selection by DX, DY cells\n"
     "  clear | selectall | undo       Del, Ctrl+A, Ctrl+Z\n"
     "  copy FILE                      Ctrl+C, the map-cell block written to FILE\n"
     "  paste FILE X Y                 Ctrl+V of the block in FILE with the view centred on (X, Y)",
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
    {"render", "render FOLDER MAPID OUT.png | FOLDER --all-maps OUTFOLDER [--zoom 1|2|4|8] [--frame N] [--layers lower,upper,events]  draw a map as the map viewer shows it",
     "  --all-maps OUTFOLDER           every map of the project, on all cores, a line per map\n"
     "  --as-canvas lower|upper|events what the map canvas shows in that mode, with\n"
     "    [--tool select|zoom|pen|rect|ellipse|fill] [--zoom Z] [--view X Y W H]\n"
     "  --zoom 1|2|4|8                 1/1 .. 1/8 (default 1)\n"
     "  --frame N                      the animation counter of water and animated tiles\n"
     "  --layers lower,upper,events    the layers drawn (default lower,upper)",
     "quillon-cli render MyGame 1 map.png --zoom 2", VerbRender},
    {"script", "script render FOLDER MAPID EVENTID PAGE | render-common FOLDER ID [--map MAPID] | render-battle FOLDER TROOPID PAGE [--map MAPID]  [--cp932]  an event script as the command list shows it",
     "One line per script line, closing line included, as the command list shows it. UTF-8\n"
     "unless --cp932 (the stored bytes). --map names a map's events in common events and troop\n"
     "pages.",
     "quillon-cli script render MyGame 1 3 1", VerbScript},
    {"script-list", "script-list FOLDER MAPID EVENTID PAGE [OP...] [--save]  select and edit a map event page as its command list does",
     "  click=ROW shift=ROW key=KEY copy cut paste delete select-all insert=CODE\n"
     "  --save                         write the map back",
     "quillon-cli script-list MyGame 1 3 1 click=0 copy click=2 paste --save", VerbScriptList},
    {"event", "event FOLDER MAPID new|copy|cut|paste|delete|name X Y | party X Y | vehicle boat|ship|airship X Y | teleport X Y MAP TX TY | route EVENT PAGE add CODE[:ARG]...  [--clipboard FILE]  the map canvas's event commands on a cell",
     "  new X Y                        a new event on an empty cell (lowest free ID, \"EV%.4d\")\n"
     "  copy | cut | paste | delete X Y  the event or start mark the cell shows (the event\n"
     "                                 block of the clipboard; paste only onto an empty cell)\n"
     "  name X Y                       what the cell shows: the event's name, Hero, Boat, ...\n"
     "  party X Y                      the party's start position (an empty cell)\n"
     "  vehicle boat|ship|airship X Y  a vehicle's start position (an empty cell)\n"
     "  teleport X Y MAP TX TY         a ready-made teleport event to (TX, TY) of map MAP\n"
     "  route EVENT PAGE add CODE[:ARG]...  move commands appended to the page's route; ARG is\n"
     "                                 the switch for 32 and 33, NAME,INDEX for 34 and\n"
     "                                 NAME,VOLUME,TEMPO,BALANCE for 35\n"
     "  --clipboard FILE               the clipboard's event block is read from and written to FILE\n"
     "The map (and the map tree, when a start position moved) is saved back. Prints what it did,\n"
     "or \"refused: ...\" with exit status 1.",
     "quillon-cli event MyGame 1 copy 3 4 --clipboard ev.bin", VerbEvent},
    {"command", "command describe CODE | new CODE [KEY=VALUE...] [--project FOLDER [--map MAPID]] | edit FOLDER MAPID EVENTID PAGE LINE [KEY=VALUE...]  an event command's dialog without a window",
     "describe: the dialog's fields (key, widget, label, kind, range or choices) and the\n"
     "parameters it writes. new and edit print the command's lines as a JSON array of\n"
     "{\"Code\", \"Indent\", \"Text\", \"Params\", \"Render\"} (Render: the list's text in UTF-8).\n"
     "edit replaces the command on line LINE (0-based) with its bodies kept and saves the map.\n"
     "Values are UTF-8; a place is MAP,X,Y; shop goods are item IDs separated by commas. The commands\n"
     "a selector makes take its values: file, wallpaper, font (10680); map, x, y (10810); target,\n"
     "frequency, repeat, skippable (11330); file, fade, volume, tempo, balance (11510); file, volume,\n"
     "tempo, balance (11550); file (13210).",
     "quillon-cli command new 12010 kind=1 variable=3 operand-value=10 else=1", VerbCommand},
    {"midi-trace", "midi-trace FILE [--ms N] [--period P] [--tempo T] [--volume V] [--balance B] [--fade-in MS]  every message the MIDI player sends, on a virtual clock",
     "One line per message: \"<ms> short|sysex <hex bytes>\".",
     "quillon-cli midi-trace Music/Town.mid --ms 2000", VerbMidiTrace},
    {"test-play", "test-play FOLDER [--show-title] [--full-screen] [--start MAP,X,Y]  start the game runtime for a test play and wait for it",
     "Prints the runtime's command line; --start begins the game on that map and cell (after the editor's own words, as \"Test Play from Here\" does); exit status 1 when it cannot be started.",
     "quillon-cli test-play MyGame --show-title", VerbTestPlay},
    {"battle-test", "battle-test FOLDER TROOP [--hero ID,LEVEL[,W,S,H,B,A]]...  start a battle test of a troop with a party",
     "The project's database is backed up, saved with the test party and restored afterwards.",
     "quillon-cli battle-test MyGame 1 --hero 1,10", VerbBattleTest},
    {"tree", "tree FOLDER new-map PARENT [KEY=VALUE...] | new-area MAP L T R B | delete ID | move ID TARGET | shift MAP DX DY | props MAP KEY=VALUE...  the map tree window's commands",
     "Prints what it did, or \"refused: ...\" with exit status 1. Keys: name chipset width height\n"
     "scroll steps panorama panorama-name hpan vpan hauto vauto hspeed vspeed music-type music\n"
     "backdrop-type backdrop teleport escape save.",
     "quillon-cli tree MyGame new-map 1 name=Forest width=40 height=30", VerbTree},
    {"project", "project BASE new NAME TITLE | rename OLD NEW [TITLE] | delete NAME | list  the project commands under a base folder",
     "Prints what it did, or \"refused: ...\" with exit status 1.",
     "quillon-cli project ~/Games new MyGame \"My Game\"", VerbProjectCommand},
    {"picker", "picker FILE switch|variable [--count N] [--select ID]  the switch or variable picker's groups and rows",
     "FILE is a database (GMK_RT.kdb). The picker opens on ID (an ID beyond the list opens on the\n"
     "first row), then takes N entries when --count is given (nothing is saved). Prints the count\n"
     "and the current ID, the group rows and the rows of the selected group, the selected ones\n"
     "marked with \">\".",
     "quillon-cli picker MyGame/GMK_RT.kdb switch --count 45 --select 41", VerbPicker},
    {"dbpage", "dbpage FILE attributes|conditions|terrains|vocabulary|system|commonevents|skills|items|monsters [--id ID] [KEY=VALUE...] [--save]  a database page's fields without a window",
     "Prints \"entry: 0001:Name\" (pages with a list) and one \"key: value\" line per field after\n"
     "the values given were set as the page's controls set them (limits and rules included);\n"
     "--save writes FILE back. Texts are UTF-8. Vocabulary keys are the field numbers.",
     "quillon-cli dbpage MyGame/GMK_RT.kdb conditions --id 2 name=Poison chance-a=90 --save", VerbDataBasePage},
    {"db", "db FILE SECTION OP...  the database editor's list operations on a section (list | resize N | copy ID [N] | paste ID | clear ID | name ID TEXT)",
     "SECTION: heroes skills items monsters troops attributes conditions animations terrains\n"
     "chipsets commonevents. The operations run in order and share one clipboard for the run:\n"
     "  list             every entry as \"%.4d:%s\"\n"
     "  resize N         the number of entries (1..30000); every ID above N goes\n"
     "  copy ID [N]      N entries (1 when left out) from ID on into the clipboard\n"
     "  paste ID         the clipboard's entries onto ID, ID+1, ... (up to ID 5000)\n"
     "  clear ID         the entry back to its initial values\n"
     "  name ID TEXT     the entry's name (UTF-8, within the name box's byte limit)\n"
     "The file is saved once at the end when something changed; a refusal (\"refused: ...\",\n"
     "exit status 1) saves nothing.",
     "quillon-cli db MyGame/GMK_RT.kdb heroes copy 1 paste 5 name 5 Clone", VerbDataBase},
    {"exp-table", "exp-table BASIC INCREASE CORRECTION [--display]  the experience a hero needs for each level",
     "Prints 50 lines \"L<TAB>TOTAL<TAB>NEXT\": the total experience to reach level L from level 1\n"
     "(1000000 once past 999999) and the experience to the next level, or ------ where \"Curve of\n"
     "Experience\" shows dashes. The values are first kept in the dialog's ranges (10..50, 10..50,\n"
     "0..40). --display prints the dialog's \"Total EXP\" line, a TAB and its \"Next Level\" line.",
     "quillon-cli exp-table 30 30 0", VerbExpTable},
    {"gen-curve", "gen-curve START END SHAPE  the parameter curve \"Create Curve\" makes",
     "Prints 50 lines \"L<TAB>VALUE\": level 1 is START, level 50 END (both kept in 0..999), the\n"
     "levels between follow the growth style SHAPE (-2 early .. 8 late, 3 normal).",
     "quillon-cli gen-curve 40 600 3", VerbGenCurve},
    {"hero", "hero FILE ID  a hero as the hero page shows it",
     "FILE is a database (GMK_RT.kdb). Prints the entry row, the title, graphics, levels, critical\n"
     "hits, options, experience values, unarmed animation and skill command name; the six curves\n"
     "(\"curve Max HP: ...\", levels 1..50); the \"M\u00e1x:\" values with the equipment's bonuses;\n"
     "the items each slot offers (\"ID:Name\", the one shown marked \">\"); the learning rows.\n"
     "Nothing is written.",
     "quillon-cli hero MyGame/GMK_RT.kdb 1", VerbHero},
    {"anim", "anim FOLDER ID complement FROM TO CELL1 CELL2 [--pattern] [--motion] [--tone] | insert K | delete K | copy A B C | clear A B | anchor head|center|feet [--save]  the battle animation page's frame tools",
     "Runs one operation of the battle animation page on animation ID of the project in FOLDER and\n"
     "prints one line per frame (\"frame N: C cells\") and per cell, then the timings. Frames and\n"
     "cells are 1-based. complement interpolates the chosen items between frames FROM and TO;\n"
     "insert and delete act at frame K (timings follow); copy copies frames A..B to C on (Copy\n"
     "Page); clear empties A..B; anchor changes the Y line keeping cells in place. --save writes\n"
     "the database. \"anim FOLDER ID playback OUTDIR\" writes step0000.png ... one picture per\n"
     "playback step and prints \"step I: T ms frame F sounds S\" for each.",
     "quillon-cli anim MyGame 1 complement 1 10 1 2 --motion --save", VerbAnim},
    {"chipset", "chipset FOLDER ID lower|upper INDEX terrain N | pass [right] | dir X Y | counter [--save]  one click of the chipset page on a tile",
     "  terrain N      paints terrain N on lower tile INDEX (the terrain mode's left button)\n"
     "  pass [right]   the passage mode's left (or right) button: circle, cross, star, square\n"
     "  dir X Y        toggles the direction of the cell's quarter under (X, Y), 0..31 each\n"
     "  counter        toggles the counter flag of upper tile INDEX\n"
     "Prints the tile's terrain and flags; --save writes the database back. The empty upper\n"
     "tile 0 is refused.",
     "quillon-cli chipset MyGame 1 lower 20 pass --save", VerbChipSet},
    {"troop", "troop FOLDER ID arrange | autoname | add MONSTER [--save]  the troop page's In Row, Auto Name Group and Add",
     "Prints the troop's name and one line per member (monster, x, y, invisible) after the\n"
     "operation; --save writes the database back. Add is refused at ten members.",
     "quillon-cli troop MyGame 1 add 2 autoname --save", VerbTroop},
    {"monster-acts", "monster-acts FILE ID      a monster's action patterns as the monster page lists them",
     "One line per pattern: \"Subject\", \"Conditions\" and \"Priority\", TAB-separated, in UTF-8.\n"
     "Exit status 1 when the file does not load or holds no such monster.",
     "quillon-cli monster-acts MyGame/GMK_RT.kdb 1", VerbMonsterActs},
    {"package", "package FOLDER TARGET [--include-rtp] [--floppy]  make the game disk of a project in a folder",
     "Packs as \"Make Game disk...\" does: the archive (with the whole run-time package with\n"
     "--include-rtp), \"Setup.ini\", the set-up program and the archiver, delivered to TARGET.\n"
     "Prints every message and every delivered file with its size; exit status 1 when the\n"
     "packing stopped. --floppy treats TARGET as a floppy drive: the archive is split into\n"
     "pieces and each disk, once written, is moved into TARGET/Disk1, TARGET/Disk2 ...\n"
     "The user's settings are left alone.",
     "quillon-cli package MyGame /tmp/MyGameDisk --include-rtp", VerbPackage},
    {"lzh", "lzh list|test|extract ARCHIVE [DIR]  list, test or extract an LZH archive",
     "list prints method, size, packed size, CRC and name of every entry; test unpacks every\n"
     "entry and checks its CRC; extract writes the entries below DIR (default: the current\n"
     "folder), refusing unsafe names and never writing through a link.",
     "quillon-cli lzh test MyGame.lzh", VerbLzh},
    {"import", "import FOLDER KIND FILE [--format png|zgf] [--transparent N]  bring a file into a project's resource folder",
     "Movie, Music and Sound files are copied as they are. Pictures must be 256-colour (8 bits per\n"
     "pixel) and of the kind's size; they are saved as PNG (default) or ZGF under the file's base\n"
     "name. --transparent N makes palette index N the transparent colour (index 0) of the kinds\n"
     "that have one (Battle, CharSet, ChipSet, FaceSet, Monster, Picture, System; default 0).\n"
     "Prints \"KIND/Name.ext WxH\" and the transparent index; a refused file writes nothing and\n"
     "exits with status 1.",
     "quillon-cli import MyGame CharSet hero.bmp --transparent 5", VerbImport},
    {"export", "export FOLDER KIND NAME OUT  write a resource of a project (or of the run-time package) to a file",
     "Media are copied byte for byte; pictures are written as OUT's extension says (.png, .zgf,\n"
     "anything else BMP), so export also converts.",
     "quillon-cli export MyGame ChipSet World world.bmp", VerbExport},
    {"delete", "delete FOLDER KIND NAME   delete a resource file of a project",
     "Deletes the file NAME resolves to only when it lies in the project's folder of the kind;\n"
     "a run-time package file is never deleted (\"refused: ...\", exit status 1).",
     "quillon-cli delete MyGame Picture Old", VerbDelete},
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

// The verbs that write the database: a damaged one is replaced only with --replace-damaged.
constexpr const char* kDataBaseWriters[] = {"db", "dbpage", "anim", "chipset", "troop", "resave", "battle-test"};

bool WritesDataBase(const TVerb& verb) {
    for (const char* name : kDataBaseWriters)
        if (std::strcmp(name, verb.Name) == 0)
            return true;
    return false;
}

void PrintVerbHelp(const TVerb& verb) {
    std::printf("usage: quillon-cli %s\n", verb.Usage);
    if (*verb.Details)
        std::printf("%s\n", verb.Details);
    if (WritesDataBase(verb))
        std::printf("%s\n", kReplaceDamagedHelp);
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
    // Writes past the file-size limit fail with their message instead of killing the tool
    // half way (which would leave temporary files behind).
    quillon::IgnoreFileSizeLimitSignal();
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
    TArgs verbArgs = args;
    if (WritesDataBase(*verb))
        AllowReplaceDamaged(TakeOption(verbArgs, kReplaceDamagedOption));
    try {
        return verb->Run(verbArgs);
    } catch (const quillon::EDamagedDataBase& e) {
        std::fprintf(stderr, "quillon-cli: %s: %s (%s replaces it and keeps the damaged file beside it as %s)\n",
                     args.empty() ? verb->Name : args[0].c_str(), e.what(), kReplaceDamagedOption,
                     (std::string(quillon::TKelDataBase::kFileName) + quillon::kDamagedFileSuffix).c_str());
        return 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "quillon-cli: %s: %s\n", args.empty() ? verb->Name : args[0].c_str(), e.what());
        return 1;
    }
}
