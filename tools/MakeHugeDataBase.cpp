// quillon-make-huge-database FILE: makes the first records of the database FILE huge (a battle
// animation of 100,000 frames, a hero who learns 200,000 skills ...) and writes it back.
#include "data/EditorMode.h"
#include "data/LD_DataBase.h"
#include "tools/lib/HugeDataBase.h"

#include <cstdio>
#include <exception>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: quillon-make-huge-database FILE\n");
        return 2;
    }
    try {
        quillon::TEditorModeScope editorMode{true};
        quillon::TKelDataBase database;
        database.LoadFromFile(argv[1]);
        quillon::MakeHugeDataBase(database);
        database.SaveToFile(argv[1]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "quillon-make-huge-database: %s: %s\n", argv[1], e.what());
        return 1;
    }
    return 0;
}
