// Shared by the page model tests: a page's context over a database, and a field of a page's
// description by its widget name.
#pragma once

#include "controls/FieldForm.h"
#include "data/LD_DataBase.h"
#include "database/DataBasePage.h"

#include <gtest/gtest.h>

#include <string>

namespace quillon::pagetest {

// A page's context over `db`, with the remembered list positions of earlier pages forgotten.
inline TDataBaseContext Context(TKelDataBase& db) {
    DataBaseMemory() = {};
    TDataBaseContext context;
    context.DataBase = &db;
    return context;
}

inline std::size_t IndexOf(const TFieldForm& form, const std::string& widget) {
    for (std::size_t i = 0; i < form.Fields.size(); ++i)
        if (form.Fields[i].Widget == widget)
            return i;
    ADD_FAILURE() << "no field " << widget;
    return 0;
}

}  // namespace quillon::pagetest
