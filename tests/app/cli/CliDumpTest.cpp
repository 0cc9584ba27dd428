// dump writes its JSON as it goes and reads scripts in place; its output is byte for byte the
// text of the whole database held in memory with every script's lines made, for the sample
// project's database and for a crafted one (damaged and long-written scripts, troop pages).
#include "app/cli/CliRun.h"

#include "data/KelDump.h"
#include "data/LD_DataBase.h"
#include "platform/FileUtils.h"

using namespace quillon::clitest;
using namespace quillon;

namespace {

// The dump of a database file made in memory, every script's lines made first.
std::string DumpWithLinesMade(const std::string& path) {
    auto db = std::make_unique<TKelDataBase>();
    const std::string bytes = ReadWholeFile(path);
    TByteViewStream stream(bytes);
    db->LoadFromStream(stream);
    for (int i = 0; i < db->CommonEvent.Count(); ++i)
        db->CommonEvent.Items(i)->Script.Count();
    for (int i = 0; i < db->MonGroup.Count(); ++i)
        for (int p = 0; p < db->MonGroup.Items(i)->Pages.Count(); ++p)
            db->MonGroup.Items(i)->Pages.Items(p)->Script.Count();
    TJsonDump dump;
    dump.DataBase(*db);
    return dump.Text();
}

// A common event's record with its script bytes as given.
std::string CommonEventRecord(int id, const std::string& script) {
    TMemoryStream record;
    WriteVarInt(record, id);
    WriteVarInt(record, 1);  // Name
    WriteString(record, "E" + std::to_string(id));
    WriteVarInt(record, 21);  // ScriptSize
    WriteVarInt(record, static_cast<std::int32_t>(script.size()), true);
    WriteVarInt(record, 22);  // ScriptData
    WriteString(record, script);
    WriteVarInt(record, 0);
    return record.TakeBytes();
}

}  // namespace

TEST_F(CliTest, DumpIsTheTextOfTheDatabaseWithEveryLineMade) {
    ASSERT_EQ(Sample(Root + "Sample").Status, 0);
    // The crafted database: a troop page with a script, and common events whose scripts are
    // sound, cut short, written with long numbers, or hold text that needs escaping.
    auto db = std::make_unique<TKelDataBase>();
    TKelBattleEventPageItem& page = db->MonGroup.Obtain(1).Pages.Obtain(1);
    page.Script.Clear();
    TKelEventScriptLine& message = page.Script.Add();
    message.Code = 10110;
    message.Text = "\x82\xA0\"quoted\"\n\ttab";
    message.SetParamCount(2);
    message.SetParam(1, -5);
    page.Script.Add();
    const std::string sound("\xCE\x7E\x01\x02Hi\x01\x81\x48\x00\x00\x00\x00", 13);
    TMemoryStream section;
    WriteVarInt(section, 4);
    for (const auto& [id, script] : {std::pair<int, std::string>{1, sound}, {2, sound.substr(0, 8)},
                                     {3, std::string("\x80\x05\x00\x00\x01\x80\x80\x07", 8)},
                                     {7, std::string()}}) {
        const std::string record = CommonEventRecord(id, script);
        section.WriteBuffer(record.data(), record.size());
    }
    TMemoryStream image;
    WriteString(image, TKelDataBase::kSignature);
    for (int n = TKelDataBase::kFirstSection; n <= TKelDataBase::kLastSection; ++n) {
        TMemoryStream part;
        const TKelDataBase::TSection s = db->Section(n);
        if (n == 25)
            part.CopyFrom(section);
        else if (s.List)
            s.List->SaveToStream(part);
        else
            s.Record->SaveToStream(part);
        WriteVarInt(image, n);
        WriteVarInt(image, static_cast<std::int32_t>(part.Size()));
        image.CopyFrom(part);
    }
    WriteFileAtomic(Root + "crafted.kdb", image.Bytes());

    for (const std::string& file : {Root + "Sample/GMK_RT.kdb", Root + "crafted.kdb"}) {
        SCOPED_TRACE(file);
        const TRun run = Cli({"dump", file});
        ASSERT_EQ(run.Status, 0) << run.Err;
        EXPECT_EQ(run.Out, DumpWithLinesMade(file));
        EXPECT_GT(run.Out.size(), 1000u);
    }
}
