// Verbs on database files.
#include "app/cli/CliVerbs.h"

#include "data/KelDump.h"
#include "data/LD_DataBase.h"
#include "data/StreamUtils.h"
#include "platform/FileUtils.h"

#include <cstdio>
#include <memory>

namespace quillon::cli {

int VerbDump(const TArgs& args) {
    if (args.size() != 1)
        return Fail("dump", "usage: quillon-cli dump FILE");
    const std::string& path = args[0];
    const std::string bytes = ReadWholeFile(path);
    TByteViewStream stream(bytes);
    const std::string signature = ReadString(stream);
    TJsonDump dump;
    if (signature == TKelDataBase::kSignature) {
        auto database = std::make_unique<TKelDataBase>();
        stream.SetPosition(0);
        database->LoadFromStream(stream);
        dump.DataBase(*database);
    } else {
        return Fail(path, "not a data file of a known kind");
    }
    std::fwrite(dump.Text().data(), 1, dump.Text().size(), stdout);
    return 0;
}

int VerbNewDatabase(const TArgs& args) {
    if (args.size() != 1)
        return Fail("new-database", "usage: quillon-cli new-database FILE");
    auto database = std::make_unique<TKelDataBase>();
    database->SaveToFile(args[0]);
    return 0;
}

int VerbResave(const TArgs& args) {
    if (args.size() != 1)
        return Fail("resave", "usage: quillon-cli resave FILE");
    auto database = std::make_unique<TKelDataBase>();
    database->LoadFromFile(args[0]);  // an unreadable file is reported and never overwritten
    database->SaveToFile(args[0]);
    return 0;
}

}  // namespace quillon::cli
