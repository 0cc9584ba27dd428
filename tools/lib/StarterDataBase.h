// The starter database that every new project begins with: heroes with curves and skills,
// skills, items of every kind, monsters with action patterns, troops, terrains, attributes,
// conditions, battle animations, chipsets, English vocabulary, system settings naming the
// starter run-time package, switches, variables and a common event.
#pragma once

#include "data/LD_DataBase.h"

namespace quillon {

void MakeStarterDataBase(TKelDataBase& database);

// The starter database's English vocabulary: every message, menu word, shop and inn text.
void FillStarterVocabulary(TKelDataBase& database);

}  // namespace quillon
