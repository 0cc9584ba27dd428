// The "DataBase" window over damaged copies of the sample's database, as the editor opens them:
// the file cut at many lengths and with bits flipped, every tab visited (its last entry picked),
// OK and Cancel answered No. Nothing crashes or hangs, and the file is never written.
// QUILLON_KDB_CAMPAIGN=N runs N cuts and N flips (a few by default); scripts/kdb-campaign runs
// the long campaign with a time limit.
#include "PageWidgetKit.h"

#include "database/DataBasePages_qt.h"
#include "platform/FileUtils.h"

#include <QPushButton>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>

namespace quillon {
namespace {

using namespace widgetkit;

class DamagedDataBaseCampaign : public pagekit::TSampleDataBaseTest {};

std::vector<std::string> Inputs(const std::string& whole, int rounds) {
    std::vector<std::string> inputs;
    for (int i = 0; i < rounds; ++i)
        inputs.push_back(whole.substr(0, whole.size() * static_cast<std::size_t>(i) / static_cast<std::size_t>(rounds)));
    std::mt19937 random(20261210);
    for (int i = 0; i < rounds; ++i) {
        std::string flipped = whole;
        const int flips = 1 + static_cast<int>(random() % 8);
        for (int f = 0; f < flips; ++f)
            flipped[random() % flipped.size()] ^= static_cast<char>(1u << (random() % 8));
        inputs.push_back(std::move(flipped));
    }
    return inputs;
}

TEST_F(DamagedDataBaseCampaign, EveryCutAndFlipOpensWithEveryTabAndIsNeverWritten) {
    const char* asked = std::getenv("QUILLON_KDB_CAMPAIGN");
    const int rounds = asked ? std::max(1, std::atoi(asked)) : 3;
    const std::string file = mSample + TKelDataBase::kFileName;
    const std::vector<std::string> inputs = Inputs(ReadWholeFile(file), rounds);
    int damaged = 0;
    double slowest = 0;
    for (std::size_t k = 0; k < inputs.size(); ++k) {
        SCOPED_TRACE("input " + std::to_string(k) + " of " + std::to_string(inputs[k].size()) + " bytes");
        const auto start = std::chrono::steady_clock::now();
        WriteFileAtomic(file, inputs[k]);
        mDataBase.Load(mSample);
        const bool isDamaged = mDataBase.LoadReport().Damaged;
        damaged += isDamaged ? 1 : 0;
        mBox.Texts.clear();
        mBox.Answers.assign(8, mrNo);
        {
            TFormDataBase form(mContext);
            ShowActive(form);
            for (int tab = 0; tab < kDataBaseTabCount; ++tab) {
                form.TabControl().setCurrentIndex(tab);
                ASSERT_NE(form.Page(), nullptr) << "tab " << tab;
                if (TDataBaseEntryList* list = form.Page()->EntryList(); list && list->model()->rowCount() > 0)
                    list->setCurrentIndex(list->model()->index(list->model()->rowCount() - 1, 0));
            }
            if (isDamaged) {
                // OK asks before replacing the damaged file; No keeps the window.
                QTest::mouseClick(form.findChild<QPushButton*>("ButtonOk"), Qt::LeftButton);
                EXPECT_TRUE(form.isVisible());
                ASSERT_FALSE(mBox.Texts.empty());
                EXPECT_EQ(mBox.Texts.back().rfind("GMK_RT.kdb is damaged: ", 0), 0u) << mBox.Texts.back();
            }
            form.reject();
            EXPECT_FALSE(form.isVisible());
        }
        EXPECT_EQ(ReadWholeFile(file), inputs[k]);
        EXPECT_FALSE(FileExists(file + ".damaged"));
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        slowest = std::max(slowest, took.count());
        if (asked)
            std::printf("input %zu: %zu bytes, %s, %.2f s\n", k, inputs[k].size(), isDamaged ? "damaged" : "sound",
                        took.count());
    }
    std::printf("%zu inputs, %d damaged, slowest %.2f s\n", inputs.size(), damaged, slowest);
    EXPECT_GT(damaged, 0);
}

}  // namespace
}  // namespace quillon
