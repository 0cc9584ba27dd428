// The verbs of quillon-cli. Each takes the arguments after the verb, prints its result on
// stdout and its errors (with the file name and the reason) on stderr, and returns the exit code.
#pragma once

#include <string>
#include <vector>

namespace quillon::cli {

using TArgs = std::vector<std::string>;

int VerbDump(const TArgs& args);
int VerbNewDatabase(const TArgs& args);
int VerbResave(const TArgs& args);
int VerbCheck(const TArgs& args);
int VerbSummary(const TArgs& args);
int VerbNewProject(const TArgs& args);
int VerbResources(const TArgs& args);
int VerbFind(const TArgs& args);
int VerbEdit(const TArgs& args);
int VerbPlay(const TArgs& args);
int VerbRender(const TArgs& args);
// render ... --as-canvas: the canvas's picture of a mode and tool (RenderCanvas.cpp).
bool WantsCanvasRender(const TArgs& args);
int RenderAsCanvas(const TArgs& args);
int VerbScript(const TArgs& args);
int VerbScriptList(const TArgs& args);
int VerbEvent(const TArgs& args);
int VerbCommand(const TArgs& args);
int VerbMidiTrace(const TArgs& args);
int VerbTestPlay(const TArgs& args);
int VerbBattleTest(const TArgs& args);
int VerbTestPlay(const TArgs& args);
int VerbBattleTest(const TArgs& args);
int VerbTree(const TArgs& args);
int VerbProjectCommand(const TArgs& args);
int VerbPicker(const TArgs& args);
int VerbDataBasePage(const TArgs& args);
int VerbDataBase(const TArgs& args);
// The hero page's curves and a hero as the page shows it (VerbHero.cpp).
int VerbExpTable(const TArgs& args);
int VerbGenCurve(const TArgs& args);
int VerbHero(const TArgs& args);
// The battle animation page (VerbAnim.cpp).
int VerbAnim(const TArgs& args);
// The chipset and troop pages (VerbChipSet.cpp, VerbTroop.cpp, with what they share in PageVerb.h).
int VerbChipSet(const TArgs& args);
int VerbTroop(const TArgs& args);
// A monster's action patterns (VerbMonsterActs.cpp).
int VerbMonsterActs(const TArgs& args);
int VerbPackage(const TArgs& args);
int VerbLzh(const TArgs& args);
// The material manager (VerbMaterial.cpp).
int VerbImport(const TArgs& args);
int VerbExport(const TArgs& args);
int VerbDelete(const TArgs& args);

// Prints "quillon-cli: <file>: <reason>" on stderr and returns the exit status: 2 (wrong usage)
// when the reason shows the usage ("usage: quillon-cli ..."), else 1 (failure).
int Fail(const std::string& file, const std::string& reason);

}  // namespace quillon::cli
