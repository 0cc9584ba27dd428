// summary stays linear in the size of the map tree, however deep the tree is.
#include "app/cli/CliRun.h"

#include "data/LD_MapTree.h"
#include "data/StreamUtils.h"
#include "platform/FileUtils.h"

using namespace quillon::clitest;

TEST_F(CliTest, SummaryOfAVeryDeepTreeCapsTheIndentation) {
    const std::string project = NewProject();
    constexpr int kDepth = 100000;
    quillon::TKelMapTree tree;
    tree.Obtain(0).Kind = quillon::TKelMapTreeItem::mkRoot;
    tree.Order.push_back(0);
    for (int id = 1; id <= kDepth; ++id) {
        auto& item = static_cast<quillon::TKelMapTreeItem&>(tree.Obtain(id));
        item.Kind = quillon::TKelMapTreeItem::mkArea;
        item.ParentId = id - 1;
        item.Name = "A";
        tree.Order.push_back(id);
    }
    quillon::TMemoryStream image;
    tree.SaveTreeToStream(image);
    quillon::WriteFileAtomic(project + "GMK_RT.kmt", image.Bytes());

    // Without the cap the output would be some ten gigabytes; files stop at 64 MiB here.
    const TRun run = RunProgram(CliPath(), {"summary", project}, Root + "run", 120, 64ll << 20);
    ASSERT_FALSE(run.Hung);
    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_LT(run.Out.size(), static_cast<std::size_t>(kDepth) * 120);
    const std::string indent(2 + 2 * 32, ' ');
    EXPECT_NE(run.Out.find("\n" + indent + "A (area 0032)\n"), std::string::npos);
    EXPECT_NE(run.Out.find("\n" + indent + "[level 33] A (area 0033)\n"), std::string::npos);
    EXPECT_NE(run.Out.find("\n" + indent + "[level 100000] A (area 100000)\n"), std::string::npos);
}
